// colstats: count, sum, minimum, maximum and mean of each numeric column of
// text tables.
//
//   colstats [-d DELIM] [FILE...]
//
// Reads each FILE in turn, or standard input when there is none or for "-".
// Each line splits into fields at runs of whitespace, or at every DELIM
// character with -d; a '\r' before the line's end is dropped, and empty
// lines and lines starting with '#' are skipped. A field that reads whole
// as a number counts toward its column; any other field only takes its
// place. Prints one line per column, "COLUMN COUNT SUM MIN MAX MEAN" with
// three decimals, or "COLUMN 0 - - - -" for a column without numbers.
//
// Exit status: 0 on success (an empty input prints nothing), 1 when a file
// cannot be opened or read or memory runs out, 2 for a wrong command line.
#include <errno.h>
#include <string.h>

#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kUsage[] = "usage: colstats [-d DELIM] [FILE...]\n";

struct Column {
  Column() : mCount(0), mSum(0), mMin(0), mMax(0) {}
  long mCount;
  double mSum, mMin, mMax;
};

// Whether the whole field reads as a number.
bool ReadNumber(std::istringstream& reader, const std::string& field, double& value) {
  reader.clear();
  reader.str(field);
  reader >> value;
  return !reader.fail() && reader.eof();
}

// Adds the numbers of one table to the columns: false when the table
// cannot be read to its end or memory runs out.
bool Tally(std::istream& in, char delim, std::vector<Column>& columns) {
  std::string line, field;
  std::istringstream fields, reader;
  while (std::getline(in, line)) {
    if (!line.empty() && line[line.size() - 1] == '\r') line.erase(line.size() - 1);
    if (line.empty() || line[0] == '#') continue;
    fields.clear();
    fields.str(line);
    for (size_t index = 0; delim ? std::getline(fields, field, delim) : fields >> field; ++index) {
      if (index == columns.size()) {
        columns.push_back(Column());
        if (columns.size() == index) return false;
      }
      double value;
      if (!ReadNumber(reader, field, value)) continue;
      Column& c = columns[index];
      c.mMin = c.mCount == 0 || value < c.mMin ? value : c.mMin;
      c.mMax = c.mCount == 0 || value > c.mMax ? value : c.mMax;
      c.mSum += value;
      ++c.mCount;
    }
    if (fields.bad()) return false;
  }
  return !in.bad();
}

int Fail(const char* name, const char* reason) {
  std::cerr << "colstats: " << name << ": " << reason << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  char delim = 0;
  int first = 1;
  if (first < argc && strcmp(argv[first], "-d") == 0) {
    if (first + 1 == argc || strlen(argv[first + 1]) != 1) {
      std::cerr << "colstats: -d wants one character\n" << kUsage;
      return 2;
    }
    delim = argv[first + 1][0];
    first += 2;
  }
  std::vector<Column> columns;
  for (int i = first; i < argc || i == first; ++i) {
    const char* name = i < argc ? argv[i] : "-";
    if (strcmp(name, "-") == 0) {
      if (!Tally(std::cin, delim, columns)) return Fail("standard input", "read error");
      continue;
    }
    if (name[0] == '-' && name[1] != '\0') {
      std::cerr << "colstats: unknown option " << name << '\n' << kUsage;
      return 2;
    }
    errno = 0;
    std::ifstream in(name);
    if (!in.is_open()) return Fail(name, errno ? strerror(errno) : "cannot open");
    if (!Tally(in, delim, columns)) return Fail(name, "read error");
  }
  std::cout << std::fixed << std::setprecision(3);
  for (size_t i = 0; i < columns.size(); ++i) {
    const Column& c = columns[i];
    std::cout << i + 1 << ' ' << c.mCount;
    if (c.mCount == 0) {
      std::cout << " - - - -\n";
    } else {
      std::cout << ' ' << c.mSum << ' ' << c.mMin << ' ' << c.mMax << ' ' << c.mSum / c.mCount
                << '\n';
    }
  }
  std::cout.flush();
  return std::cout ? 0 : 1;
}

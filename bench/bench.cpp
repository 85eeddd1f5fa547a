// Benchmark of vector, string, cout, string streams and sort. The same source builds against
// plinth, libstdc++ and libc++, so it uses only what all three offer: no
// insert, no vector copies, reserve's result ignored, find with an explicit
// position, append with a count. Timing and reporting use clock_gettime and
// C stdio only.
//
// Usage: bench [-r MAX_REPS] [-t BUDGET_MS] [-f SUBSTRING]
// Prints one line per case to standard output: name, best ns/op, ops, reps.
// std::cout and the C floors write to /dev/null (standard output is
// redirected there after the report stream has been duplicated).
#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

namespace {

// Keeps the optimiser from deleting or hoisting work whose result is unused.
inline void escape(const void* p) { __asm__ volatile("" : : "g"(p) : "memory"); }

bool gFailed = false;

void check(bool ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "bench: wrong result in %s\n", what);
    gFailed = true;
  }
}

// Exactly two clock reads per repetition, so an instruction counter that
// watches the clock system calls sees the timed region alone.
struct Timer {
  timespec t0;
  double ns;
  void start() { clock_gettime(CLOCK_MONOTONIC, &t0); }
  void stop() {
    timespec t1;
    clock_gettime(CLOCK_MONOTONIC, &t1);
    ns = (t1.tv_sec - t0.tv_sec) * 1e9 + (t1.tv_nsec - t0.tv_nsec);
  }
};

// A value that varies with i, so that no two outputs or elements are alike.
inline int mix(unsigned i) { return (int)(i * 2654435761u); }

// ---- vector ---------------------------------------------------------------

void vecPush(Timer& t, unsigned n, bool reserve) {
  std::vector<int> v;
  t.start();
  if (reserve) v.reserve(n);
  for (unsigned i = 0; i < n; ++i) v.push_back((int)i);
  escape(&v[0]);
  t.stop();
  check(v.size() == n && v[n - 1] == (int)(n - 1), "vector<int> push_back");
}

void vecPush1e6(Timer& t) { vecPush(t, 1000000, false); }
void vecPush1e7(Timer& t) { vecPush(t, 10000000, false); }
void vecPushReserve1e6(Timer& t) { vecPush(t, 1000000, true); }
void vecPushReserve1e7(Timer& t) { vecPush(t, 10000000, true); }

const unsigned kEraseCount = 10000;

void vecEraseFront(Timer& t) {
  std::vector<int> v;
  for (unsigned i = 0; i < kEraseCount; ++i) v.push_back((int)i);
  t.start();
  while (v.size() != 0) v.erase(v.begin());
  t.stop();
  check(v.size() == 0, "vector<int> erase");
}

const unsigned kStringCount = 100000;
const unsigned kClassCount = 100000;

void vecStringPush(Timer& t, const std::string& s) {
  std::vector<std::string> v;
  t.start();
  for (unsigned i = 0; i < kStringCount; ++i) v.push_back(s);
  escape(&v[0]);
  t.stop();
  check(v.size() == kStringCount && v[kStringCount - 1].size() == s.size(),
        "vector<string> push_back");
}

void vecStringShort(Timer& t) { vecStringPush(t, std::string("short")); }
void vecString64(Timer& t) { vecStringPush(t, std::string(64, 'x')); }

// Each string is made and then moved in: the vector's growth and its moves,
// with every library paying the same one block per string (64 bytes is
// past every short-string buffer).
void vecStringMove(Timer& t, unsigned length) {
  std::vector<std::string> v;
  t.start();
  for (unsigned i = 0; i < kStringCount; ++i) {
    std::string s(length, 'x');
    v.push_back(std::move(s));
  }
  escape(&v[0]);
  t.stop();
  check(v.size() == kStringCount && v[kStringCount - 1].size() == length,
        "vector<string> push_back(std::move)");
}

void vecStringMove64(Timer& t) { vecStringMove(t, 64); }

// A class of plain fields with a constructor: trivially copyable, so a
// library may grow it as bytes.
struct Pixel {
  int r, g, b;
  explicit Pixel(int v) : r(v), g(v + 1), b(v + 2) {}
};

void vecStructPush(Timer& t) {
  std::vector<Pixel> v;
  t.start();
  for (unsigned i = 0; i < kClassCount; ++i) v.push_back(Pixel((int)i));
  escape(&v[0]);
  t.stop();
  check(v.size() == kClassCount && v[kClassCount - 1].b == (int)kClassCount + 1,
        "vector<struct of ints> push_back");
}

// A small class whose user-written copy constructor hides any move and any
// bitwise shortcut from the library.
struct Point {
  int x, y, z;
  explicit Point(int v) : x(v), y(v + 1), z(v + 2) {}
  Point(const Point& o) : x(o.x), y(o.y), z(o.z) {}
};

void vecClassPush(Timer& t) {
  std::vector<Point> v;
  t.start();
  for (unsigned i = 0; i < kClassCount; ++i) v.push_back(Point((int)i));
  escape(&v[0]);
  t.stop();
  check(v.size() == kClassCount && v[kClassCount - 1].z == (int)kClassCount + 1,
        "vector<Point> push_back");
}

// ---- string ---------------------------------------------------------------

const unsigned kCharCount = 1000000;
const unsigned kMegabyte = 1 << 20;

void strPushBack(Timer& t) {
  std::string s;
  t.start();
  for (unsigned i = 0; i < kCharCount; ++i) s.push_back((char)('a' + i % 26));
  escape(s.c_str());
  t.stop();
  check(s.size() == kCharCount, "string push_back");
}

void strAppend8(Timer& t) {
  const char piece[] = "01234567";
  std::string s;
  t.start();
  for (unsigned i = 0; i < kMegabyte / 8; ++i) s.append(piece, 8);
  escape(s.c_str());
  t.stop();
  check(s.size() == kMegabyte, "string append");
}

const unsigned kFindRounds = 16;

// 1 MB of pseudo-random lower-case letters with the needle in the last 16.
void strFind(Timer& t) {
  std::string hay;
  unsigned state = 12345;
  for (unsigned i = 0; i < kMegabyte - 16; ++i) {
    state = state * 1103515245u + 12345u;
    hay.push_back((char)('a' + (state >> 16) % 26));
  }
  const char needle[] = "qzxjvkwpyqzxjvkw";
  hay.append(needle, 16);
  unsigned long found = 0;
  t.start();
  for (unsigned r = 0; r < kFindRounds; ++r) {
    escape(&hay);
    found += hay.find(needle, 0);
  }
  t.stop();
  check(found == (unsigned long)kFindRounds * (kMegabyte - 16), "string find");
}

const unsigned kCompareCount = 1000000;

void strCompare(Timer& t) {
  std::string a(64, 'c'), b(64, 'c');
  b[63] = 'd';
  long sum = 0;
  t.start();
  for (unsigned i = 0; i < kCompareCount; ++i) {
    escape(&a);
    sum += a.compare(b) < 0;
  }
  t.stop();
  check(sum == (long)kCompareCount, "string compare");
}

const unsigned kCopyCount = 1000000;

void strCopy(Timer& t, const std::string& src) {
  unsigned long total = 0;
  t.start();
  for (unsigned i = 0; i < kCopyCount; ++i) {
    escape(&src);
    std::string copy(src);
    escape(copy.c_str());
    total += copy.size();
  }
  t.stop();
  check(total == (unsigned long)kCopyCount * src.size(), "string copy");
}

void strCopyShort(Timer& t) { strCopy(t, std::string("8 bytes!")); }
void strCopyLong(Timer& t) { strCopy(t, std::string(64, 'y')); }

// ---- sort -----------------------------------------------------------------

// Well spread and the same for every library: mix() alone leaves long
// regular runs.
inline unsigned scramble(unsigned i) {
  unsigned x = (unsigned)mix(i);
  x ^= x >> 13;
  x *= 0x5bd1e995u;
  return x ^ (x >> 15);
}

const unsigned kSortInts = 1000000;

void sortInts(Timer& t) {
  std::vector<int> v;
  v.reserve(kSortInts);
  for (unsigned i = 0; i < kSortInts; ++i) v.push_back((int)scramble(i));
  t.start();
  std::sort(v.begin(), v.end());
  escape(&v[0]);
  t.stop();
  bool ordered = true;
  for (unsigned i = 1; i < kSortInts; ++i) ordered &= !(v[i] < v[i - 1]);
  check(ordered, "sort ints");
}

const unsigned kSortStrings = 100000;

// Decimal numerals of 1 to 10 digits, each library ordering them by its own
// operator<.
void sortStrings(Timer& t) {
  std::vector<std::string> v;
  v.reserve(kSortStrings);
  char text[16];
  for (unsigned i = 0; i < kSortStrings; ++i) {
    snprintf(text, sizeof text, "%u", scramble(i) >> (i % 32));
    v.push_back(std::string(text));
  }
  t.start();
  std::sort(v.begin(), v.end());
  escape(&v[0]);
  t.stop();
  bool ordered = true;
  for (unsigned i = 1; i < kSortStrings; ++i) ordered &= !(v[i] < v[i - 1]);
  check(ordered, "sort strings");
}

// ---- cout -----------------------------------------------------------------

const unsigned kPrintCount = 1000000;

void coutInt(Timer& t) {
  t.start();
  for (unsigned i = 0; i < kPrintCount; ++i) std::cout << mix(i);
  std::cout.flush();
  t.stop();
}

void coutDouble(Timer& t) {
  t.start();
  for (unsigned i = 0; i < kPrintCount; ++i) std::cout << mix(i) * 1e-3;
  std::cout.flush();
  t.stop();
}

const unsigned kConcatCount = 200000;

// a + ", " + b + ", " + c + ", " + d: four 8-byte words joined into 38
// bytes, past every short-string buffer; rvalue operands may be reused.
void concatChain(Timer& t) {
  const std::string a("alpha001"), b("bravo002"), c("charlie3"), d("delta004");
  size_t total = 0;
  t.start();
  for (unsigned i = 0; i < kConcatCount; ++i) {
    const std::string r = a + ", " + b + ", " + c + ", " + d;
    total += r.size();
  }
  t.stop();
  check(total == 38u * kConcatCount, "operator+ chain");
}

void toStringInt(Timer& t) {
  size_t total = 0;
  t.start();
  for (unsigned i = 0; i < kPrintCount; ++i) total += std::to_string(mix(i)).size();
  t.stop();
  check(total > kPrintCount, "to_string(int)");
}

// ---- string streams -------------------------------------------------------

const unsigned kStreamBytes = 10 * (1 << 20);

// 10 MB written in 16-byte pieces.
void ostringstreamBuild(Timer& t) {
  const char piece[] = "0123456789abcde\n";
  t.start();
  std::ostringstream out;
  for (unsigned i = 0; i < kStreamBytes / 16; ++i) out.write(piece, 16);
  const size_t size = out.str().size();
  t.stop();
  check(size == kStreamBytes, "ostringstream 10 MB");
}

const unsigned kParseCount = 1000000;

// Integers read back with >> from text of one per line.
void istreamInts(Timer& t) {
  std::string text;
  char line[16];
  for (unsigned i = 0; i < kParseCount; ++i) {
    snprintf(line, sizeof line, "%d\n", mix(i));
    text += line;
  }
  std::istringstream in(text);
  long long sum = 0, expected = 0;
  for (unsigned i = 0; i < kParseCount; ++i) expected += mix(i);
  int value;
  t.start();
  while (in >> value) sum += value;
  t.stop();
  check(sum == expected, "istringstream >> int");
}

const unsigned kLineCount = 250000;

// Lines of 17 to 80 bytes (about 12 MB) read back with getline from a file
// through std::ifstream; the file is written once per run and removed at
// its end.
char gLinesPath[64] = "";

void getlineFile(Timer& t) {
  static size_t size = 0;
  char* const path = gLinesPath;
  if (size == 0) {
    snprintf(path, sizeof gLinesPath, "/tmp/plinth-bench-lines-%d.txt", (int)getpid());
    FILE* f = fopen(path, "w");
    if (f == 0) {
      check(false, "getline: cannot write the file");
      return;
    }
    for (unsigned i = 0; i < kLineCount; ++i) {
      fputs("a line of text, ", f);
      for (unsigned k = 0; k < i % 64; ++k) fputc('y', f);
      fputc('\n', f);
      size += 17 + i % 64;
    }
    fclose(f);
  }
  std::ifstream in(path);
  std::string line;
  size_t bytes = 0;
  t.start();
  while (std::getline(in, line)) bytes += line.size() + 1;
  t.stop();
  check(bytes == size, "getline");
}

// ---- C library floors, the same in every build ----------------------------

// Builds the string of strPushBack with one realloc per character: the same
// characters, kept terminated.
void floorRealloc(Timer& t) {
  char* p = 0;
  t.start();
  for (unsigned n = 1; n <= kCharCount; ++n) {
    p = (char*)realloc(p, n + 1);
    p[n - 1] = (char)('a' + (n - 1) % 26);
    p[n] = '\0';
  }
  escape(p);
  t.stop();
  free(p);
}

void floorMallocFree(Timer& t) {
  t.start();
  for (unsigned i = 0; i < kCopyCount; ++i) {
    char* p = (char*)malloc(9);
    escape(p);
    free(p);
  }
  t.stop();
}

void floorSnprintf(Timer& t, bool real) {
  char buf[26];
  t.start();
  for (unsigned i = 0; i < kPrintCount; ++i) {
    int n = real ? snprintf(buf, sizeof buf, "%.*e", 6, mix(i) * 1e-3)
                 : snprintf(buf, sizeof buf, "%d", mix(i));
    fwrite(buf, 1, n, stdout);
  }
  fflush(stdout);
  t.stop();
}

void floorSnprintfInt(Timer& t) { floorSnprintf(t, false); }
void floorSnprintfDouble(Timer& t) { floorSnprintf(t, true); }

struct Case {
  const char* name;
  void (*run)(Timer&);
  double ops;
};

const Case kCases[] = {
    {"vector<int> push_back 1e6", vecPush1e6, 1e6},
    {"vector<int> push_back 1e7", vecPush1e7, 1e7},
    {"vector<int> reserve+push_back 1e6", vecPushReserve1e6, 1e6},
    {"vector<int> reserve+push_back 1e7", vecPushReserve1e7, 1e7},
    {"vector<int> erase front 1e4", vecEraseFront, kEraseCount},
    {"vector<string> push_back 1e5 short", vecStringShort, kStringCount},
    {"vector<string> push_back 1e5 64B", vecString64, kStringCount},
    {"vector<string> push_back(move) 1e5 64B", vecStringMove64, kStringCount},
    {"vector<struct of ints> push_back 1e5", vecStructPush, kClassCount},
    {"vector<class> push_back 1e5", vecClassPush, kClassCount},
    {"string push_back 1e6 chars", strPushBack, kCharCount},
    {"string append 8B to 1MB", strAppend8, kMegabyte / 8},
    {"string find 16B in 1MB (per byte)", strFind, (double)kFindRounds* kMegabyte},
    {"string compare equal length 64B", strCompare, kCompareCount},
    {"string copy short (8B)", strCopyShort, kCopyCount},
    {"string copy long (64B)", strCopyLong, kCopyCount},
    {"sort 1e6 ints", sortInts, kSortInts},
    {"sort 1e5 strings", sortStrings, kSortStrings},
    {"cout << int", coutInt, kPrintCount},
    {"cout << double", coutDouble, kPrintCount},
    {"operator+ chain of 4 words (38B)", concatChain, kConcatCount},
    {"to_string(int)", toStringInt, kPrintCount},
    {"ostringstream 10 MB in 16B writes", ostringstreamBuild, kStreamBytes / 16},
    {"istringstream >> int 1e6", istreamInts, kParseCount},
    {"getline from a 12 MB file (per line)", getlineFile, kLineCount},
    {"floor: realloc +1 byte", floorRealloc, kCharCount},
    {"floor: malloc+free", floorMallocFree, kCopyCount},
    {"floor: snprintf %d + fwrite", floorSnprintfInt, kPrintCount},
    {"floor: snprintf %.6e + fwrite", floorSnprintfDouble, kPrintCount},
};

}  // namespace

int main(int argc, char** argv) {
  int maxReps = 7;
  double budgetMs = 1500;
  const char* filter = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (strcmp(argv[i], "-r") == 0)
      maxReps = atoi(argv[i + 1]);
    else if (strcmp(argv[i], "-t") == 0)
      budgetMs = atof(argv[i + 1]);
    else if (strcmp(argv[i], "-f") == 0)
      filter = argv[i + 1];
  }
  if (maxReps < 1) maxReps = 1;

  // The report keeps the original standard output; stdout goes to /dev/null.
  FILE* report = fdopen(dup(1), "w");
  int devnull = open("/dev/null", O_WRONLY);
  if (!report || devnull < 0 || dup2(devnull, 1) < 0) {
    fprintf(stderr, "bench: cannot redirect standard output\n");
    return 2;
  }

  for (unsigned c = 0; c < sizeof kCases / sizeof kCases[0]; ++c) {
    const Case& k = kCases[c];
    if (filter && !strstr(k.name, filter)) continue;
    // Best of up to maxReps repetitions, fewer when the budget runs out.
    Timer t;
    double best = 0, spent = 0;
    int reps = 0;
    while (reps < maxReps && (reps < 2 || spent < budgetMs * 1e6)) {
      k.run(t);
      if (reps == 0 || t.ns < best) best = t.ns;
      spent += t.ns;
      ++reps;
    }
    fprintf(report, "%s\t%.4f\t%.0f\t%d\n", k.name, best / k.ops, k.ops, reps);
    fflush(report);
  }
  if (gLinesPath[0] != '\0') unlink(gLinesPath);
  return gFailed ? 1 : 0;
}

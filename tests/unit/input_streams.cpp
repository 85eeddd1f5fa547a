// The buffers under input: string streams (and writing them out of
// memory), file streams over missing, unreadable, directory and full
// paths, kestrel::stdio_filebuf reading files and pipes, std::cin, and a
// buffer of the user's without a get area.
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#ifndef PLINTH_CONTROL
#include <stdio_filebuf>
#endif

#include "support/failalloc.h"
#include "support/unit.h"

namespace {

typedef std::ios_base B;

// A file of the test's own, removed at the end of the test.
struct TempFile {
  TempFile() {
    strcpy(mPath, "/tmp/plinth_input_XXXXXX");
    const int fd = mkstemp(mPath);
    if (fd >= 0) close(fd);
  }
  ~TempFile() { unlink(mPath); }
  char mPath[32];
};

std::string Slurp(const char* path) {
  std::ifstream in(path, B::binary);
  std::string text, line;
  while (std::getline(in, line)) text += line + (in.eof() ? "" : "\n");
  return text;
}

// A source without a get area: every character comes from uflow.
class OneByOne : public std::streambuf {
 public:
  explicit OneByOne(const char* text) : mText(text) {}

 protected:
  int_type underflow() { return *mText ? traits_type::to_int_type(*mText) : traits_type::eof(); }
  int_type uflow() { return *mText ? traits_type::to_int_type(*mText++) : traits_type::eof(); }

 private:
  const char* mText;
};

}  // namespace

TEST(string_streams_read_write_and_replace) {
  std::ostringstream out;
  out << "n=" << 42 << ' ' << std::string(300, 'x');
  EXPECT(out.str() == "n=42 " + std::string(300, 'x'));
  out.str("abc");
  out << "X";
  EXPECT(out.str() == "Xbc");
  std::ostringstream at_end("abc", B::ate);
  at_end << "d";
  EXPECT(at_end.str() == "abcd");

  std::stringstream both;
  both << "12 34";
  int a = 0, b = 0;
  both >> a >> b;
  EXPECT(a == 12 && b == 34 && both.eof());
  both.clear();
  both << " 56";
  both >> a;
  EXPECT(a == 56 && both.str() == "12 34 56");
  // A stream that reads and writes may put back any character.
  EXPECT(both.putback('7') && both.str() == "12 34 57");

  std::istringstream in("first\nsecond");
  std::string line;
  std::getline(in, line);
  in.str("other");
  std::getline(in, line);
  EXPECT(line == "other" && in.rdstate() == B::eofbit);
}

#ifndef PLINTH_CONTROL
// Every allocation a long write makes is refused in turn: the stream turns
// bad, keeps a prefix of the text at least as long as what it had before
// the write, and writes nothing more.
TEST(string_stream_out_of_memory_keeps_what_was_written) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  const std::string kText(5000, 'q');
  for (unsigned n = 1;; ++n) {
    std::ostringstream out;
    out << "head:";
    failalloc::fail_nth(n);
    out << kText << 7;
    failalloc::disarm();
    const std::string got = out.str();
    if (!out.bad()) {
      EXPECT(got == "head:" + kText + "7");
      break;
    }
    EXPECT(got.size() >= 5 && got == ("head:" + kText).substr(0, got.size()));
    out << "more";
    EXPECT(out.str() == got);
    EXPECT(n < 100);
    if (n >= 100) break;
  }
}
#endif

#ifndef PLINTH_CONTROL
// getline writes a line that fits the string's block in place, with every
// allocation refused; grows a block too small exactly to the line; and out
// of memory (the 2nd allocation: a source without a get area gives one run
// per character) sets badbit, keeps what fitted and leaves the rest.
TEST(getline_fills_the_block_in_place_and_grows_exactly) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  const struct {
    const char* text;
    const char* before;
    unsigned fail;  // 0: every allocation
    const char* line;
    size_t capacity;
    int state;
  } kCases[] = {
      {"short\nrest", "old text", 0, "short", 8, 0},
      {"longer line\nrest", "ab", 1000, "longer line", 11, 0},
      {"grows\nrest", "", 2, "g", 1, B::badbit},
  };
  for (size_t i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
    OneByOne chars(kCases[i].text);
    std::istream in(&chars);
    std::string line(kCases[i].before), rest;
    const char* const block = line.c_str();
    kCases[i].fail == 0 ? failalloc::fail_all() : failalloc::fail_nth(kCases[i].fail);
    std::getline(in, line);
    failalloc::disarm();
    EXPECT(line == kCases[i].line && line.capacity() == kCases[i].capacity);
    EXPECT(in.rdstate() == kCases[i].state && (kCases[i].fail != 0 || line.c_str() == block));
    in.clear();
    std::getline(in, rest, '\0');
    EXPECT(rest == std::string(kCases[i].text + strlen(kCases[i].line) + (kCases[i].state == 0)));
  }
}
#endif

TEST(file_streams_round_trip_in_every_mode) {
  TempFile file;
  {
    std::ofstream out(file.mPath);
    EXPECT(out.is_open() && out << "one\n" << 2 << '\n');
  }
  EXPECT(Slurp(file.mPath) == "one\n2\n");
  struct Case {
    B::openmode mode;
    const char* text;
    const char* result;
  };
  const Case kCases[] = {
      {B::out | B::app, "3\n", "one\n2\n3\n"},
      {B::app, "4", "one\n2\n3\n4"},
      {B::out, "new", "new"},
      {B::out | B::trunc | B::binary, "bin", "bin"},
      {B::in | B::out, "B", "Bin"},
      {B::in | B::out | B::ate, "!", "Bin!"},
      {B::in | B::out | B::trunc, "t", "t"},
      {B::in | B::app, "+", "t+"},
  };
  for (size_t i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
    std::fstream f(std::string(file.mPath), kCases[i].mode);
    EXPECT(f.is_open() && f << kCases[i].text);
    f.close();
    EXPECT(f.good() && !f.is_open());
    EXPECT(Slurp(file.mPath) == kCases[i].result);
  }
  // Reading then writing one file: the write lands after what was read.
  {
    std::fstream f(file.mPath);
    char c = 0;
    EXPECT(f.get(c) && c == 't');
    f << "X";
  }
  EXPECT(Slurp(file.mPath) == "tX");
  // Modes with no fopen equivalent open nothing.
  std::fstream none(file.mPath, B::trunc);
  EXPECT(!none.is_open() && none.rdstate() == B::failbit);
}

TEST(file_streams_that_cannot_open_or_flush) {
  TempFile file;
  std::ifstream missing("/nonexistent/dir/file");
  EXPECT(!missing.is_open() && missing.rdstate() == B::failbit);
  std::string line;
  EXPECT(!std::getline(missing, line));
  missing.close();
  EXPECT(missing.fail());

  chmod(file.mPath, 0);
  std::ifstream unreadable(file.mPath);
  // Permissions do not bite for root.
  if (geteuid() != 0) EXPECT(!unreadable.is_open() && unreadable.fail());

  std::ofstream dir_out("/tmp");
  EXPECT(!dir_out.is_open() && dir_out.fail());
#ifndef PLINTH_CONTROL
  // A directory is refused for reading too, rather than failing each read.
  std::ifstream dir_in("/tmp");
  EXPECT(!dir_in.is_open() && dir_in.fail());
#endif

  std::ofstream full("/dev/full");
  EXPECT(full.is_open() && full << "lost" && !(full << std::flush) && full.bad());
  std::ofstream full_close("/dev/full");
  full_close << "lost";
  full_close.close();
  EXPECT(full_close.fail() && !full_close.is_open());
#ifndef PLINTH_CONTROL
  EXPECT(full_close.bad());
#endif

  // Opening an open stream fails and keeps the file.
  std::ofstream twice(file.mPath);
  twice.open(file.mPath);
  EXPECT(twice.is_open() && twice.fail());
}

// Positions in string streams, where they may go (within what was
// written, each direction on its own from cur), and in files, through the
// unread get area; the usual size idiom; failure sets failbit.
TEST(seek_and_tell_in_string_and_file_streams) {
  struct Case {
    std::streamoff off;
    B::seekdir dir;
    B::openmode which;
    std::streamoff result;
    int next;  // the character at the get position afterwards
  };
  const B::openmode in = B::in, out = B::out, both = in | out;
  const Case kCases[] = {
      {3, B::beg, in, 3, '3'},    {2, B::cur, in, 2, '2'},   {-1, B::end, in, 9, '9'},
      {0, B::end, in, 10, -1},    {11, B::beg, in, -1, '0'}, {-1, B::beg, in, -1, '0'},
      {0, B::cur, both, -1, '0'}, {4, B::beg, both, 4, '4'}, {6, B::beg, out, 6, '0'},
  };
  for (size_t i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
    std::stringbuf buf("0123456789");
    const Case& c = kCases[i];
    EXPECT(std::streamoff(buf.pubseekoff(c.off, c.dir, c.which)) == c.result);
    EXPECT(buf.sgetc() == c.next);
  }

  std::stringstream text;
  text << "hello";
  EXPECT(text.tellp() == std::streampos(5) && text.seekp(1) && text << "E");
  EXPECT(text.seekp(0, B::end) << "!" && text.str() == "hEllo!");
  EXPECT(text.seekp(100).fail() && text.str() == "hEllo!");
  std::istringstream words("abc def");
  std::string word;
  words >> word;
  EXPECT(words.tellg() == std::streampos(3) && words.seekg(-2, B::cur) >> word && word == "bc");
  // At the end of input tellg fails; seekg clears eofbit first.
  words >> word;
  EXPECT(words.eof() && words.tellg() == std::streampos(-1) && words.fail());
  words.clear(B::eofbit);
  EXPECT(words.seekg(4) >> word && word == "def");

  TempFile file;
  {
    std::ofstream write(file.mPath);
    write << "line one\nline two\n";
    EXPECT(write.tellp() == std::streampos(18));
  }
  std::ifstream read(file.mPath);
  read.seekg(0, B::end);
  const std::streamoff size = read.tellg();
  read.seekg(0);
  std::string line;
  EXPECT(size == 18 && std::getline(read, line) && read.tellg() == std::streampos(9));
  EXPECT(read.seekg(5) && std::getline(read, line) && line == "one");
  EXPECT(read.seekg(5, B::cur) >> line && line == "two");
  EXPECT(read.seekg(-1, B::beg).fail());
  std::fstream both_ways(file.mPath);
  both_ways.seekp(5);
  both_ways << "ONE";
  EXPECT(both_ways.seekg(0) && std::getline(both_ways, line) && line == "line ONE");
}

#ifndef PLINTH_CONTROL
TEST(stdio_filebuf_reads_files_and_pipes) {
  TempFile file;
  std::string text;
  for (int i = 0; i < 5000; ++i) text += std::to_string(i) + (i % 7 ? " " : "\n");
  FILE* out = fopen(file.mPath, "w");
  fputs(text.c_str(), out);
  fclose(out);
  // A regular file in blocks, a pipe a line at a time: the same numbers.
  std::string command = std::string("cat ") + file.mPath;
  FILE* sources[] = {fopen(file.mPath, "r"), popen(command.c_str(), "r")};
  for (int s = 0; s < 2; ++s) {
    {
      kestrel::stdio_filebuf buf(sources[s]);
      std::istream in(&buf);
      int n = -1, expected = 0;
      while (in >> n && n == expected) ++expected;
      EXPECT(expected == 5000 && in.eof());
      // A file tells where the stream stands; a pipe cannot seek.
      in.clear();
      const std::streamoff at = in.tellg();
      EXPECT(at == (s == 0 ? static_cast<std::streamoff>(text.size()) : -1));
      EXPECT(in.seekg(0).fail() == (s == 1));
    }
    s == 0 ? fclose(sources[s]) : pclose(sources[s]);
  }
  // Destroyed, the buffer gives back what it read ahead, and the C stream
  // goes on from the first character the stream did not take.
  FILE* shared = fopen(file.mPath, "r");
  {
    kestrel::stdio_filebuf buf(shared);
    std::istream in(&buf);
    std::string word;
    in >> word >> word;
    EXPECT(word == "1");
  }
  EXPECT(fgetc(shared) == ' ' && fgetc(shared) == '2');
  fclose(shared);
}

TEST(cin_reads_stdin_tied_to_cout) {
  EXPECT(std::cin.tie() == &std::cout && std::cin.good());
  TempFile file;
  FILE* out = fopen(file.mPath, "w");
  fputs("7 words\nline\n", out);
  fclose(out);
  if (!freopen(file.mPath, "r", stdin)) return unit::skip("stdin cannot be replaced");
  int n = 0;
  std::string word, line;
  std::cin >> n >> word;
  std::getline(std::cin >> std::ws, line);
  EXPECT(n == 7 && word == "words" && line == "line");
  std::cin.sync();
  EXPECT(fgetc(stdin) == EOF);
}
#endif

TEST(a_buffer_without_a_get_area) {
  OneByOne buf("12 word\nline\n");
  std::istream in(&buf);
  int n = 0;
  std::string word, line;
  char c = 0;
  in >> n >> word;
  in.get(c);
  std::getline(in, line);
  EXPECT(n == 12 && word == "word" && c == '\n' && line == "line");
  char text[4];
  EXPECT(in.read(text, 4).gcount() == 0 && in.rdstate() == (B::eofbit | B::failbit));
}

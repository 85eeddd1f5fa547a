// Lines and unformatted input: std::getline over awkward text, the get,
// getline, ignore, read, readsome, peek, putback and unget members with
// gcount(), and std::ws. ISO behaviour only (the control build runs it too).
#include <string.h>

#include <limits>
#include <sstream>
#include <string>

#include "support/unit.h"

namespace {

typedef std::ios_base B;
const int kFail = B::failbit;
const int kEof = B::eofbit;

// The lines std::getline finds, joined with '|', and the final state.
std::string Lines(const std::string& text, char delim, B::iostate& state) {
  std::istringstream in(text);
  std::string line, all;
  for (int n = 0; std::getline(in, line, delim); ++n) all += (n ? "|" : "") + line;
  state = in.rdstate();
  return all;
}

}  // namespace

TEST(getline_splits_any_text) {
  struct Case {
    std::string text;
    char delim;
    std::string lines;
  };
  const std::string kLong(100000, 'a');
  const Case kCases[] = {
      {"", '\n', ""},
      {"one", '\n', "one"},
      {"one\ntwo\n", '\n', "one|two"},
      {"\n\n", '\n', "|"},
      {"crlf\r\nend\r\n", '\n', "crlf\r|end\r"},
      {std::string("nul\0in\nside", 11), '\n', std::string("nul\0in|side", 11)},
      {"a,b,,c", ',', "a|b||c"},
      {kLong + "\n" + kLong, '\n', kLong + "|" + kLong},
  };
  for (size_t i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
    B::iostate state;
    EXPECT(Lines(kCases[i].text, kCases[i].delim, state) == kCases[i].lines);
    EXPECT(state == (kEof | kFail));
  }
  // The last line without a delimiter ends with eofbit alone.
  std::istringstream in("x\nlast");
  std::string line;
  std::getline(in, line);
  std::getline(in, line);
  EXPECT(line == "last" && in.rdstate() == kEof);
  std::getline(in, line);
  EXPECT(line == "last" && in.rdstate() == (kEof | kFail));
}

TEST(get_and_getline_into_arrays) {
  struct Case {
    const char* text;
    bool line;  // getline, or get
    int size;
    const char* stored;
    int count;
    int state;
    int next;  // the next character, or -1
  };
  const Case kCases[] = {
      {"ab\ncd", false, 10, "ab", 2, 0, '\n'},  {"ab\ncd", true, 10, "ab", 3, 0, 'c'},
      {"abcd\n", false, 3, "ab", 2, 0, 'c'},    {"abcd\n", true, 3, "ab", 2, kFail, -1},
      {"ab\n", true, 3, "ab", 3, 0, -1},        {"\nx", false, 10, "", 0, kFail, -1},
      {"\nx", true, 10, "", 1, 0, 'x'},         {"abc", true, 10, "abc", 3, kEof, -1},
      {"", false, 10, "", 0, kEof | kFail, -1},
  };
  for (size_t i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
    const Case& c = kCases[i];
    std::istringstream in(c.text);
    char text[16];
    memset(text, '#', sizeof text);
    if (c.line) {
      in.getline(text, c.size);
    } else {
      in.get(text, c.size);
    }
    EXPECT(strcmp(text, c.stored) == 0 && in.gcount() == c.count && in.rdstate() == c.state);
    in.clear();
    EXPECT(c.next < 0 || in.peek() == c.next);
  }
}

TEST(single_characters_and_putting_back) {
  std::istringstream in("ab c");
  char c = 0;
  EXPECT(in.get() == 'a' && in.gcount() == 1);
  EXPECT(in.get(c) && c == 'b' && in.peek() == ' ' && in.gcount() == 0);
  EXPECT(in.putback('b') && in.get() == 'b');
  EXPECT(in.unget() && in.get() == 'b');
  // A different character cannot go back into a read-only string.
  EXPECT(!in.putback('z') && in.bad());
  in.clear();
  in.ignore(5);
  EXPECT(in.gcount() == 2 && in.rdstate() == kEof);
  // putback clears eofbit first.
  EXPECT(in.putback('c') && in.get() == 'c');
  EXPECT(in.get() == std::char_traits<char>::eof() && in.rdstate() == (kEof | kFail));
  EXPECT(in.peek() == std::char_traits<char>::eof());
}

TEST(ignore_read_readsome) {
  std::istringstream in("skip;this;0123456789");
  const std::streamsize kAll = std::numeric_limits<std::streamsize>::max();
  in.ignore(kAll, ';');
  EXPECT(in.gcount() == 5 && in.peek() == 't');
  in.ignore(2, ';');
  EXPECT(in.gcount() == 2 && in.peek() == 'i');
  in.ignore(kAll, ';');
  char text[8] = {0};
  EXPECT(in.read(text, 4) && in.gcount() == 4 && memcmp(text, "0123", 4) == 0);
  EXPECT(in.readsome(text, 3) == 3 && memcmp(text, "456", 3) == 0);
  in.read(text, 8);
  EXPECT(in.gcount() == 3 && in.rdstate() == (kEof | kFail) && memcmp(text, "789", 3) == 0);
  in.clear();
  EXPECT(in.readsome(text, 3) == 0 && in.good());
  in.ignore(kAll);
  EXPECT(in.rdstate() == kEof);
}

TEST(ws_skips_to_text_or_the_end) {
  std::istringstream in(" \n\t x  ");
  in >> std::ws;
  EXPECT(in.peek() == 'x' && in.good());
  in.get();
  in >> std::ws;
  EXPECT(in.rdstate() == kEof);
  in >> std::ws;
  EXPECT(in.rdstate() == (kEof | kFail));
}

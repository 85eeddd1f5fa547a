// operator>> of numbers, bool, char and std::string: what each text gives,
// the state bits it leaves and what stays unread. ISO behaviour only: the
// control build runs these against the compiler's own library.
#include <stdio.h>
#include <string.h>

#include <limits>
#include <sstream>
#include <string>

#include "support/unit.h"

namespace {

typedef std::ios_base B;
// ints, so that tables can say 0 (the control library's types are enums).
const int kFail = B::failbit;
const int kEof = B::eofbit;

// What a read leaves: the state and the unread text.
bool Left(std::istringstream& in, int state, const char* rest) {
  const int got = in.rdstate();
  in.clear();
  std::string unread;
  std::getline(in, unread, '\0');
  if (got == state && unread == rest) return true;
  fprintf(stderr, "  state %d (want %d), rest \"%s\" (want \"%s\")\n", got, state, unread.c_str(),
          rest);
  return false;
}

template <typename _T>
struct Case {
  const char* text;
  int base;  // 0: none of dec, oct and hex
  _T value;
  int state;
  const char* rest;
};

template <typename _T, size_t _N>
void Check(const Case<_T> (&cases)[_N]) {
  for (size_t i = 0; i < _N; ++i) {
    const Case<_T>& c = cases[i];
    std::istringstream in(c.text);
    in.setf(B::fmtflags(c.base), B::basefield);
    _T value = 99;
    in >> value;
    const bool ok = value == c.value;
    EXPECT(Left(in, c.state, c.rest) && ok);
    if (!ok) fprintf(stderr, "  text \"%s\"\n", c.text);
  }
}

// The decimal text of a magnitude plus one: the first value past a limit.
std::string PlusOne(unsigned long long magnitude, bool negative) {
  char text[32];
  snprintf(text, sizeof text, "%s%llu", negative ? "-" : "", magnitude);
  std::string s(text);
  size_t i = s.size();
  while (i-- > 0 && s[i] == '9') s[i] = '0';
  if (i == static_cast<size_t>(-1) || s[i] == '-') {
    s.insert(i + 1, 1, '1');
  } else {
    ++s[i];
  }
  return s;
}

// Each limit of _T reads back exactly; one past it stores the limit and
// sets failbit. On both targets, whatever the width of long.
template <typename _T>
void CheckLimits() {
  typedef std::numeric_limits<_T> L;
  const unsigned long long max = static_cast<unsigned long long>(L::max());
  const unsigned long long min = 0 - static_cast<unsigned long long>(L::min());
  const std::string texts[] = {PlusOne(max - 1, false), PlusOne(max, false), PlusOne(min - 1, true),
                               PlusOne(min, true)};
  for (int i = 0; i < 4; ++i) {
    if (L::min() == 0 && i >= 2) break;
    std::istringstream in(texts[i]);
    _T value = 1;
    in >> value;
    EXPECT(value == (i < 2 ? L::max() : L::min()));
    EXPECT(in.rdstate() == (i % 2 == 0 ? kEof : kEof | kFail));
  }
}

}  // namespace

TEST(integers_take_sign_base_and_prefix) {
  const int dec = B::dec, hex = B::hex, oct = B::oct;
  const Case<int> kCases[] = {
      {"42", dec, 42, kEof, ""},
      {"  \t\n-17 rest", dec, -17, 0, " rest"},
      {"+8x", dec, 8, 0, "x"},
      {"0012", dec, 12, kEof, ""},
      {"0x1F", dec, 0, 0, "x1F"},
      {"1f", hex, 0x1f, kEof, ""},
      {"0x1F;", hex, 0x1f, 0, ";"},
      {"-0XaB", hex, -0xab, kEof, ""},
      {"0x", hex, 0, kEof | kFail, ""},
      {"0x;", 0, 0, kFail, ";"},
      {"17 ", oct, 017, 0, " "},
      {"19", oct, 1, 0, "9"},
      {"0x10", 0, 16, kEof, ""},
      {"010", 0, 8, kEof, ""},
      {"10", 0, 10, kEof, ""},
      {"", dec, 99, kEof | kFail, ""},
      {"   ", dec, 99, kEof | kFail, ""},
      {"-", dec, 0, kEof | kFail, ""},
      {"+ 1", dec, 0, kFail, " 1"},
      {"x1", dec, 0, kFail, "x1"},
      {"1.5", dec, 1, 0, ".5"},
  };
  Check(kCases);
}

TEST(integers_past_their_limits_store_the_limit) {
  CheckLimits<short>();
  CheckLimits<unsigned short>();
  CheckLimits<int>();
  CheckLimits<unsigned int>();
  CheckLimits<long>();
  CheckLimits<unsigned long>();
  CheckLimits<long long>();
  CheckLimits<unsigned long long>();
  // An unsigned type takes a negative number modulo its range.
  const Case<unsigned> kCases[] = {
      {"-1", B::dec, 4294967295u, kEof, ""},
      {"-4294967295", B::dec, 1u, kEof, ""},
      {"-4294967296", B::dec, 4294967295u, kEof | kFail, ""},
      {"99999999999999999999999 1", B::dec, 4294967295u, kFail, " 1"},
  };
  Check(kCases);
  // The widest type at its limit in each base, and values that cross
  // from 32 to 64 bits.
  const unsigned long long kMax = ~0ull;
  const Case<unsigned long long> kWide[] = {
      {"ffffffffffffffff", B::hex, kMax, kEof, ""},
      {"10000000000000000", B::hex, kMax, kEof | kFail, ""},
      {"1777777777777777777777", B::oct, kMax, kEof, ""},
      {"2000000000000000000000", B::oct, kMax, kEof | kFail, ""},
      {"18446744073709551616", B::dec, kMax, kEof | kFail, ""},
      {"4294967296 ", B::dec, 4294967296ull, 0, " "},
      {"fffffffff;", B::hex, 0xfffffffffull, 0, ";"},
      {"37777777777", B::oct, 037777777777ull, kEof, ""},
      {"0x123456789abcdef0", 0, 0x123456789abcdef0ull, kEof, ""},
  };
  Check(kWide);
}

TEST(floating_point_text) {
  const double kMax = std::numeric_limits<double>::max();
  const Case<double> kCases[] = {
      {"1.5", 0, 1.5, kEof, ""},
      {" -2.5e3x", 0, -2500.0, 0, "x"},
      {".5 ", 0, 0.5, 0, " "},
      {"5.", 0, 5.0, kEof, ""},
      {"1E+2", 0, 100.0, kEof, ""},
      {"1.5.5", 0, 1.5, 0, ".5"},
      {"1e400", 0, kMax, kEof | kFail, ""},
      {"-1e400 ", 0, -kMax, kFail, " "},
      {"1e-400", 0, 0.0, kEof, ""},
      {"1e", 0, 0.0, kEof | kFail, ""},
      {"1e+x", 0, 0.0, kFail, "x"},
      {".", 0, 0.0, kEof | kFail, ""},
      {"inf", 0, 0.0, kFail, "inf"},
      {"nan", 0, 0.0, kFail, "nan"},
      {"", 0, 99.0, kEof | kFail, ""},
  };
  Check(kCases);
  const Case<float> kFloats[] = {
      {"0.1", 0, 0.1f, kEof, ""},
      {"1e39", 0, std::numeric_limits<float>::max(), kEof | kFail, ""},
  };
  Check(kFloats);
  const Case<long double> kLong[] = {
      {"0.1", 0, 0.1L, kEof, ""},
      {"1e400", 0, 1e400L, kEof, ""},
  };
  Check(kLong);
}

TEST(bool_as_number_or_word) {
  const Case<bool> kNumbers[] = {
      {"0", 0, false, kEof, ""},        {"1 ", 0, true, 0, " "},
      {"2", 0, true, kEof | kFail, ""}, {"-1", 0, true, kEof | kFail, ""},
      {"x", 0, false, kFail, "x"},
  };
  Check(kNumbers);
  const Case<bool> kWords[] = {
      {"true", B::boolalpha, true, 0, ""},          {" false!", B::boolalpha, false, 0, "!"},
      {"truex", B::boolalpha, true, 0, "x"},        {"tru", B::boolalpha, false, kEof | kFail, ""},
      {"fals e", B::boolalpha, false, kFail, " e"}, {"1", B::boolalpha, false, kFail, "1"},
  };
  for (size_t i = 0; i < sizeof kWords / sizeof kWords[0]; ++i) {
    const Case<bool>& c = kWords[i];
    std::istringstream in(c.text);
    bool value = !c.value;
    in >> std::boolalpha >> value;
    EXPECT(value == c.value && Left(in, c.state, c.rest));
  }
}

TEST(words_and_characters) {
  std::istringstream in(" \tword\nnext  x\ny");
  std::string s;
  char c = 0;
  in >> s;
  EXPECT(s == "word" && in.good());
  in.width(2);
  in >> s;
  EXPECT(s == "ne" && in.width() == 0);
  in >> s >> c;
  EXPECT(s == "xt" && c == 'x');
  in >> std::noskipws >> c;
  EXPECT(c == '\n');
  in >> s;
  EXPECT(s == "y" && in.rdstate() == kEof);
  in >> s;
  EXPECT(s == "y" && in.rdstate() == (kEof | kFail));
  // Without skipws, a word starting with whitespace is no word.
  std::istringstream spaced(" a");
  spaced >> std::noskipws >> s;
  EXPECT(s.empty() && Left(spaced, kFail, " a"));
  std::istringstream empty("");
  empty >> c;
  EXPECT(c == '\n' && empty.rdstate() == (kEof | kFail));
}

// Once a read fails, every later one fails without reading until clear().
// >> into a character array: a word, cut to width() - 1 characters and to
// the array (C++20, where only arrays are taken), always terminated.
TEST(words_into_character_arrays) {
  struct Case {
    const char* text;
    int width;
    const char* word;
    int state;
    const char* rest;
  };
  const Case kCases[] = {
      {"  word next", 0, "word", 0, " next"}, {"word", 0, "word", kEof, ""},
      {"abcdef", 4, "abc", 0, "def"},         {"abc", 4, "abc", 0, ""},
      {"abc", 1, "", kFail, "abc"},           {"0123456789ab", 0, "0123456", 0, "789ab"},
  };
  for (size_t i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
    const Case& c = kCases[i];
    std::istringstream in(c.text);
    char word[8] = "XXXXXXX";
    in.width(c.width);
#if __cplusplus > 201703L
    in >> word;
#else
    // The pointer form knows no size: the width bounds it here.
    if (c.width == 0) in.width(8);
    in >> word;
#endif
    EXPECT(strcmp(word, c.word) == 0 && in.width() == 0 && Left(in, c.state, c.rest));
  }
  std::istringstream in("x y");
  unsigned char u[4];
  signed char s[4];
  in >> u >> s;
  EXPECT(u[0] == 'x' && u[1] == 0 && s[0] == 'y' && s[1] == 0);
}

TEST(a_failed_read_stops_the_next_ones) {
  std::istringstream in("x 5");
  int n = 1;
  in >> n;
  EXPECT(n == 0 && in.fail());
  n = 3;
  in >> n;
  EXPECT(n == 3 && in.fail());
  in.clear();
  std::string s;
  in >> s >> n;
  EXPECT(s == "x" && n == 5 && in.eof() && !in.fail());
  std::istringstream numbers("1 2 3\n4");
  int sum = 0;
  while (numbers >> n) sum += n;
  EXPECT(sum == 10 && numbers.rdstate() == (kEof | kFail));
}

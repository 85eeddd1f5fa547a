// std::string's editing families (insert, erase, replace, append, assign,
// resize), searches with sets, positional compare, concatenation and the
// number conversions. Expected values follow ISO C++ except where plinth
// documents otherwise: positions past the end change nothing, ordering is
// length-first.
#include <errno.h>
#include <limits.h>
#include <string.h>

#include <iterator>
#include <string>

#include "support/checks.h"
#include "support/failalloc.h"
#include "support/unit.h"

namespace {

const size_t npos = std::string::npos;

using unit::InputChars;

InputChars in(const char* p) { return unit::input_chars(p); }

typedef std::string::const_iterator CI;

// Each edit starts from "hello"; sources inside the string read it as it
// was before the edit.
struct Edit {
  const char* mName;
  void (*mApply)(std::string& s);
  const char* mExpected;
};

const Edit kEdits[] = {
    {"insert(pos, str)", [](std::string& s) { s.insert(0, std::string("ab")); }, "abhello"},
    {"insert(size(), C string)", [](std::string& s) { s.insert(5, "!"); }, "hello!"},
    {"insert past the end", [](std::string& s) { s.insert(6, "x").insert(9, 2, 'x'); }, "hello"},
    {"insert(itself)", [](std::string& s) { s.insert(2, s); }, "hehellollo"},
    {"insert(own rest)", [](std::string& s) { s.insert(1, s, 3); }, "hloello"},
    {"insert(own bytes, n)", [](std::string& s) { s.insert(1, s.c_str() + 3, 2); }, "hloello"},
    {"insert(pos, n, c)", [](std::string& s) { s.insert(0, 3, 'x'); }, "xxxhello"},
    {"insert(iter, n, c)", [](std::string& s) { s.insert(s.begin() + 1, 2, 'y'); }, "hyyello"},
    {"insert(iter, own range)", [](std::string& s) { s.insert(s.end(), s.begin(), s.begin() + 2); },
     "hellohe"},
    {"insert(iter, input range)",
     [](std::string& s) { s.insert(s.begin(), in("ab"), in(&"ab"[2])); }, "abhello"},
    {"erase(iter)", [](std::string& s) { s.erase(s.begin() + 1); }, "hllo"},
    {"erase(first, last)", [](std::string& s) { s.erase(s.begin() + 1, s.begin() + 3); }, "hlo"},
    {"erase(pos)", [](std::string& s) { s.erase(1); }, "h"},
    {"replace(pos, n, C string)", [](std::string& s) { s.replace(1, 3, "EY"); }, "hEYo"},
    {"replace(pos, npos, ...)", [](std::string& s) { s.replace(1, npos, "i"); }, "hi"},
    {"replace past the end", [](std::string& s) { s.replace(6, 1, "x").replace(7, 0, 2, 'x'); },
     "hello"},
    {"replace(pos, n, itself)", [](std::string& s) { s.replace(0, 2, s); }, "hellollo"},
    {"replace(own rest)", [](std::string& s) { s.replace(1, 2, s, 3); }, "hlolo"},
    {"replace, own source across the hole", [](std::string& s) { s.replace(1, 1, s.c_str(), 5); },
     "hhellollo"},
    {"replace, own source before, shrinking", [](std::string& s) { s.replace(3, 2, s.c_str(), 2); },
     "helhe"},
    {"replace, own source after, growing",
     [](std::string& s) { s.replace(0, 1, s.c_str() + 2, 3); }, "lloello"},
    {"replace(iters, n, c)", [](std::string& s) { s.replace(s.begin(), s.begin() + 2, 3, 'z'); },
     "zzzllo"},
    {"replace(iters, C string)", [](std::string& s) { s.replace(s.begin() + 1, s.end(), "i"); },
     "hi"},
    {"replace(iters, string)",
     [](std::string& s) { s.replace(s.begin() + 1, s.end() - 1, std::string("EL")); }, "hELo"},
    {"replace(iters, input range)",
     [](std::string& s) { s.replace(s.begin(), s.end(), in("abc"), in(&"abc"[3])); }, "abc"},
    {"replace(iters, own range)",
     [](std::string& s) { s.replace(s.begin(), s.begin() + 1, CI(s.end() - 2), s.cend()); },
     "loello"},
    {"append(n, c)", [](std::string& s) { s.append(3, '!'); }, "hello!!!"},
    {"append(str, pos), clamped", [](std::string& s) { s.append(s, 3).append(s, 1, 2); },
     "helloloel"},
    {"append(str, pos) past the end", [](std::string& s) { s.append(s, 6); }, "hello"},
    {"append(input range)", [](std::string& s) { s.append(in("ab"), in(&"ab"[2])); }, "helloab"},
    {"append(count, char) as integers", [](std::string& s) { s.append(2, 65); }, "helloAA"},
    {"resize down", [](std::string& s) { s.resize(2); }, "he"},
    {"resize up", [](std::string& s) { s.resize(7, '.'); }, "hello.."},
    {"pop_back", [](std::string& s) { s.pop_back(); }, "hell"},
    {"assign(n, c)", [](std::string& s) { s.assign(3, 'a'); }, "aaa"},
    {"assign(input range)", [](std::string& s) { s.assign(in("xyz"), in(&"xyz"[3])); }, "xyz"},
    {"assign(own range)", [](std::string& s) { s.assign(s.begin() + 1, s.end()); }, "ello"},
    {"string(first, last)", [](std::string& s) { s = std::string(s.cbegin() + 1, s.cend() - 1); },
     "ell"},
    {"reverse iterators",
     [](std::string& s) {
       s.assign(s.crbegin(), s.crend()).append(std::string(s.rbegin() + 1, s.rend() - 1));
       *s.rbegin() = '!';
     },
     "ollehel!"},
    {"string(input range)", [](std::string& s) { s = std::string(in("ab"), in(&"ab"[2])); }, "ab"},
    {"initializer lists",
     [](std::string& s) {
       s.insert(s.begin(), {'<'});
       s.replace(s.end() - 1, s.end(), {'!', '>'});
       s += {'.'};
       s.append({'.'});
       s = std::string({'[', '|'}) + s;
     },
     "[|<hell!>.."},
    {"assign(list)",
     [](std::string& s) {
       s.assign({'a', 'b'});
     },
     "ab"},
    {"string(count, char) as integers", [](std::string& s) { s = std::string(3, 66); }, "BBB"},
};

TEST(every_edit_gives_the_iso_result_with_exact_growth) {
  for (const Edit& edit : kEdits) {
    std::string s("hello");
    edit.mApply(s);
    const bool ok = s == edit.mExpected && s.size() == strlen(edit.mExpected) &&
                    s.c_str()[s.size()] == '\0' && (s.size() <= 5 || s.capacity() == s.size());
    if (!ok) unit::fail(__FILE__, __LINE__, edit.mName);
  }
  std::string s("hello");
  s.resize(6);
  EXPECT(s.size() == 6 && s[5] == '\0' && s.capacity() == 6);
  EXPECT(s.front() == 'h' && s.back() == '\0' && (s.data()[0] = 'j') == 'j' && s[0] == 'j');
  char out[8] = "-------";
  EXPECT(s.copy(out, 3, 1) == 3 && memcmp(out, "ell----", 7) == 0 && s.copy(out, 2, 7) == 0);
  EXPECT(s.copy(out, npos, 4) == 2 && out[0] == 'o');
}

// Iterators outside the string change nothing: the iterator forms answer
// with the dummy or end(). (Hardened mode stops such calls instead.)
TEST(bad_iterators_change_nothing) {
#ifndef PLINTH_HARDENED
  std::string s("hello"), other("x");
  const std::string::iterator dummy = s.insert(other.begin(), 2, 'z');
  EXPECT(dummy == s.insert(s.end() + 1, in("a"), in(&"a"[1])) && dummy != s.begin());
  EXPECT(s.erase(s.begin() + 3, s.begin() + 1) == s.end() && s.erase(s.end()) == s.end());
  s.replace(s.begin() + 2, s.begin(), "x").replace(s.end(), s.end() + 1, 2, 'x');
  std::string empty;
  empty.pop_back();
  EXPECT(s == "hello" && s.capacity() == 5 && empty.empty() && empty.back() == '\0');
#endif
}

TEST(searches_with_sets_and_from_the_back) {
  const std::string s("a:b, c;d"), nul("a\0b\0", 4);
  struct Row {
    size_t mGot, mExpected;
  };
  const Row rows[] = {
      {s.find_first_of(",;"), 3},
      {s.find_first_of(",;", 4), 6},
      {s.find_last_of(":,"), 3},
      {s.find_last_of(":,", 2), 1},
      {s.find_first_not_of("a:b"), 3},
      {s.find_last_not_of("cd;"), 4},
      {s.find_first_of(std::string(" ")), 4},
      {s.find_first_of("xyz"), npos},
      {s.find_first_of(""), npos},
      {s.find_first_not_of(""), 0},
      {s.find_last_not_of("", 3), 3},
      {s.find_first_of(",;", 9), npos},
      {nul.find_first_of(std::string("\0", 1)), 1},
      {nul.find_last_of("\0b", npos, 2), 3},
      {s.rfind("c"), 5},
      {s.rfind(std::string("b")), 2},
      {s.rfind("b", 1), npos},
      {s.rfind("", 3), 3},
      {s.rfind("", 99), 8},
      {s.rfind("a:b, c;d!"), npos},
      {nul.rfind(std::string("\0", 1)), 3},
      {nul.rfind("b\0", 2, 2), 2},
      {s.find("c;d", 2, 2), 5},
      {std::string().rfind(""), 0},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i)
    if (rows[i].mGot != rows[i].mExpected) unit::fail(__FILE__, __LINE__, "search row");
}

int sign(int v) { return (v > 0) - (v < 0); }

// Positional compare orders as compare(const string&) does: length first;
// the C-string form is strcmp over the part.
TEST(positional_compare_and_c_string_relations) {
  const std::string s("abcdef"), bc("bc");
  EXPECT(s.compare(1, 2, bc) == 0 && s.compare(1, 3, bc) == 1 && s.compare(0, 1, bc) == -1);
  EXPECT(s.compare(4, npos, std::string("xef"), 1) == 0 && s.compare(9, 1, std::string()) == 0);
  EXPECT(sign(s.compare(2, 2, "ca")) == 1 && s.compare(1, 2, "bc") == 0 &&
         s.compare(1, 2, "b") == 1);
  EXPECT(s.compare(1, 2, "bcx") == -1 && s.compare(0, 2, "ab\0x", 3) == -1 &&
         s.compare(0, 0, "") == 0);
  EXPECT(sign(s.compare(0, 2, "ac", 2)) == -1 && s.compare(1, 1, (const char*)0) == 1);
  const char* const kNull = 0;
  const std::string zz("zz");
  EXPECT(zz < "aaa" && "aaa" > zz && zz <= "zz" && zz >= "zz" && !(zz < "za") && zz < "zzz");
  EXPECT("ab" < zz && !("zz" < zz) && zz > kNull && kNull < zz && !(zz <= kNull));
}

TEST(concatenation_in_every_form) {
  const std::string a("ab"), b("cd");
  std::string r = a + b;
  EXPECT(r == "abcd" && r.capacity() == 4 && a + "x" == "abx" && "x" + a == "xab");
  EXPECT(a + 'x' == "abx" && 'x' + a == "xab" && a + a + a == "ababab");
  std::string lender("12345");
  lender.reserve(10);
  const char* block = lender.c_str();
  std::string sum = static_cast<std::string&&>(lender) + "67";
  EXPECT(sum == "1234567" && sum.c_str() == block && lender.empty());
  std::string front("xy");
  front.reserve(8);
  block = front.c_str();
  sum = "w" + static_cast<std::string&&>(front);
  EXPECT(sum == "wxy" && sum.c_str() == block);
  EXPECT(std::string("1") + std::string("2") + '3' + "4" == "1234" && a + (const char*)0 == "ab");
  if (!failalloc::active()) return;
  failalloc::fail_all();
  std::string failed = a + b, moved = std::string() + b;
  failalloc::disarm();
  EXPECT(failed.empty() && failed.capacity() == 0 && moved.empty());
}

TEST(number_conversions_and_their_failure_results) {
  EXPECT(std::to_string(-42) == "-42" && std::to_string(0u) == "0" &&
         std::to_string(1.5) == "1.500000");
  EXPECT(std::to_string(LLONG_MIN) == "-9223372036854775808" &&
         std::to_string(ULLONG_MAX) == "18446744073709551615");
  EXPECT(std::to_string(INT_MIN) == "-2147483648" && std::to_string(long(-7)) == "-7");
  EXPECT(std::to_string(UINT_MAX) == "4294967295" && std::to_string(99ul) == "99");
  EXPECT(std::to_string(1e20).size() == 28 && std::to_string(-0.25f) == "-0.250000");
  size_t idx = 99;
  errno = 7;
  EXPECT(std::stoi(" 12ab", &idx) == 12 && idx == 3 && errno == 7);
  EXPECT(std::stoi("ff", &idx, 16) == 255 && idx == 2 && std::stoi("0x1A", 0, 0) == 26);
  EXPECT(std::stoi("abc", &idx) == 0 && idx == 0 && std::stoi("", &idx) == 0 && idx == 0);
  EXPECT(std::stoi("12", &idx, 1) == 0 && idx == 0 && errno == 7);
  EXPECT(std::stoi("99999999999") == INT_MAX && errno == ERANGE);
  errno = 0;
  EXPECT(std::stoi("-99999999999") == INT_MIN && errno == ERANGE);
  errno = 0;
  EXPECT(std::stoll("-9223372036854775809") == LLONG_MIN && errno == ERANGE);
  errno = 0;
  EXPECT(std::stoull("18446744073709551616") == ULLONG_MAX && errno == ERANGE);
  errno = 0;
  EXPECT(std::stol("-5") == -5 && std::stoul("42") == 42 && errno == 0);
  EXPECT(std::stod("2.5e3x", &idx) == 2500.0 && idx == 5 && std::stof("0.5") == 0.5f);
  EXPECT(std::stod("1e999") > 1e308 && errno == ERANGE && std::stold("-1.25") == -1.25L);
}

}  // namespace

// The hardened mode's checks in std::string (support/death.h), built
// hardened whatever the preset. The checks sit in the headers, so they fire
// in this unit whether or not libplinth.a was built hardened.
#define PLINTH_HARDENED 1

#include <string>

#include "support/death.h"
#include "support/unit.h"

namespace {

struct Breach {
  const char* mHeader;
  const char* mCondition;  // as the check prints it
  void (*mBreak)(std::string& abc);
};

std::string sOther;

const Breach kBreaches[] = {
    {"string", "pos <= mLength", [](std::string& s) { s[4] = 'x'; }},
    {"string", "pos <= mLength", [](std::string& s) { static_cast<const std::string&>(s)[9]; }},
    {"string", "mLength != 0", [](std::string& s) { s.clear(), s.front(); }},
    {"string", "mLength != 0", [](std::string& s) { s.clear(), s.back(); }},
    {"string", "mLength != 0", [](std::string& s) { s.clear(), s.pop_back(); }},
    {"string", "first <= last", [](std::string& s) { s.append(s.c_str() + 2, s.c_str()); }},
    {"string", "p >= mData && p <= mData + mLength",
     [](std::string& s) { s.insert(sOther.begin(), 'x'); }},
    {"string", "begin <= end", [](std::string& s) { s.erase(s.begin() + 2, s.begin()); }},
    {"string", "iter != end()", [](std::string& s) { s.erase(s.end()); }},
    {"string", "p >= mData && p <= mData + mLength",
     [](std::string& s) { s.replace(s.begin(), s.end() + 1, "x"); }},
    {"char_traits", "str != 0", [](std::string&) { std::char_traits<char>::length(0); }},
};

}  // namespace

TEST(each_broken_precondition_aborts_with_one_line) {
  for (size_t i = 0; i < sizeof kBreaches / sizeof kBreaches[0]; ++i) {
    const Breach& breach = kBreaches[i];
    death::expect_aborts(breach.mHeader, breach.mCondition, [&breach] {
      std::string abc("abc");
      breach.mBreak(abc);
    });
  }
}

// At the edges of the checks: the terminating NUL is a valid index, and an
// empty range at end() edits nothing.
TEST(checked_members_work_within_their_preconditions) {
  std::string s("abc");
  EXPECT(s[3] == '\0' && s.front() == 'a' && s.back() == 'c');
  EXPECT(s.erase(s.end(), s.end()) == s.end());
  const std::string::iterator d = s.insert(s.end(), 'd');
  EXPECT(d == s.end() - 1 && *d == 'd');
  s.pop_back();
  EXPECT(s == "abc" && s.replace(s.end(), s.end(), "") == "abc");
}

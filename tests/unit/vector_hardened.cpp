// The hardened mode's checks in std::vector, built hardened whatever the
// preset: each broken precondition, run in a child process, writes exactly
// one line naming the header, the line and the condition to stderr and
// aborts. The checked members still work when the precondition holds.
#define PLINTH_HARDENED 1

#include <vector>

#include "support/death.h"
#include "support/unit.h"

namespace {

typedef std::vector<int> Vector;

struct Breach {
  const char* mCondition;  // as the check prints it
  void (*mBreak)(Vector& three);
};

const Breach kBreaches[] = {
    {"index < mLength", [](Vector& v) { v[3] = 1; }},
    {"index < mLength", [](Vector& v) { static_cast<const Vector&>(v)[7]; }},
    {"mLength != 0", [](Vector& v) { v.clear(), v.front(); }},
    {"mLength != 0", [](Vector& v) { v.clear(), static_cast<const Vector&>(v).back(); }},
    {"mLength != 0", [](Vector& v) { v.clear(), v.pop_back(); }},
    {"within(pos.base())", [](Vector& v) { v.erase(v.begin() - 1); }},
    {"within(first.base()) && within(last.base()) && !(last < first)",
     [](Vector& v) { v.erase(v.begin() + 2, v.begin() + 1); }},
    {"within(first.base()) && within(last.base()) && !(last < first)",
     [](Vector& v) { v.erase(v.begin() + 1, v.begin() + 4); }},
};

}  // namespace

TEST(each_broken_precondition_aborts_with_one_line) {
  for (size_t i = 0; i < sizeof kBreaches / sizeof kBreaches[0]; ++i) {
    const Breach& breach = kBreaches[i];
    death::expect_aborts("vector", breach.mCondition, [&breach] {
      Vector three(3, 0);
      breach.mBreak(three);
    });
  }
}

// The lenient answers at the edges of the checks stay: end() is a valid
// position for erase, and an empty range at end() removes nothing.
TEST(checked_members_work_within_their_preconditions) {
  Vector v(3, 5);
  v[2] = 7;
  EXPECT(v[2] == 7 && v.front() == 5 && v.back() == 7);
  EXPECT(v.erase(v.end()) == v.end() && v.erase(v.end(), v.end()) == v.end());
  v.pop_back();
  EXPECT(v.size() == 2 && v.at(5) == 0);
}

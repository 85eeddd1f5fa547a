// A probe whose first case fails on purpose. The harness must print exactly one line,
// 19: value == 3 || !"str1" (the blanks of line 19 fold to one; clang-format leaves them), skip
// the rest of the case and every later case, and exit with status 1; nothing may reach stdout.
#include <stdio.h>

#include "../common.h"

namespace kestrel {
// clang-format off
int sEvaluations = 0;

int next() { return ++sEvaluations; }

bool testFails() {
  // The expression is evaluated exactly once whether the check passes or not.
  CHECK_EXPR(next() == 1);
  CHECK_EXPR(sEvaluations == 1);
  int value = next();
  CHECK_EXPR(value   ==   3   ||   !"str1");
  printf("after the failing check\n");
  return true;
}
// clang-format on
bool testNeverRuns() {
  printf("a later case ran\n");
  return true;
}

}  // namespace kestrel

int main() {
  RUN_CASE(testFails);
  RUN_CASE(testNeverRuns);
  return kPassed;
}

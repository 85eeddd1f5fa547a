// The other unit: what the early constructor wrote into the dummies is kept,
// and the const overload's dummy was never written.
#include <stdio.h>

#include <string>
#include <vector>

#include "vector_init.h"

EarlyResult gEarly;  // constant-initialised: ready before any constructor

int main() {
  std::vector<std::string> none;
  const std::vector<std::string>& view = none;
  std::vector<std::vector<int> > nested;
  const bool kept = none.at(0) == "early" && view.at(0).empty() && nested.at(0).size() == 1 &&
                    nested.at(0)[0] == 5;
  printf("%s\n", gEarly.mRan && gEarly.mWhole && kept ? "dummies whole" : "dummies broken");
  return 0;
}

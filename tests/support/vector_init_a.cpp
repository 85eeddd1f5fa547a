// A static constructor of this unit, which is linked first, uses the at()
// dummies of std::vector before any other unit's constructors have run; the
// dummies must be whole already. vector_init_b.cpp checks what it saw.
#include <string.h>

#include <string>
#include <vector>

#include "vector_init.h"

namespace {

struct Early {
  Early() {
    std::vector<std::string> none;
    const std::vector<std::string>& view = none;
    std::string& dummy = none.at(3);
    gEarly.mWhole = dummy.c_str() != 0 && strcmp(dummy.c_str(), "") == 0 &&
                    view.at(3).c_str() != 0 && view.at(3).empty();
    dummy = "early";
    std::vector<std::vector<int> > nested;
    nested.at(1).push_back(5);
    gEarly.mRan = true;
  }
};

Early sEarly;

}  // namespace

// With string_init_b.cpp: a static initialiser in this unit, which runs
// before the other unit's (link order), uses a global string defined there.
// The string must be usable already, and what it stores must survive the
// other unit's start-up: the default constructor is constant-initialised.
#include <stdio.h>
#include <string.h>

#include <string>

extern std::string gLate;

namespace {

bool sEarlyOk = false;

struct Early {
  Early() {
    const std::string& view = gLate;
    sEarlyOk = view.c_str() != 0 && *view.c_str() == '\0' && view.at(3) == 'X';
    gLate.append("early");
    sEarlyOk = sEarlyOk && strcmp(gLate.c_str(), "early") == 0;
  }
};

const Early kEarly;

}  // namespace

int main() {
  printf("%s %s\n", sEarlyOk ? "usable" : "unusable", gLate.c_str());
  return 0;
}

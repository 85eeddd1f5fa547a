// A program whose own code uses exceptions (built with -fexceptions): it
// still links against plinth's streams, catches what it throws, and keeps
// the terminate handler it installs, which ends the program after an
// uncaught exception.
#include <stdio.h>
#include <stdlib.h>

#include <iostream>

namespace std {
typedef void (*terminate_handler)();
terminate_handler set_terminate(terminate_handler handler) noexcept;
}  // namespace std

namespace {

struct Thrown {
  int value;
};

void OwnHandler() {
  std::cout.flush();
  fputs("own terminate handler\n", stderr);
  _Exit(3);
}

int Throw(int value) {
  if (value > 0) throw Thrown{value};
  return value;
}

}  // namespace

int main(int argc, char**) {
  std::set_terminate(OwnHandler);
  try {
    Throw(argc * 42);
  } catch (const Thrown& thrown) {
    std::cout << "caught " << thrown.value << '\n';
  }
  return Throw(argc);  // not caught: the handler above ends the program
}

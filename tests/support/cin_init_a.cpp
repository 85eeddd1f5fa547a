// With cin_init_b.cpp: std::cin used from a static constructor of a unit
// that is linked first, before main and before any other unit's objects
// are built. It must be whole: tied to std::cout, with its buffer over
// stdin, and read (here: an empty stdin) without harm.
#include <stdio.h>

#include <iostream>
#include <string>

bool gCinWhole = false;

namespace {

struct Early {
  Early() {
    if (!freopen("/dev/null", "r", stdin)) return;
    const bool fresh = std::cin.good() && std::cin.tie() == &std::cout && std::cin.rdbuf() != 0 &&
                       std::cin.flags() == (std::ios_base::skipws | std::ios_base::dec);
    int n = 5;
    std::string line = "gone";
    std::cin >> n;
    const bool number =
        n == 5 && std::cin.rdstate() == (std::ios_base::eofbit | std::ios_base::failbit);
    std::cin.clear();
    const bool text = !std::getline(std::cin, line) && line.empty();
    std::cin.clear();
    gCinWhole = fresh && number && text;
  }
};

Early sEarly;

}  // namespace

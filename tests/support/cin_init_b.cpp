// The second unit of the cin_init program: see cin_init_a.cpp.
#include <iostream>

extern bool gCinWhole;

int main() {
  std::cout << (gCinWhole ? "cin whole" : "cin broken") << '\n';
  return gCinWhole ? 0 : 1;
}

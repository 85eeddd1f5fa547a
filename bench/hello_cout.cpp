// Footprint probe: the smallest useful program printing through std::cout.
#include <iostream>

int main() {
  std::cout << "hello, world " << 42 << '\n';
  return 0;
}

// Footprint probe: copies standard input to standard output line by line
// through std::getline and std::cout.
#include <iostream>
#include <string>

int main() {
  std::string line;
  while (std::getline(std::cin, line)) std::cout << line << '\n';
  return 0;
}

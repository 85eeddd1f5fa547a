// Footprint probe: hello_cout.cpp with a std::string and a std::vector<int>
// in use as well, at() included (its dummy element must not bring in the
// runtime's one-time guard).
#include <iostream>
#include <string>
#include <vector>

int main() {
  std::string greeting("hello, world ");
  std::vector<int> values;
  values.push_back(42);
  std::cout << greeting << values.at(0) << '\n';
  return 0;
}

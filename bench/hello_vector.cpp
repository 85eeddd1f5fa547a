// Footprint probe: a program using <vector> only, nothing of the streams.
#include <vector>

int main(int argc, char**) {
  std::vector<int> values;
  for (int i = 0; i < argc; ++i) values.push_back(i);
  return static_cast<int>(values.size()) - argc;
}

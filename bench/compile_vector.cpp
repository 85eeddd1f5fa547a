// The translation unit that measures what <vector> alone costs to compile.
#include <vector>

int main() {
  std::vector<int> v;
  for (int i = 0; i < 10; ++i) v.push_back(i);
  v.erase(v.begin());
  std::vector<int> w(v);
  return int(w.size() + v[0]);
}

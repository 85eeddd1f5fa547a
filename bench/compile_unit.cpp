// The translation unit whose compile time the benchmark measures: it
// includes vector, string and iostream and instantiates the common uses.
#include <iostream>
#include <string>
#include <vector>

int main() {
  std::vector<std::string> words;
  std::vector<int> lengths;
  std::string line("the quick brown fox");
  words.push_back(line);
  words.push_back(std::string("jumps"));
  for (unsigned i = 0; i < words.size(); ++i) {
    lengths.push_back((int)words[i].size());
    line.append(words[i].c_str(), words[i].size());
  }
  std::vector<std::string>::iterator it = words.begin();
  std::cout << it->c_str() << ' ' << lengths[0] << ' ' << line.find("fox", 0) << ' ' << 0.5 << '\n';
  words.erase(words.begin());
  return line.compare(words[0]) == 0;
}

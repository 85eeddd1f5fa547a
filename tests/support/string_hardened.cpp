// Built with PLINTH_HARDENED: each case breaks one precondition of
// std::string that the header checks, and must stop with one line on stderr
// and abort(). The argument names the case (tests/CMakeLists.txt).
#include <stdio.h>
#include <string.h>

#include <string>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::string s("abc"), empty;
  const char* p = s.c_str();
  const char* const kNull = 0;
  const char* which = argv[1];
  volatile char sink = 0;
  if (strcmp(which, "index") == 0) sink = s[4];
  if (strcmp(which, "front") == 0) sink = empty.front();
  if (strcmp(which, "back") == 0) sink = empty.back();
  if (strcmp(which, "pop_back") == 0) empty.pop_back();
  if (strcmp(which, "reversed_range") == 0) s.append(p + 2, p);
  if (strcmp(which, "insert_outside") == 0) s.insert(empty.begin(), 'x');
  if (strcmp(which, "erase_reversed") == 0) s.erase(s.begin() + 2, s.begin());
  if (strcmp(which, "erase_end") == 0) s.erase(s.end());
  if (strcmp(which, "null_c_string") == 0) sink = char(std::char_traits<char>::length(kNull));
  (void)sink;
  fprintf(stderr, "no check fired for %s\n", which);
  return 1;
}

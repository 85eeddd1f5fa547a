// Writes to std::cout, std::cerr and std::clog, flushes none of them and
// returns from main. The output must still come out whole, flushed by the
// streams at exit.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

// Registered before this unit's stream initialiser, so it runs after every
// stream's exit flush. Leaving through _exit skips the C library's own
// flush: only the streams can have brought the output out.
void LeaveWithoutStdioFlush() { _exit(0); }
const int kRegistered = atexit(LeaveWithoutStdioFlush);

}  // namespace

#include <iostream>
#include <string>

int main() {
  // stderr is normally unbuffered; hold its output too.
  static char sErrBuffer[BUFSIZ];
  setvbuf(stderr, sErrBuffer, _IOFBF, sizeof sErrBuffer);
  std::cout << "out " << 42 << ' ' << -7 << ' ' << 4294967295u << ' '
            << (-9223372036854775807LL - 1) << ' ' << 18446744073709551615ULL << ' ' << 1.5 << ' '
            << 1.5f << ' ' << true << false << ' ' << 'A' << static_cast<const char*>(0) << ' '
            << std::string("str") << '\n';
  std::cerr << "err " << 3.14159 << ' ';
  std::clog << "log " << 7 << '\n';
  return kRegistered;
}

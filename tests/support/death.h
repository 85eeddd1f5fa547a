// Death tests of the hardened mode: a broken precondition runs in a child
// process, whose stderr is captured, and must end the child by abort()
// after writing exactly one line naming the header, the line and the
// condition.
#ifndef PLINTH_TESTS_DEATH_H
#define PLINTH_TESTS_DEATH_H

#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/unit.h"

namespace death {

// Runs `breach` in a child; returns its stderr (up to size - 1 bytes) in
// `text` and whether it ended by SIGABRT.
template <typename _Breach>
bool aborts(_Breach breach, char* text, size_t size) {
  int pipes[2];
  if (pipe(pipes) != 0) return false;
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipes[1], 2);
    breach();
    _exit(0);
  }
  close(pipes[1]);
  size_t got = 0;
  for (ssize_t n; got + 1 < size && (n = read(pipes[0], text + got, size - 1 - got)) > 0;)
    got += size_t(n);
  text[got] = '\0';
  close(pipes[0]);
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT;
}

// "<path>/<header>:<line>: plinth: precondition failed: <condition>\n", once.
inline bool names_the_check(const char* text, const char* header, const char* condition) {
  const char* const kFailed = ": plinth: precondition failed: ";
  char key[64];
  snprintf(key, sizeof key, "%s:", header);
  const char* at = strstr(text, key);
  const char* tail = strstr(text, kFailed);
  if (at == 0 || tail == 0 || at > tail) return false;
  const char* found = tail + strlen(kFailed);
  return strncmp(found, condition, strlen(condition)) == 0 &&
         strcmp(found + strlen(condition), "\n") == 0 &&
         strchr(text, '\n') == found + strlen(condition);
}

// Expects `breach`, run in a child, to abort with the one line that names
// `header` and `condition`; otherwise says what the child wrote.
template <typename _Breach>
void expect_aborts(const char* header, const char* condition, _Breach breach) {
  char text[512];
  const bool aborted = aborts(breach, text, sizeof text);
  const bool named = names_the_check(text, header, condition);
  EXPECT(aborted && named);
  if (!aborted || !named) fprintf(stderr, "  breaking %s wrote [%s]\n", condition, text);
}

}  // namespace death

#endif  // PLINTH_TESTS_DEATH_H

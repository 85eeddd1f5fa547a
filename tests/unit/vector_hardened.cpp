// The hardened mode's checks in std::vector, built hardened whatever the
// preset: each broken precondition, run in a child process, writes exactly
// one line naming the header, the line and the condition to stderr and
// aborts. The checked members still work when the precondition holds.
#define PLINTH_HARDENED 1

#include <signal.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "support/unit.h"

namespace {

typedef std::vector<int> Vector;

struct Breach {
  const char* mCondition;  // as the check prints it
  void (*mBreak)(Vector& three);
};

const Breach kBreaches[] = {
    {"index < mLength", [](Vector& v) { v[3] = 1; }},
    {"index < mLength", [](Vector& v) { static_cast<const Vector&>(v)[7]; }},
    {"mLength != 0", [](Vector& v) { v.clear(), v.front(); }},
    {"mLength != 0", [](Vector& v) { v.clear(), static_cast<const Vector&>(v).back(); }},
    {"mLength != 0", [](Vector& v) { v.clear(), v.pop_back(); }},
    {"within(pos.base())", [](Vector& v) { v.erase(v.begin() - 1); }},
    {"within(first.base()) && within(last.base()) && !(last < first)",
     [](Vector& v) { v.erase(v.begin() + 2, v.begin() + 1); }},
    {"within(first.base()) && within(last.base()) && !(last < first)",
     [](Vector& v) { v.erase(v.begin() + 1, v.begin() + 4); }},
};

// Runs one breach in a child; returns its stderr (up to 511 bytes) and
// whether it ended by SIGABRT.
bool aborts(const Breach& breach, char* text, size_t size) {
  int pipes[2];
  if (pipe(pipes) != 0) return false;
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipes[1], 2);
    Vector three(3, 0);
    breach.mBreak(three);
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

// "<path>/vector:<line>: plinth: precondition failed: <condition>\n", once.
bool names_the_check(const char* text, const char* condition) {
  const char* at = strstr(text, "vector:");
  const char* tail = strstr(text, ": plinth: precondition failed: ");
  if (at == 0 || tail == 0 || at > tail) return false;
  const char* found = tail + strlen(": plinth: precondition failed: ");
  return strncmp(found, condition, strlen(condition)) == 0 &&
         strcmp(found + strlen(condition), "\n") == 0 &&
         strchr(text, '\n') == found + strlen(condition);
}

}  // namespace

TEST(each_broken_precondition_aborts_with_one_line) {
  for (size_t i = 0; i < sizeof kBreaches / sizeof kBreaches[0]; ++i) {
    char text[512];
    const bool aborted = aborts(kBreaches[i], text, sizeof text);
    EXPECT(aborted && names_the_check(text, kBreaches[i].mCondition));
    if (!aborted || !names_the_check(text, kBreaches[i].mCondition))
      fprintf(stderr, "  breach %zu wrote [%s]\n", i, text);
  }
}

// The lenient answers at the edges of the checks stay: end() is a valid
// position for erase, and an empty range at end() removes nothing.
TEST(checked_members_work_within_their_preconditions) {
  Vector v(3, 5);
  v[2] = 7;
  EXPECT(v[2] == 7 && v.front() == 5 && v.back() == 7);
  EXPECT(v.erase(v.end()) == v.end() && v.erase(v.end(), v.end()) == v.end());
  v.pop_back();
  EXPECT(v.size() == 2 && v.at(5) == 0);
}

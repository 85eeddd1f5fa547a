// The test registry and the failure reports. No heap is used, so allocation
// counts taken by the tests see only the library's own requests.
#include "unit.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

const int kMaxTests = 512;

struct Entry {
  const char* name;
  unit::TestFn fn;
};

Entry sTests[kMaxTests];
int sCount = 0;
unsigned sFailures = 0;  // failed expectations in this program
bool sSkipped = false;   // the running test skipped itself
unit::Context sContext = 0;
bool sAbort = false;

}  // namespace

namespace unit {

Registrar::Registrar(const char* name, TestFn fn) {
  if (sCount == kMaxTests) {
    fprintf(stderr, "too many tests: %s not registered\n", name);
    return;
  }
  sTests[sCount].name = name;
  sTests[sCount].fn = fn;
  ++sCount;
}

void fail(const char* file, int line, const char* text) {
  if (sContext) sContext();
  fprintf(stderr, "%s:%d: expected %s\n", file, line, text);
  ++sFailures;
  if (sAbort) abort();
}

void skip(const char* why) {
  sSkipped = true;
  fprintf(stderr, "  skipped: %s\n", why);
}

void set_context(Context context) { sContext = context; }

void abort_on_failure() { sAbort = true; }

int run_all() {
  int passed = 0, failed = 0, skipped = 0;
  for (int i = 0; i < sCount; ++i) {
    const unsigned before = sFailures;
    sSkipped = false;
    sTests[i].fn();
    if (sFailures != before) {
      ++failed;
      fprintf(stderr, "FAILED %s\n", sTests[i].name);
    } else if (sSkipped) {
      ++skipped;
    } else {
      ++passed;
    }
  }
  printf("%d passed, %d failed, %d skipped\n", passed, failed, skipped);
  return failed == 0 ? 0 : 1;
}

}  // namespace unit

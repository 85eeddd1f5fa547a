// Link-time interposition of malloc, realloc and free. Counters are volatile
// because the compiler may assume that malloc touches no other memory.
#include "failalloc.h"

#include <stdlib.h>
#include <string.h>

namespace {

volatile unsigned sRequests = 0;
volatile unsigned sFailAt = 0;  // request number to refuse; 0: none
volatile bool sFailAll = false;
volatile long sLive = 0;

#ifndef PLINTH_ASAN
bool refuse() {
  unsigned n = sRequests + 1;
  sRequests = n;
  if (sFailAll) return true;
  if (sFailAt != 0 && n == sFailAt) {
    sFailAt = 0;
    return true;
  }
  return false;
}
#endif

}  // namespace

#ifndef PLINTH_ASAN
extern "C" {

void* __libc_malloc(size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);

void* malloc(size_t n) {
  if (refuse()) return 0;
  void* p = __libc_malloc(n);
  if (p) sLive = sLive + 1;
  return p;
}

void* realloc(void* p, size_t n) {
  if (refuse()) return 0;
  void* q = __libc_realloc(p, n);
  if (p == 0 && q != 0) sLive = sLive + 1;
  if (p != 0 && n == 0 && q == 0) sLive = sLive - 1;  // realloc(p, 0) freed p
  return q;
}

// The C library's own calloc would hand out blocks that free() then counts.
void* calloc(size_t count, size_t size) {
  if (size != 0 && count > size_t(-1) / size) return 0;
  void* p = malloc(count * size);
  if (p) memset(p, 0, count * size);
  return p;
}

void free(void* p) {
  if (p) sLive = sLive - 1;
  __libc_free(p);
}

}  // extern "C"
#endif

namespace failalloc {

bool active() {
#ifdef PLINTH_ASAN
  return false;
#else
  static void* volatile sProbe;
  unsigned before = sRequests;
  sProbe = malloc(1);
  free(sProbe);
  return sRequests != before;
#endif
}

void fail_nth(unsigned n) { sFailAt = n == 0 ? 0 : sRequests + n; }

void fail_all() { sFailAll = true; }

void disarm() {
  sFailAt = 0;
  sFailAll = false;
}

unsigned requests() { return sRequests; }

long live_blocks() { return sLive; }

}  // namespace failalloc

// Allocation-failure injection for tests. The test program's own malloc,
// realloc and free (failalloc.cpp) forward to the C library, count every
// request and live block, and can refuse one chosen request.
#ifndef PLINTH_TESTS_FAILALLOC_H
#define PLINTH_TESTS_FAILALLOC_H

#include <stddef.h>

namespace failalloc {

// False when the interposition is not in effect: under valgrind, which
// replaces malloc, or under AddressSanitizer. Tests that inject failures skip.
bool active();

// The n-th malloc or realloc request from now (1-based) returns null;
// 0 disarms.
void fail_nth(unsigned n);

// Every malloc or realloc request from now on returns null until disarmed.
void fail_all();

void disarm();

// malloc and realloc requests seen so far (including refused ones).
unsigned requests();

// Blocks currently allocated through malloc/realloc and not yet freed.
long live_blocks();

}  // namespace failalloc

#endif  // PLINTH_TESTS_FAILALLOC_H

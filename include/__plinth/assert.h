// -*- C++ -*-
// Precondition checks of the hardened mode. Compiled with PLINTH_HARDENED
// defined, a failed check writes one line naming the file, the line and the
// condition to stderr and calls abort(). Without it the checks compile to
// nothing: the condition is not evaluated and no header is pulled in.
#ifndef PLINTH___ASSERT_H
#define PLINTH___ASSERT_H

#ifdef PLINTH_HARDENED

#include <stdio.h>

namespace kestrel {

// Out of line and cold, so a checked operator[] stays one compare and a
// branch on its hot path.
__attribute__((__noreturn__, __cold__, __noinline__)) inline void __assert_failed(
    const char* file, int line, const char* condition) {
  fprintf(stderr, "%s:%d: plinth: precondition failed: %s\n", file, line, condition);
  __builtin_abort();
}

}  // namespace kestrel

#define __PLINTH_ASSERT(condition)                   \
  (__builtin_expect(static_cast<bool>(condition), 1) \
       ? (void)0                                     \
       : ::kestrel::__assert_failed(__FILE__, __LINE__, #condition))

#else

#define __PLINTH_ASSERT(condition) ((void)0)

#endif  // PLINTH_HARDENED

#endif  // PLINTH___ASSERT_H

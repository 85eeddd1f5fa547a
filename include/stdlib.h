// -*- C++ -*-
// The C library's <stdlib.h> with the C++ overloads of <cstdlib>. It stands
// in front of the compiler's own C++ stdlib.h, which would include that
// library's <cstdlib>: a name that resolves to plinth's, in a circle.
#ifndef PLINTH_STDLIB_H
#define PLINTH_STDLIB_H

// The macro tells a C++ wrapper found next, if any, to pass straight on to
// the C library's header.
#pragma push_macro("_GLIBCXX_INCLUDE_NEXT_C_HEADERS")
#define _GLIBCXX_INCLUDE_NEXT_C_HEADERS
#include_next <stdlib.h>
#pragma pop_macro("_GLIBCXX_INCLUDE_NEXT_C_HEADERS")

// A C unit (a C source of a project that uses plinth) gets the C header
// alone.
#ifdef __cplusplus
#include <cstdlib>
#endif

#endif  // PLINTH_STDLIB_H

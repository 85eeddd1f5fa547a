// -*- C++ -*-
// The C library's <math.h> with the C++ overloads and classification
// functions of <cmath>. It stands in front of the compiler's own C++ math.h,
// which would include that library's <cmath>: a name that resolves to
// plinth's, in a circle.
#ifndef PLINTH_MATH_H
#define PLINTH_MATH_H

// The macro tells a C++ wrapper found next, if any, to pass straight on to
// the C library's header.
#pragma push_macro("_GLIBCXX_INCLUDE_NEXT_C_HEADERS")
#define _GLIBCXX_INCLUDE_NEXT_C_HEADERS
#include_next <math.h>
#pragma pop_macro("_GLIBCXX_INCLUDE_NEXT_C_HEADERS")

// A C unit (a C source of a project that uses plinth) gets the C header
// alone.
#ifdef __cplusplus
#include <cmath>
#endif

#endif  // PLINTH_MATH_H

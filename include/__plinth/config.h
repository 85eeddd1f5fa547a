// -*- C++ -*-
// Switches on what the language offers, in one place.
#ifndef PLINTH___CONFIG_H
#define PLINTH___CONFIG_H

// `if __PLINTH_CONSTEXPR (condition)`: from C++17 on, the branch not taken
// is discarded, not instantiated. Most of what a container costs to compile
// is the element paths its element type never takes; before C++17 they are
// instantiated and folded away by the optimiser.
#if defined(__cpp_if_constexpr)
#define __PLINTH_CONSTEXPR constexpr
#else
#define __PLINTH_CONSTEXPR
#endif

#endif  // PLINTH___CONFIG_H

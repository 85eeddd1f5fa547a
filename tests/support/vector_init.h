// What vector_init_a.cpp's static constructor saw.
#ifndef PLINTH_TESTS_VECTOR_INIT_H
#define PLINTH_TESTS_VECTOR_INIT_H

struct EarlyResult {
  bool mRan;
  bool mWhole;
};

extern EarlyResult gEarly;

#endif  // PLINTH_TESTS_VECTOR_INIT_H

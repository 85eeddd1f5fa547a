// Shared harness of the probe programs: CHECK_EXPR and RUN_CASE, the exit
// statuses, and the instrumented element types the vector cases count with.
#ifndef PLINTH_TESTS_COMMON_H
#define PLINTH_TESTS_COMMON_H

#include <stddef.h>
#include <stdio.h>

// The first false expectation prints "LINE: expression" on stderr and ends
// the enclosing test case with false; objects in scope are destroyed on the
// way out.
#define CHECK_EXPR(expr)                            \
  do {                                              \
    if (!(expr)) {                                  \
      fprintf(stderr, "%d: %s\n", __LINE__, #expr); \
      return false;                                 \
    }                                               \
  } while (0)

// Only in main: the first failing case ends the run with kFailed.
#define RUN_CASE(fn)      \
  do {                    \
    if (!kestrel::fn()) { \
      return kFailed;     \
    }                     \
  } while (0)

namespace {

const size_t kMaxSizeT = size_t(-1);
const int kPassed = 0;
const int kFailed = 1;

// Counts copy constructions; a case clears mCount by storing 0.
struct CopyCounter {
  static size_t mCount;
  CopyCounter() {}
  CopyCounter(const CopyCounter&) { ++mCount; }
  CopyCounter& operator=(const CopyCounter&) { return *this; }
};

// Counts every construction, copy, assignment and destruction.
class CtorDtorCounter {
 public:
  static size_t mCtorCount;
  static size_t mCopyCtorCount;
  static size_t mAssignCount;
  static size_t mDtorCount;

  CtorDtorCounter() { ++mCtorCount; }
  CtorDtorCounter(const CtorDtorCounter&) { ++mCopyCtorCount; }
  CtorDtorCounter& operator=(const CtorDtorCounter&) {
    ++mAssignCount;
    return *this;
  }
  ~CtorDtorCounter() { ++mDtorCount; }

  static void reset() { mCtorCount = mCopyCtorCount = mAssignCount = mDtorCount = 0; }
  static void printf() {
    fprintf(stderr, "ctor %zu copy %zu assign %zu dtor %zu\n", mCtorCount, mCopyCtorCount,
            mAssignCount, mDtorCount);
  }
};

size_t CopyCounter::mCount = 0;
size_t CtorDtorCounter::mCtorCount = 0;
size_t CtorDtorCounter::mCopyCtorCount = 0;
size_t CtorDtorCounter::mAssignCount = 0;
size_t CtorDtorCounter::mDtorCount = 0;

// Owns an array of 2046 T; a copy builds its own fresh array.
template <typename T>
struct A {
  T* mChunk;
  A() : mChunk(new T[2046]) {}
  A(const A&) : mChunk(new T[2046]) {}
  virtual ~A() { delete[] mChunk; }
  A& operator=(const A&) { return *this; }
};

// Owns a 2046-byte block; copies never share it.
struct B {
  char* mChunk;
  B() : mChunk(new char[2046]) {}
  B(const B&) : mChunk(new char[2046]) {}
  virtual ~B() { delete[] mChunk; }
  B& operator=(const B&) { return *this; }
};

}  // namespace

#endif  // PLINTH_TESTS_COMMON_H

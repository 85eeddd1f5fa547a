// Helpers shared by the unit tests, the sweeps and the fuzzer, each written
// once: what a container shows from outside (its block, sizes and a digest
// of its elements), "empty without a block", the counting element's
// tallies, keeping an allocation from the optimiser, and the
// allocation-failure test.
#ifndef PLINTH_TESTS_CHECKS_H
#define PLINTH_TESTS_CHECKS_H

#include <string>
#include <utility>
#include <vector>

#include "common.h"
#include "support/failalloc.h"
#include "support/unit.h"

namespace unit {

// Where escape() stores: a template's static member may be defined in a
// header.
template <typename _Unused = void>
struct Sink {
  static void* volatile sObject;
};
template <typename _Unused>
void* volatile Sink<_Unused>::sObject;

// Lets an object escape, so the optimiser cannot drop an allocation whose
// block is never read and pretend it succeeded.
template <typename _T>
void escape(_T& object) {
  Sink<>::sObject = &object;
}

inline unsigned long mix(unsigned long digest, unsigned long value) {
  return (digest ^ value) * 1099511628211UL;
}

// Element types without a value of their own digest alike.
template <typename _T>
unsigned long digest_of(const _T&) {
  return 1;
}
inline unsigned long digest_of(int value) { return unsigned(value); }
inline unsigned long digest_of(const std::string& s) {
  unsigned long digest = s.size();
  for (size_t i = 0; i < s.size(); ++i) digest = mix(digest, (unsigned char)s[i]);
  return digest;
}
template <typename _T1, typename _T2>
unsigned long digest_of(const std::pair<_T1, _T2>& p) {
  return mix(digest_of(p.first), digest_of(p.second));
}
template <typename _T>
unsigned long digest_of(const std::vector<_T>& v) {
  unsigned long digest = v.size();
  for (size_t i = 0; i < v.size(); ++i) digest = mix(digest, digest_of(v[i]));
  return digest;
}

// Where the storage is, the sizes, and a digest of the contents.
struct Snapshot {
  const void* mBlock;
  size_t mSize;
  size_t mCapacity;
  unsigned long mDigest;
  bool same_content(const Snapshot& other) const {
    return mSize == other.mSize && mCapacity == other.mCapacity && mDigest == other.mDigest;
  }
  bool operator==(const Snapshot& other) const {
    return mBlock == other.mBlock && same_content(other);
  }
};

inline Snapshot snapshot(const std::string& s) {
  const Snapshot snap = {s.c_str(), s.size(), s.capacity(), digest_of(s)};
  return snap;
}
template <typename _T>
Snapshot snapshot(const std::vector<_T>& v) {
  Snapshot snap = {v.begin().base(), v.size(), v.capacity(), 0};
  for (size_t i = 0; i < v.size(); ++i) snap.mDigest = mix(snap.mDigest, digest_of(v[i]));
  return snap;
}

// An iterator of category _Tag over an array, a single pass by default: a
// container reads a range of it one element at a time (a string or vector
// into a block of its own first).
template <typename _T, typename _Tag = std::input_iterator_tag>
struct Walk {
  typedef _Tag iterator_category;
  typedef _T value_type;
  typedef ptrdiff_t difference_type;
  typedef const _T* pointer;
  typedef const _T& reference;
  const _T* mAt;
  const _T& operator*() const { return *mAt; }
  Walk& operator++() {
    ++mAt;
    return *this;
  }
  bool operator==(const Walk& other) const { return mAt == other.mAt; }
  bool operator!=(const Walk& other) const { return mAt != other.mAt; }
};
typedef Walk<char> InputChars;

inline InputChars input_chars(const char* p) {
  const InputChars it = {p};
  return it;
}

// Every string without a block shares one terminating byte.
inline const char* shared_empty_buffer() { return std::string().c_str(); }

inline bool empty_without_block(const std::string& s) {
  return s.size() == 0 && s.capacity() == 0 && s.c_str() == shared_empty_buffer();
}
template <typename _T>
bool empty_without_block(const std::vector<_T>& v) {
  return v.begin().base() == 0 && v.size() == 0 && v.capacity() == 0;
}

// CtorDtorCounter's tallies since its last reset().
inline bool counters_are(size_t ctor, size_t copy, size_t assign, size_t dtor) {
  return CtorDtorCounter::mCtorCount == ctor && CtorDtorCounter::mCopyCtorCount == copy &&
         CtorDtorCounter::mAssignCount == assign && CtorDtorCounter::mDtorCount == dtor;
}

// Refuses the n-th malloc or realloc request from now on (n = 0: none);
// end() disarms and tells whether the refusal happened. A string copy it
// hits comes out empty.
class FailedAllocation {
 public:
  explicit FailedAllocation(unsigned n) : mAt(n == 0 ? 0 : failalloc::requests() + n) {
    failalloc::fail_nth(n);
  }
  bool end() const {
    failalloc::disarm();
    return mAt != 0 && failalloc::requests() >= mAt;
  }
  static long live() { return failalloc::live_blocks(); }

 private:
  unsigned mAt;  // the request refused; 0: none
};

}  // namespace unit

// A test that refuses allocations. It is skipped where failure cannot be
// injected (valgrind and AddressSanitizer own malloc); once its body has
// returned, every block the body took must have been freed.
#define FAILURE_TEST(name)                                                                   \
  static void name##_body();                                                                 \
  TEST(name) {                                                                               \
    if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");    \
    const long blocks = failalloc::live_blocks();                                            \
    name##_body();                                                                           \
    if (failalloc::live_blocks() != blocks) unit::fail(__FILE__, __LINE__, "no block lost"); \
  }                                                                                          \
  static void name##_body()

#endif  // PLINTH_TESTS_CHECKS_H

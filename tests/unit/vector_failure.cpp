// Refused requests, allocation failures and failed element copies of
// std::vector: a constructor yields an empty vector without a block, anything
// else leaves the vector as it was, and nothing leaks.
#include <pthread.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "support/checks.h"

namespace {

using unit::counters_are;
using unit::empty_without_block;
using unit::escape;
using unit::FailedAllocation;
using unit::snapshot;
using unit::Snapshot;

template <typename _T>
bool holds(const std::vector<_T>& v, size_t size, size_t capacity, const _T& value) {
  if (v.size() != size || v.capacity() != capacity) return false;
  for (size_t i = 0; i < size; ++i) {
    if (!(v[i] == value)) return false;
  }
  return true;
}

// Its copies fail on demand and tell through its copy check; a failed copy
// has lost its value, as a string that ran out of memory has.
struct Fragile {
  static unsigned sCopies;
  static unsigned sFailAt;  // the copy that fails; 0: none
  static long sLive;

  explicit Fragile(int v = 0) : value(v), whole(true) { ++sLive; }
  Fragile(const Fragile& other) : value(other.value), whole(++sCopies != sFailAt) {
    if (!whole) value = -1;
    ++sLive;
  }
  Fragile& operator=(const Fragile& other) {
    value = other.value;
    return *this;
  }
  ~Fragile() { --sLive; }
  bool operator==(const Fragile& other) const { return value == other.value; }

  int value;
  bool whole;
};

unsigned Fragile::sCopies = 0;
unsigned Fragile::sFailAt = 0;
long Fragile::sLive = 0;

}  // namespace

namespace kestrel {
template <>
struct copy_check<Fragile> {
  static bool succeeded(const Fragile& copy, const Fragile&) { return copy.whole; }
};
}  // namespace kestrel

namespace {

// The n-th Fragile copy from now fails.
class FailedCopy {
 public:
  explicit FailedCopy(unsigned n) { Fragile::sFailAt = Fragile::sCopies + n; }
  bool end() const {
    const bool failed = Fragile::sCopies >= Fragile::sFailAt;
    Fragile::sFailAt = 0;
    return failed;
  }
  static long live() { return Fragile::sLive; }
};

// Runs attempt(n) for n = 1, 2, ... until an attempt meets no failure; each
// must give back all it took.
template <typename _Failure, typename _Attempt>
void each_failure(_Attempt attempt) {
  for (unsigned n = 1; n < 64; ++n) {
    const long live = _Failure::live();
    const bool failed = attempt(n);
    EXPECT(_Failure::live() == live);
    if (!failed) return;
  }
  EXPECT(!"every attempt failed");
}

// Every operation that copies elements, with the failure at each allocation
// or copy it makes in turn: a failed copy fails the operation. Each scenario
// runs twice (FAILED_COPY_TESTS): with std::string, whose copy that ran out
// of memory comes out empty (its copy check; strings take the relocating
// path, so growth copies none of them), and with Fragile, whose copy check
// the user declared (the copying path, where growth and reserve copy every
// element, each copy able to fail).
template <typename _T, typename _Failure>
void failed_copy_fails_push_back(const _T& kept, const _T& added) {
  for (size_t room = 0; room < 2; ++room) {
    each_failure<_Failure>([&](unsigned n) -> bool {
      std::vector<_T> v(2, kept);
      v.reserve(2 + room);
      const _Failure failure(n);
      v.push_back(added);
      const bool failed = failure.end();
      EXPECT(failed ? holds(v, 2, 2 + room, kept) : v.size() == 3 && v[2] == added);
      return failed;
    });
  }
}

// resize's first failure is already its own: the fill value is the caller's
// object, never a copy that could have come out empty.
template <typename _T, typename _Failure>
void failed_copy_fails_resize(const _T& kept, const _T& added) {
  for (size_t room = 0; room < 2; ++room) {
    each_failure<_Failure>([&](unsigned n) -> bool {
      std::vector<_T> v(2, kept);
      v.reserve(2 + 3 * room);
      const _Failure failure(n);
      v.resize(5, added);
      const bool failed = failure.end();
      EXPECT(failed ? holds(v, 2, 2 + 3 * room, kept) : v.size() == 5 && v[4] == added);
      return failed;
    });
  }
}

template <typename _T, typename _Failure>
void failed_copy_fails_reserve(const _T& kept, const _T&) {
  each_failure<_Failure>([&](unsigned n) -> bool {
    std::vector<_T> v(2, kept);
    const Snapshot before = snapshot(v);
    const _Failure failure(n);
    const bool reserved = v.reserve(10);
    const bool failed = failure.end();
    EXPECT(failed ? !reserved && before == snapshot(v) && holds(v, 2, 2, kept) : reserved);
    return failed;
  });
}

template <typename _T, typename _Failure>
void failed_copy_fails_counted_construction(const _T&, const _T& added) {
  each_failure<_Failure>([&](unsigned n) -> bool {
    const _Failure failure(n);
    std::vector<_T> counted(3, added);
    const bool failed = failure.end();
    EXPECT(failed ? empty_without_block(counted) : holds(counted, 3, 3, added));
    return failed;
  });
}

template <typename _T, typename _Failure>
void failed_copy_fails_range_construction(const _T&, const _T& added) {
  const std::vector<_T> source(3, added);
  each_failure<_Failure>([&](unsigned n) -> bool {
    const _Failure failure(n);
    std::vector<_T> range(source.begin(), source.end());
    const bool failed = failure.end();
    EXPECT(failed ? empty_without_block(range) : holds(range, 3, 3, added));
    return failed;
  });
}

template <typename _T, typename _Failure>
void failed_copy_fails_copy_construction(const _T&, const _T& added) {
  const std::vector<_T> source(3, added);
  each_failure<_Failure>([&](unsigned n) -> bool {
    const _Failure failure(n);
    std::vector<_T> copy(source);
    const bool failed = failure.end();
    EXPECT(failed ? empty_without_block(copy) : holds(copy, 3, 3, added));
    return failed;
  });
}

template <typename _T, typename _Failure>
void failed_copy_fails_copy_assignment(const _T& kept, const _T& added) {
  const std::vector<_T> source(3, added);
  each_failure<_Failure>([&](unsigned n) -> bool {
    std::vector<_T> target(2, kept);
    const Snapshot before = snapshot(target);
    const _Failure failure(n);
    target = source;
    const bool failed = failure.end();
    EXPECT(failed ? before == snapshot(target) && holds(target, 2, 2, kept)
                  : holds(target, 3, 3, added));
    return failed;
  });
}

}  // namespace

// Counts of max_size() or more never reach the allocator.
TEST(oversized_or_reversed_construction_gives_no_block) {
  const bool counting = failalloc::active();
  const unsigned requests = failalloc::requests();
  const size_t max = std::vector<int>().max_size();
  std::vector<int> at_max(max);
  std::vector<int> all_bits(size_t(-1), 1);
  std::vector<int> negative(-1, 5);  // two ints: a count that converts to a huge one
  CtorDtorCounter c;
  CtorDtorCounter::reset();
  std::vector<CtorDtorCounter> counted(size_t(-1), c);  // max_size() of a one-byte type
  escape(at_max), escape(all_bits), escape(negative), escape(counted);
  EXPECT(empty_without_block(at_max));
  EXPECT(empty_without_block(all_bits));
  EXPECT(empty_without_block(negative));
  EXPECT(empty_without_block(counted));
  EXPECT(counters_are(0, 0, 0, 0));
  if (counting) EXPECT(failalloc::requests() == requests);

  std::vector<int> src(3, 1);
  std::vector<int> reversed(src.end(), src.begin());
  escape(reversed);
  EXPECT(empty_without_block(reversed));
}

// A block never spans PTRDIFF_MAX bytes or more, so end() - begin() is
// exact; larger requests never reach the allocator, and neither does a
// self-assignment.
TEST(refused_reserve_and_resize_change_nothing) {
  EXPECT(std::vector<char>().max_size() == size_t(PTRDIFF_MAX));
  EXPECT(std::vector<int>().max_size() == size_t(PTRDIFF_MAX) / sizeof(int));
  std::vector<int> ints(10, 7);
  std::vector<char> chars;
  const Snapshot before = snapshot(ints);
  const bool counting = failalloc::active();
  const unsigned requests = failalloc::requests();
  EXPECT(!ints.reserve(9));
  EXPECT(!ints.reserve(ints.max_size() + 1));
  EXPECT(!chars.reserve(size_t(PTRDIFF_MAX) + 1));
  ints.resize(ints.max_size() + 1);
  ints.resize(10, 3);
  std::vector<int>& same = ints;
  ints = same;  // self-assignment: nothing to do
  chars.resize(size_t(PTRDIFF_MAX) + 1);
  escape(chars);
  EXPECT(before == snapshot(ints) && empty_without_block(chars));
  EXPECT(ints[0] == 7 && ints[9] == 7);
  if (counting) EXPECT(failalloc::requests() == requests);
}

// Plain data too large for the stack: 1 MB elements, grown on a thread
// whose whole stack is 256 KB, the value being an element itself.
struct Huge {
  char bytes[1 << 20];
};

void* grow_huge(void* arg) {
  std::vector<Huge>& v = *static_cast<std::vector<Huge>*>(arg);
  v.push_back(v[0]);
  v.resize(4, v[1]);
  v.reserve(8);
  v.push_back(v[3]);
  return 0;
}

TEST(large_plain_elements_are_never_copied_to_the_stack) {
  std::vector<Huge> v(1);
  v[0].bytes[0] = 'a';
  v[0].bytes[sizeof(Huge) - 1] = 'z';
  pthread_attr_t attr;
  pthread_t thread;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 256 << 10);
  EXPECT(pthread_create(&thread, &attr, grow_huge, &v) == 0 && pthread_join(thread, 0) == 0);
  pthread_attr_destroy(&attr);
  bool copied = v.size() == 5;
  for (size_t i = 0; copied && i < v.size(); ++i)
    copied = v[i].bytes[0] == 'a' && v[i].bytes[sizeof(Huge) - 1] == 'z';
  EXPECT(copied);
}

FAILURE_TEST(failed_construction_gives_no_block) {
  CtorDtorCounter c;
  std::vector<int> src(3, 1);
  CtorDtorCounter::reset();
  failalloc::fail_nth(1);
  std::vector<int> counted(10, 1);
  failalloc::fail_nth(1);
  std::vector<int> range(src.begin(), src.end());
  failalloc::fail_nth(1);
  std::vector<int> copy(src);
  failalloc::fail_nth(1);
  std::vector<CtorDtorCounter> objects(10, c);
  escape(counted), escape(range), escape(copy), escape(objects);
  EXPECT(empty_without_block(counted));
  EXPECT(empty_without_block(range));
  EXPECT(empty_without_block(copy));
  EXPECT(empty_without_block(objects));
  EXPECT(counters_are(0, 0, 0, 0));
}

// POD reserve fails in realloc, class reserve in malloc; either way the old
// block and its elements stay.
FAILURE_TEST(failed_reserve_keeps_block_and_elements) {
  std::vector<int> ints(5, 7);
  const Snapshot before = snapshot(ints);
  failalloc::fail_nth(1);
  EXPECT(!ints.reserve(100));
  EXPECT(before == snapshot(ints));
  EXPECT(ints[0] == 7 && ints[4] == 7);

  CtorDtorCounter c;
  std::vector<CtorDtorCounter> counted(5, c);
  const Snapshot counted_before = snapshot(counted);
  CtorDtorCounter::reset();
  failalloc::fail_nth(1);
  EXPECT(!counted.reserve(100));
  EXPECT(counted_before == snapshot(counted));
  EXPECT(counters_are(0, 0, 0, 0));
}

FAILURE_TEST(failed_growth_appends_nothing) {
  std::vector<int> ints(2, 7);
  const Snapshot before = snapshot(ints);
  failalloc::fail_nth(1);
  ints.push_back(9);
  EXPECT(before == snapshot(ints));
  failalloc::fail_nth(1);
  ints.resize(50, 9);
  EXPECT(before == snapshot(ints));
  EXPECT(ints[0] == 7 && ints[1] == 7);
  ints.push_back(9);  // the next attempt succeeds
  EXPECT(ints.size() == 3 && ints.capacity() == 4 && ints[2] == 9);

  CtorDtorCounter c;
  std::vector<CtorDtorCounter> counted(2, c);
  const Snapshot counted_before = snapshot(counted);
  CtorDtorCounter::reset();
  failalloc::fail_nth(1);
  counted.resize(50, c);
  failalloc::fail_nth(1);
  counted.push_back(c);
  EXPECT(counted_before == snapshot(counted));
  EXPECT(counters_are(0, 0, 0, 0));
}

FAILURE_TEST(failed_copy_assignment_keeps_the_target_and_leaks_nothing) {
  std::vector<std::string> source(3, std::string("source"));
  std::vector<std::string> target(2, std::string("target"));
  const Snapshot before = snapshot(target);
  failalloc::fail_nth(1);
  target = source;
  EXPECT(before == snapshot(target) && target[1] == "target");
  EXPECT(source.size() == 3 && source[2] == "source");
}

// One scenario above as two tests: std::string elements whose allocations
// are refused, and Fragile elements whose copies fail.
#define FAILED_COPY_TESTS(scenario)                                                     \
  FAILURE_TEST(scenario##_with_strings) {                                               \
    scenario<std::string, FailedAllocation>(std::string("kept"), std::string("added")); \
  }                                                                                     \
  TEST(scenario##_with_checked_copies) { scenario<Fragile, FailedCopy>(Fragile(1), Fragile(2)); }

FAILED_COPY_TESTS(failed_copy_fails_push_back)
FAILED_COPY_TESTS(failed_copy_fails_resize)
FAILED_COPY_TESTS(failed_copy_fails_reserve)
FAILED_COPY_TESTS(failed_copy_fails_counted_construction)
FAILED_COPY_TESTS(failed_copy_fails_range_construction)
FAILED_COPY_TESTS(failed_copy_fails_copy_construction)
FAILED_COPY_TESTS(failed_copy_fails_copy_assignment)

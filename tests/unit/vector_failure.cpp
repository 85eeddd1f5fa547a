// Refused requests, allocation failures and failed element copies of
// std::vector: a constructor yields an empty vector without a block, anything
// else leaves the vector as it was, and nothing leaks.
#include <pthread.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "../common.h"
#include "support/failalloc.h"
#include "support/unit.h"

namespace {

void* volatile sSink;

// Lets an object escape, so the optimizer cannot drop an allocation whose
// block is never read and pretend it succeeded.
template <typename _T>
void escape(_T& object) {
  sSink = &object;
}

template <typename _T>
bool has_no_block(const std::vector<_T>& v) {
  return v.begin().base() == 0 && v.size() == 0 && v.capacity() == 0;
}

// What a refused request must leave alone.
template <typename _T>
struct Snapshot {
  explicit Snapshot(const std::vector<_T>& v)
      : block(v.begin().base()), size(v.size()), capacity(v.capacity()) {}
  bool same(const std::vector<_T>& v) const {
    return v.begin().base() == block && v.size() == size && v.capacity() == capacity;
  }
  const _T* block;
  size_t size;
  size_t capacity;
};

bool counters_are(size_t ctor, size_t copy, size_t assign, size_t dtor) {
  return CtorDtorCounter::mCtorCount == ctor && CtorDtorCounter::mCopyCtorCount == copy &&
         CtorDtorCounter::mAssignCount == assign && CtorDtorCounter::mDtorCount == dtor;
}

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

// The n-th malloc or realloc from now is refused; a string copy it hits
// comes out empty.
class FailedAllocation {
 public:
  explicit FailedAllocation(unsigned n) : mAt(failalloc::requests() + n) { failalloc::fail_nth(n); }
  // Disarms; true when the failure happened.
  bool end() const {
    failalloc::disarm();
    return failalloc::requests() >= mAt;
  }
  static long live() { return failalloc::live_blocks(); }

 private:
  unsigned mAt;
};

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
// or copy it makes in turn: a failed copy fails the operation. resize's
// first failure is already its own: the fill value is the caller's object,
// never a copy that could have come out empty.
template <typename _T, typename _Failure>
void failed_copies_fail_the_operation(const _T& kept, const _T& added) {
  typedef std::vector<_T> Vector;
  for (size_t room = 0; room < 2; ++room) {
    each_failure<_Failure>([&](unsigned n) -> bool {
      Vector v(2, kept);
      v.reserve(2 + room);
      const _Failure failure(n);
      v.push_back(added);
      const bool failed = failure.end();
      EXPECT(failed ? holds(v, 2, 2 + room, kept) : v.size() == 3 && v[2] == added);
      return failed;
    });
    each_failure<_Failure>([&](unsigned n) -> bool {
      Vector v(2, kept);
      v.reserve(2 + 3 * room);
      const _Failure failure(n);
      v.resize(5, added);
      const bool failed = failure.end();
      EXPECT(failed ? holds(v, 2, 2 + 3 * room, kept) : v.size() == 5 && v[4] == added);
      return failed;
    });
  }
  each_failure<_Failure>([&](unsigned n) -> bool {
    Vector v(2, kept);
    const Snapshot<_T> before(v);
    const _Failure failure(n);
    const bool reserved = v.reserve(10);
    const bool failed = failure.end();
    EXPECT(failed ? !reserved && before.same(v) && holds(v, 2, 2, kept) : reserved);
    return failed;
  });
  const Vector source(3, added);
  each_failure<_Failure>([&](unsigned n) -> bool {
    const _Failure failure(n);
    Vector counted(3, added);
    const bool failed = failure.end();
    EXPECT(failed ? has_no_block(counted) : holds(counted, 3, 3, added));
    return failed;
  });
  each_failure<_Failure>([&](unsigned n) -> bool {
    const _Failure failure(n);
    Vector range(source.begin(), source.end());
    const bool failed = failure.end();
    EXPECT(failed ? has_no_block(range) : holds(range, 3, 3, added));
    return failed;
  });
  each_failure<_Failure>([&](unsigned n) -> bool {
    const _Failure failure(n);
    Vector copy(source);
    const bool failed = failure.end();
    EXPECT(failed ? has_no_block(copy) : holds(copy, 3, 3, added));
    return failed;
  });
  each_failure<_Failure>([&](unsigned n) -> bool {
    Vector target(2, kept);
    const Snapshot<_T> before(target);
    const _Failure failure(n);
    target = source;
    const bool failed = failure.end();
    EXPECT(failed ? before.same(target) && holds(target, 2, 2, kept) : holds(target, 3, 3, added));
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
  EXPECT(has_no_block(at_max));
  EXPECT(has_no_block(all_bits));
  EXPECT(has_no_block(negative));
  EXPECT(has_no_block(counted));
  EXPECT(counters_are(0, 0, 0, 0));
  if (counting) EXPECT(failalloc::requests() == requests);

  std::vector<int> src(3, 1);
  std::vector<int> reversed(src.end(), src.begin());
  escape(reversed);
  EXPECT(has_no_block(reversed));
}

// A block never spans PTRDIFF_MAX bytes or more, so end() - begin() is
// exact; larger requests never reach the allocator.
TEST(refused_reserve_and_resize_change_nothing) {
  EXPECT(std::vector<char>().max_size() == size_t(PTRDIFF_MAX));
  EXPECT(std::vector<int>().max_size() == size_t(PTRDIFF_MAX) / sizeof(int));
  std::vector<int> ints(10, 7);
  std::vector<char> chars;
  const Snapshot<int> before(ints);
  const bool counting = failalloc::active();
  const unsigned requests = failalloc::requests();
  EXPECT(!ints.reserve(9));
  EXPECT(!ints.reserve(ints.max_size() + 1));
  EXPECT(!chars.reserve(size_t(PTRDIFF_MAX) + 1));
  ints.resize(ints.max_size() + 1);
  ints.resize(10, 3);
  chars.resize(size_t(PTRDIFF_MAX) + 1);
  escape(chars);
  EXPECT(before.same(ints) && has_no_block(chars));
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

TEST(failed_construction_gives_no_block) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  const long blocks = failalloc::live_blocks();
  {
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
    EXPECT(has_no_block(counted));
    EXPECT(has_no_block(range));
    EXPECT(has_no_block(copy));
    EXPECT(has_no_block(objects));
    EXPECT(counters_are(0, 0, 0, 0));
  }
  EXPECT(failalloc::live_blocks() == blocks);
}

// POD reserve fails in realloc, class reserve in malloc; either way the old
// block and its elements stay.
TEST(failed_reserve_keeps_block_and_elements) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  const long blocks = failalloc::live_blocks();
  {
    std::vector<int> ints(5, 7);
    const Snapshot<int> before(ints);
    failalloc::fail_nth(1);
    EXPECT(!ints.reserve(100));
    EXPECT(before.same(ints));
    EXPECT(ints[0] == 7 && ints[4] == 7);

    CtorDtorCounter c;
    std::vector<CtorDtorCounter> counted(5, c);
    const Snapshot<CtorDtorCounter> counted_before(counted);
    CtorDtorCounter::reset();
    failalloc::fail_nth(1);
    EXPECT(!counted.reserve(100));
    EXPECT(counted_before.same(counted));
    EXPECT(counters_are(0, 0, 0, 0));
  }
  EXPECT(failalloc::live_blocks() == blocks);
}

TEST(failed_growth_appends_nothing) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  const long blocks = failalloc::live_blocks();
  {
    std::vector<int> ints(2, 7);
    const Snapshot<int> before(ints);
    failalloc::fail_nth(1);
    ints.push_back(9);
    EXPECT(before.same(ints));
    failalloc::fail_nth(1);
    ints.resize(50, 9);
    EXPECT(before.same(ints));
    EXPECT(ints[0] == 7 && ints[1] == 7);
    ints.push_back(9);  // the next attempt succeeds
    EXPECT(ints.size() == 3 && ints.capacity() == 4 && ints[2] == 9);

    CtorDtorCounter c;
    std::vector<CtorDtorCounter> counted(2, c);
    const Snapshot<CtorDtorCounter> counted_before(counted);
    CtorDtorCounter::reset();
    failalloc::fail_nth(1);
    counted.resize(50, c);
    failalloc::fail_nth(1);
    counted.push_back(c);
    EXPECT(counted_before.same(counted));
    EXPECT(counters_are(0, 0, 0, 0));
  }
  EXPECT(failalloc::live_blocks() == blocks);
}

TEST(failed_copy_assignment_keeps_the_target_and_leaks_nothing) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  const long blocks = failalloc::live_blocks();
  {
    std::vector<std::string> source(3, std::string("source"));
    std::vector<std::string> target(2, std::string("target"));
    const Snapshot<std::string> before(target);
    failalloc::fail_nth(1);
    target = source;
    EXPECT(before.same(target) && target[1] == "target");
    EXPECT(source.size() == 3 && source[2] == "source");
  }
  EXPECT(failalloc::live_blocks() == blocks);
}

// A string copy that ran out of memory comes out empty: std::string's copy
// check. Strings take the relocating path, so growth copies none of them.
TEST(failed_string_copies_fail_the_operation) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  failed_copies_fail_the_operation<std::string, FailedAllocation>(std::string("kept"),
                                                                  std::string("added"));
}

// A copy check declared by the user's type; the copying path, where growth
// and reserve copy every element, each copy able to fail.
TEST(failed_checked_copies_fail_the_operation) {
  failed_copies_fail_the_operation<Fragile, FailedCopy>(Fragile(1), Fragile(2));
}

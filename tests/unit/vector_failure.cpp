// Refused requests and allocation failures of std::vector: a constructor
// yields an empty vector without a block, anything else leaves the vector as
// it was, and nothing leaks.
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

TEST(refused_reserve_and_resize_change_nothing) {
  std::vector<int> ints(10, 7);
  const Snapshot<int> before(ints);
  const bool counting = failalloc::active();
  const unsigned requests = failalloc::requests();
  EXPECT(!ints.reserve(9));
  EXPECT(!ints.reserve(ints.max_size() + 1));
  ints.resize(ints.max_size() + 1);
  ints.resize(10, 3);
  EXPECT(before.same(ints));
  EXPECT(ints[0] == 7 && ints[9] == 7);
  if (counting) EXPECT(failalloc::requests() == requests);
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
    EXPECT(counters_are(0, 1, 0, 1));  // only resize's by-value argument
  }
  EXPECT(failalloc::live_blocks() == blocks);
}

TEST(failed_copy_assignment_empties_the_target_and_leaks_nothing) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  const long blocks = failalloc::live_blocks();
  {
    std::vector<std::string> source(3, std::string("source"));
    std::vector<std::string> target(2, std::string("target"));
    failalloc::fail_nth(1);
    target = source;
    EXPECT(has_no_block(target));
    EXPECT(source.size() == 3 && source[2] == "source");
  }
  EXPECT(failalloc::live_blocks() == blocks);
}

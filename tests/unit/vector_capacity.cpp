// std::vector capacity: the growth schedule, exact reserve and resize, and
// the constructor that takes two integers as a count and a value.
#include <string>
#include <vector>

#include "../common.h"
#include "support/unit.h"

namespace {

// Pushes until the size reaches `count` and records every capacity reached on
// the way; returns how many were recorded.
template <typename _T>
int growth_schedule(std::vector<_T>& v, size_t count, size_t* capacities, int max) {
  int n = 0;
  size_t last = v.capacity();
  while (v.size() < count && n < max) {
    v.push_back(_T());
    if (v.capacity() != last) capacities[n++] = last = v.capacity();
  }
  return n;
}

}  // namespace

TEST(growth_doubles_to_512_then_adds_256) {
  size_t got[32];
  std::vector<int> ints;
  const int n = growth_schedule(ints, 3000, got, 32);
  const size_t want[] = {2,    4,    8,    16,   32,   64,   128,  256,  512, 768,
                         1024, 1280, 1536, 1792, 2048, 2304, 2560, 2816, 3072};
  EXPECT(n == int(sizeof(want) / sizeof(want[0])));
  for (int i = 0; i < n && i < int(sizeof(want) / sizeof(want[0])); ++i) EXPECT(got[i] == want[i]);
  EXPECT(ints.size() == 3000 && ints[2999] == 0);

  // The class path follows the same schedule.
  std::vector<CtorDtorCounter> counted;
  EXPECT(growth_schedule(counted, 600, got, 32) == 10);
  EXPECT(got[0] == 2 && got[7] == 256 && got[8] == 512 && got[9] == 768);
}

// Only a capacity above 256 grows linearly, whatever produced it.
TEST(growth_from_capacities_set_by_reserve) {
  std::vector<int> v;
  EXPECT(v.reserve(257));
  v.resize(257);
  v.push_back(1);
  EXPECT(v.capacity() == 513);

  std::vector<int> w(256);
  w.push_back(1);
  EXPECT(w.capacity() == 512);
}

// reserve sets the capacity to exactly the request, even an equal one, and
// the class path then copies every element and destroys every original.
TEST(reserve_rebuilds_the_class_block_even_at_the_same_capacity) {
  CtorDtorCounter c;
  std::vector<CtorDtorCounter> v(10, c);
  CtorDtorCounter::reset();
  EXPECT(v.reserve(10));
  EXPECT(v.capacity() == 10 && v.size() == 10);
  EXPECT(c.mCopyCtorCount == 10 && c.mDtorCount == 10);
  EXPECT(c.mCtorCount == 0 && c.mAssignCount == 0);

  EXPECT(v.reserve(100));
  EXPECT(v.reserve(20));  // shrinking to any size from the length up
  EXPECT(v.capacity() == 20 && v.size() == 10);

  std::vector<int> ints(4, 9);
  EXPECT(ints.reserve(4));
  EXPECT(ints.capacity() == 4 && ints.size() == 4 && ints[3] == 9);
  EXPECT(ints.reserve() && ints.capacity() == 4);
}

TEST(resize_fills_new_slots_with_copies_of_the_value) {
  std::vector<int> v(3, 1);
  v.resize(6, 9);
  EXPECT(v.capacity() == 6 && v.size() == 6);
  EXPECT(v[2] == 1 && v[3] == 9 && v[5] == 9);
  v.resize(2);
  v.resize(4, 5);  // slots vacated by shrinking are filled afresh
  EXPECT(v.capacity() == 6);
  EXPECT(v[1] == 1 && v[2] == 5 && v[3] == 5);

  // One copy per new element; the value is taken by reference, never copied
  // or assigned itself.
  CtorDtorCounter c;
  std::vector<CtorDtorCounter> counted;
  EXPECT(counted.reserve(10));
  CtorDtorCounter::reset();
  counted.resize(4, c);
  EXPECT(c.mCopyCtorCount == 4 && c.mAssignCount == 0 && c.mDtorCount == 0);

  // The value may be an element, also when growing moves the block.
  std::vector<std::string> strings(2, std::string("first"));
  strings[1] = "second";
  strings.resize(40, strings[1]);
  EXPECT(strings.size() == 40 && strings[0] == "first" && strings[39] == "second");
  v.resize(100, v[1]);
  EXPECT(v.size() == 100 && v[3] == 5 && v[4] == 1 && v[99] == 1);
}

// Two arguments of one integral type are a count and a value, whatever the
// type; arguments of different types take the counted constructor.
TEST(two_integers_are_a_count_and_a_value) {
  std::vector<long> longs(3L, 4L);
  EXPECT(longs.size() == 3 && longs.capacity() == 3);
  EXPECT(longs[0] == 4 && longs[2] == 4);

  std::vector<unsigned> unsigneds(3u, 7u);
  EXPECT(unsigneds.size() == 3 && unsigneds[0] == 7 && unsigneds[2] == 7);

  std::vector<double> doubles(2, 5);
  EXPECT(doubles.size() == 2 && doubles[1] == 5.0);

  // Plain pointers are a range.
  const int array[3] = {10, 20, 30};
  std::vector<int> from_pointers(array, array + 3);
  EXPECT(from_pointers.size() == 3 && from_pointers[2] == 30);
}

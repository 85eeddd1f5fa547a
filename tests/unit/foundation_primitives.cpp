// uninitialized_copy/fill, copy, fill, swap, min and max.
#include <algorithm>
#include <iterator>
#include <memory>

#include "../common.h"
#include "support/unit.h"

namespace {

struct Box {};
typedef std::__wrapper_iterator<int*, Box> IntIterator;

// A class type whose assignments can be observed in order.
struct Tagged {
  int value;
  explicit Tagged(int v = 0) : value(v) {}
  Tagged(const Tagged& other) : value(other.value) {}
  Tagged& operator=(const Tagged& other) {
    value = other.value;
    return *this;
  }
};
typedef std::__wrapper_iterator<Tagged*, Box> TaggedIterator;

// Raw, correctly aligned storage for n objects.
template <typename _T, int _N>
union Raw {
  _T* slots() { return reinterpret_cast<_T*>(bytes); }
  char bytes[_N * sizeof(_T)];
  double align;
};

}  // namespace

TEST(uninitialized_copy_makes_one_copy_per_class_element) {
  CopyCounter source[100];
  Raw<CopyCounter, 100> raw;
  CopyCounter::mCount = 0;
  CopyCounter* end = std::uninitialized_copy(source, source + 100, raw.slots());
  EXPECT(end == raw.slots() + 100);
  EXPECT(CopyCounter::mCount == 100);
}

TEST(uninitialized_copy_of_an_empty_range_creates_nothing) {
  CopyCounter source[1];
  Raw<CopyCounter, 1> raw;
  CopyCounter::mCount = 0;
  EXPECT(std::uninitialized_copy(source, source, raw.slots()) == raw.slots());
  EXPECT(CopyCounter::mCount == 0);
  int ints[4] = {1, 2, 3, 4};
  int dest[2] = {9, 9};
  IntIterator d(dest);
  EXPECT(std::uninitialized_copy(IntIterator(ints), IntIterator(ints), d) == d);
  // A reversed range on the byte path touches nothing either.
  EXPECT(std::uninitialized_copy(IntIterator(ints + 2), IntIterator(ints), d) == d);
  EXPECT(dest[0] == 9 && dest[1] == 9);
}

TEST(byte_path_returns_dest_plus_length_and_keeps_order) {
  int source[5] = {1, 2, 3, 4, 5};
  int dest[5] = {0};
  IntIterator d(dest);
  EXPECT(std::uninitialized_copy(IntIterator(source), IntIterator(source + 5), d) == d + 5);
  EXPECT(dest[0] == 1 && dest[4] == 5);
  // Overlapping ranges are allowed.
  std::uninitialized_copy(IntIterator(source), IntIterator(source + 4), IntIterator(source + 1));
  EXPECT(source[0] == 1 && source[1] == 1 && source[2] == 2 && source[4] == 4);
}

TEST(byte_copy_needs_the_same_type_on_both_sides) {
  int source[3] = {-1, 2, 3};
  long long dest[3] = {0, 0, 0};
  std::uninitialized_copy(source, source + 3, dest);
  EXPECT(dest[0] == -1 && dest[1] == 2 && dest[2] == 3);
}

TEST(uninitialized_fill_copy_constructs_each_class_slot_once) {
  Raw<CtorDtorCounter, 200> raw;
  CtorDtorCounter value;
  CtorDtorCounter::reset();
  std::uninitialized_fill(raw.slots(), raw.slots() + 200, value);
  EXPECT(CtorDtorCounter::mCopyCtorCount == 200);
  EXPECT(CtorDtorCounter::mCtorCount == 0);
  EXPECT(CtorDtorCounter::mAssignCount == 0);
  EXPECT(CtorDtorCounter::mDtorCount == 0);
  for (int i = 0; i < 200; ++i) raw.slots()[i].~CtorDtorCounter();
}

TEST(fills_treat_empty_and_reversed_ranges_as_empty) {
  int a[3] = {1, 2, 3};
  std::fill(a + 1, a + 1, 9);
  std::fill(a + 2, a, 9);
  std::uninitialized_fill(a + 2, a, 9);
  EXPECT(a[0] == 1 && a[1] == 2 && a[2] == 3);
  Raw<CtorDtorCounter, 2> raw;
  CtorDtorCounter value;
  CtorDtorCounter::reset();
  std::uninitialized_fill(raw.slots() + 2, raw.slots(), value);
  EXPECT(CtorDtorCounter::mCopyCtorCount == 0);
}

TEST(fill_assigns_plain_values_and_enumerations) {
  enum Colour { kRed, kBlue };
  Colour colours[4] = {kRed, kRed, kRed, kRed};
  std::fill(colours, colours + 4, kBlue);
  EXPECT(colours[0] == kBlue && colours[3] == kBlue);
  float f[3];
  std::uninitialized_fill(f, f + 3, 10.0f);
  EXPECT(f[0] == 10.0f && f[2] == 10.0f);
}

TEST(copy_shifts_a_range_down_by_assignment) {
  Tagged a[4] = {Tagged(1), Tagged(2), Tagged(3), Tagged(4)};
  TaggedIterator first(a);
  TaggedIterator end(a + 4);
  TaggedIterator res = std::copy(first + 1, end, first);
  EXPECT(res == first + 3);
  EXPECT(a[0].value == 2 && a[1].value == 3 && a[2].value == 4);
  EXPECT(a[3].value == 4);  // the last slot keeps its value
  EXPECT(std::copy(first, first, first + 2) == first + 2);
}

TEST(copy_counts_assignments_not_constructions) {
  CtorDtorCounter a[3];
  CtorDtorCounter::reset();
  std::copy(std::__wrapper_iterator<CtorDtorCounter*, Box>(a + 1),
            std::__wrapper_iterator<CtorDtorCounter*, Box>(a + 3), a);
  EXPECT(CtorDtorCounter::mAssignCount == 2);
  EXPECT(CtorDtorCounter::mCopyCtorCount == 0);
}

TEST(swap_min_max) {
  int x = 1, y = 2;
  int* p = &x;
  int* q = &y;
  std::swap(p, q);
  EXPECT(p == &y && q == &x);
  unsigned u = 3, v = 4;
  std::swap(u, v);
  EXPECT(u == 4 && v == 3);
  EXPECT(std::min(3, 5) == 3);
  EXPECT(std::min(5, 3) == 3);
  EXPECT(std::max(5, 3) == 5);
}

namespace {

// Records every swap; sort must exchange elements only through it.
struct Swapped {
  int key;
  static int sSwaps;
};
int Swapped::sSwaps = 0;
void swap(Swapped& a, Swapped& b) {
  ++Swapped::sSwaps;
  const int key = a.key;
  a.key = b.key;
  b.key = key;
}
bool operator<(const Swapped& a, const Swapped& b) { return a.key < b.key; }

}  // namespace

TEST(sort_orders_any_input_and_keeps_every_element) {
  int a[1000];
  unsigned seed = 12345, sum = 0;
  for (int i = 0; i < 1000; ++i) {
    seed = seed * 1103515245u + 12345u;
    a[i] = static_cast<int>(seed >> 16) % 100;  // many duplicates
    sum += a[i];
  }
  std::sort(IntIterator(a), IntIterator(a + 1000));
  unsigned after = 0;
  bool ordered = true;
  for (int i = 0; i < 1000; ++i) {
    after += a[i];
    if (i > 0 && a[i - 1] > a[i]) ordered = false;
  }
  EXPECT(ordered);
  EXPECT(after == sum);
}

TEST(sort_takes_an_ordering_and_leaves_short_ranges_alone) {
  int a[5] = {3, 1, 4, 1, 5};
  std::sort(a, a + 5);
  EXPECT(a[0] == 1 && a[1] == 1 && a[2] == 3 && a[3] == 4 && a[4] == 5);
  struct Greater {
    bool operator()(int x, int y) const { return x > y; }
  };
  std::sort(a, a + 5, Greater());
  EXPECT(a[0] == 5 && a[4] == 1);
  std::sort(a + 2, a + 2);
  std::sort(a + 3, a + 1);  // reversed: nothing happens
  std::sort(a + 4, a + 5);
  EXPECT(a[0] == 5 && a[1] == 4 && a[2] == 3 && a[3] == 1 && a[4] == 1);
}

TEST(sort_exchanges_elements_through_their_own_swap) {
  Swapped s[4] = {{4}, {3}, {2}, {1}};
  Swapped::sSwaps = 0;
  std::sort(s, s + 4);
  EXPECT(s[0].key == 1 && s[3].key == 4);
  EXPECT(Swapped::sSwaps > 0);
}

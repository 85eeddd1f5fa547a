// The sorts against a reference insertion sort, over inputs of every shape:
// sort, stable_sort (with and without its buffer), partial_sort and
// nth_element. Also builds against the system library (PLINTH_CONTROL).
#include <algorithm>
#include <string>
#include <vector>

#include "support/failalloc.h"
#include "support/unit.h"

namespace {

unsigned sSeed = 1;
unsigned next_random() {
  sSeed ^= sSeed << 13;
  sSeed ^= sSeed >> 17;
  sSeed ^= sSeed << 5;
  return sSeed;
}

// A key, and the position it was made at: sorting by key alone, equal keys
// must keep their positions in order for a stable sort.
struct Item {
  int key;
  int seq;
  bool operator==(const Item& other) const { return key == other.key && seq == other.seq; }
};
bool by_key(const Item& a, const Item& b) { return a.key < b.key; }
bool by_key_down(const Item& a, const Item& b) { return a.key > b.key; }

enum Shape { kRandom, kFewKeys, kSorted, kReversed, kOrganPipe, kAllEqual, kShapes };
const int kSizes[] = {0, 1, 2, 3, 15, 16, 17, 31, 100, 1000, 3000};

std::vector<Item> make(Shape shape, int n) {
  std::vector<Item> v;
  for (int i = 0; i < n; ++i) {
    const int keys[kShapes] = {
        int(next_random() % 100000), int(next_random() % 4), i, n - i, i < n / 2 ? i : n - i, 7};
    const Item item = {keys[shape], i};
    v.push_back(item);
  }
  return v;
}

// Stable by construction: an element passes only strictly greater ones.
template <typename _Compare>
std::vector<Item> reference_sort(std::vector<Item> v, _Compare comp) {
  for (size_t i = 1; i < v.size(); ++i)
    for (size_t j = i; j > 0 && comp(v[j], v[j - 1]); --j) std::swap(v[j], v[j - 1]);
  return v;
}

template <typename _T>
bool same(const std::vector<_T>& a, const std::vector<_T>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

bool same_keys(const std::vector<Item>& a, const std::vector<Item>& b, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i)
    if (a[i].key != b[i].key) return false;
  return true;
}

// Runs `check` over every shape and size, both orderings.
template <typename _Check>
void for_each_input(_Check check) {
  for (int shape = 0; shape < kShapes; ++shape)
    for (size_t s = 0; s < sizeof kSizes / sizeof kSizes[0]; ++s) {
      check(make(Shape(shape), kSizes[s]), by_key);
      check(make(Shape(shape), kSizes[s]), by_key_down);
    }
}

struct CheckSort {
  template <typename _Compare>
  void operator()(std::vector<Item> v, _Compare comp) const {
    const std::vector<Item> want = reference_sort(v, comp);
    std::sort(v.begin(), v.end(), comp);
    EXPECT(same_keys(v, want, 0, v.size()));
    // Permutation: the positions, sorted back, are 0..n-1 again.
    std::vector<int> seqs;
    for (size_t i = 0; i < v.size(); ++i) seqs.push_back(v[i].seq);
    std::sort(seqs.begin(), seqs.end());
    for (size_t i = 0; i < seqs.size(); ++i) EXPECT(seqs[i] == int(i));
  }
};

struct CheckStableSort {
  bool mNoBuffer;
  template <typename _Compare>
  void operator()(std::vector<Item> v, _Compare comp) const {
    const std::vector<Item> want = reference_sort(v, comp);
    if (mNoBuffer) failalloc::fail_all();
    std::stable_sort(v.begin(), v.end(), comp);
    failalloc::disarm();
    EXPECT(same(v, want));
  }
};

struct CheckPartialSortAndNth {
  template <typename _Compare>
  void operator()(const std::vector<Item>& input, _Compare comp) const {
    const std::vector<Item> want = reference_sort(input, comp);
    const size_t n = input.size();
    const size_t cuts[] = {0, n / 3, n / 2, n - 1};
    for (size_t c = 0; c < sizeof cuts / sizeof cuts[0] && n > 0; ++c) {
      std::vector<Item> v = input;
      std::partial_sort(v.begin(), v.begin() + cuts[c], v.end(), comp);
      EXPECT(same_keys(v, want, 0, cuts[c]));
      std::sort(v.begin() + cuts[c], v.end(), comp);  // the rest is what remained
      EXPECT(same_keys(v, want, cuts[c], n));

      v = input;
      const std::vector<Item>::iterator nth = v.begin() + cuts[c];
      std::nth_element(v.begin(), nth, v.end(), comp);
      EXPECT(nth->key == want[cuts[c]].key);
      for (size_t i = 0; i < n; ++i) EXPECT(i < cuts[c] ? !comp(*nth, v[i]) : !comp(v[i], *nth));
    }
  }
};

// Counts comparisons, to bound the work on inputs that break naive sorts.
struct CountingLess {
  long* mCount;
  bool operator()(const Item& a, const Item& b) const {
    ++*mCount;
    return a.key < b.key;
  }
};

}  // namespace

TEST(sort_orders_every_shape_and_keeps_every_element) { for_each_input(CheckSort()); }

TEST(stable_sort_keeps_equal_elements_in_order_with_its_buffer) {
  const CheckStableSort check = {false};
  for_each_input(check);
}

TEST(stable_sort_without_memory_merges_in_place_just_as_well) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  const CheckStableSort check = {true};
  for_each_input(check);
}

TEST(partial_sort_and_nth_element_agree_with_a_full_sort) {
  for_each_input(CheckPartialSortAndNth());
}

TEST(sorts_do_n_log_n_comparisons_on_ordered_and_repetitive_input) {
  const int n = 20000;  // log2(n) < 15
  for (int shape = kFewKeys; shape < kShapes; ++shape) {
    long count = 0;
    const CountingLess comp = {&count};
    std::vector<Item> v = make(Shape(shape), n);
    std::sort(v.begin(), v.end(), comp);
    EXPECT(count < 4L * n * 15);
#ifndef PLINTH_CONTROL
    if (shape == kSorted || shape == kReversed || shape == kAllEqual) EXPECT(count < 4L * n);
#endif
    count = 0;
    v = make(Shape(shape), n);
    std::nth_element(v.begin(), v.begin() + n / 2, v.end(), comp);
    EXPECT(count < 4L * n * 15);
    count = 0;
    v = make(Shape(shape), n);
    std::stable_sort(v.begin(), v.end(), comp);
    EXPECT(count < 4L * n * 15);
#ifndef PLINTH_CONTROL
    if (shape == kSorted || shape == kReversed || shape == kAllEqual) EXPECT(count < 4L * n);
#endif
  }
}

// A string is only ever exchanged or moved: sorting never allocates, and
// with stable_sort's buffer refused every string still comes through whole.
TEST(sorting_strings_allocates_nothing_and_loses_nothing) {
  std::vector<std::string> v;
  for (int i = 0; i < 500; ++i) {
    const char text[] = {char('a' + next_random() % 26), char('a' + i % 26), char('a' + i / 26), 0};
    v.push_back(std::string(text));
  }
  std::vector<std::string> ref = v;
  for (size_t i = 1; i < ref.size(); ++i)
    for (size_t j = i; j > 0 && ref[j] < ref[j - 1]; --j) ref[j].swap(ref[j - 1]);
  std::vector<std::string> w = v;
  const unsigned before = failalloc::requests();
  std::sort(v.begin(), v.end());
  std::nth_element(w.begin(), w.begin() + 100, w.end());
  std::partial_sort(w.begin(), w.begin() + 100, w.end());
  EXPECT(failalloc::requests() == before);
  EXPECT(same(v, ref));
  for (int i = 0; i < 100; ++i) EXPECT(w[i] == ref[i]);
  if (!failalloc::active()) return;
  for (int refuse = 0; refuse < 2; ++refuse) {
    w = v;
    std::reverse(w.begin(), w.end());
    if (refuse) failalloc::fail_all();
    std::stable_sort(w.begin(), w.end());
    failalloc::disarm();
    EXPECT(same(w, ref));
  }
}

#ifndef PLINTH_CONTROL
namespace {

// No copy may happen while sorting a class type: it is exchanged only.
struct NoCopy {
  int key;
  static int sCopies;
  explicit NoCopy(int k) : key(k) {}
  NoCopy(const NoCopy& other) : key(other.key) { ++sCopies; }
  NoCopy& operator=(const NoCopy& other) {
    key = other.key;
    ++sCopies;
    return *this;
  }
};
int NoCopy::sCopies = 0;
void swap(NoCopy& a, NoCopy& b) {
  const int key = a.key;
  a.key = b.key;
  b.key = key;
}
bool operator<(const NoCopy& a, const NoCopy& b) { return a.key < b.key; }

}  // namespace

TEST(sorts_exchange_class_elements_without_copying_them) {
  std::vector<NoCopy> v;
  for (int i = 0; i < 300; ++i) v.push_back(NoCopy(int(next_random() % 50)));
  NoCopy::sCopies = 0;
  const unsigned before = failalloc::requests();
  std::stable_sort(v.begin(), v.end());  // not relocatable: merged in place
  for (int i = 1; i < 300; ++i) EXPECT(!(v[i] < v[i - 1]));
  std::reverse(v.begin(), v.end());
  std::sort(v.begin(), v.end());
  std::nth_element(v.begin(), v.begin() + 10, v.end());
  std::partial_sort(v.begin(), v.begin() + 10, v.end());
  EXPECT(NoCopy::sCopies == 0);
  EXPECT(failalloc::requests() == before);
}

// One buffer of half the range from malloc, returned before the end.
TEST(stable_sort_takes_one_buffer_and_frees_it) {
  if (!failalloc::active()) return unit::skip("allocation requests cannot be counted");
  std::vector<Item> v = make(kRandom, 1000);
  const unsigned before = failalloc::requests();
  const long live = failalloc::live_blocks();
  std::stable_sort(v.begin(), v.end(), by_key);
  EXPECT(failalloc::requests() == before + 1);
  EXPECT(failalloc::live_blocks() == live);
}

TEST(sorts_leave_reversed_and_misplaced_ranges_alone) {
  int a[5] = {5, 4, 3, 2, 1};
  std::sort(a + 4, a + 1);
  std::stable_sort(a + 4, a + 1);
  std::partial_sort(a + 3, a + 1, a + 5);  // middle before first
  std::partial_sort(a, a + 5, a + 3);      // middle after last
  std::nth_element(a, a + 5, a + 5);       // nth at the end
  std::nth_element(a + 2, a + 1, a + 5);   // nth before first
  EXPECT(a[0] == 5 && a[1] == 4 && a[2] == 3 && a[3] == 2 && a[4] == 1);
}
#endif

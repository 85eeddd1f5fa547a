// std::vector growth and removal by relocation: a type declared relocatable
// grows with realloc and closes gaps with memmove, and is never copied,
// assigned or destroyed for either; any other class type is copied and
// assigned element by element with exact counts.
#include <string>
#include <vector>

#include "support/checks.h"

namespace {

// Counts its copies and destructions, and records its own address, which a
// copy keeps right and a move as bytes does not.
template <bool _Relocatable>
struct Item {
  static size_t sCopies;
  static size_t sDestroyed;
  static size_t sAssigned;

  explicit Item(int v = 0) : value(v), self(this) {}
  Item(const Item& other) : value(other.value), self(this) { ++sCopies; }
  Item& operator=(const Item& other) {
    value = other.value;
    ++sAssigned;
    return *this;
  }
  ~Item() { ++sDestroyed; }

  static void reset() { sCopies = sDestroyed = sAssigned = 0; }
  static bool counts_are(size_t copies, size_t destroyed) {
    return sCopies == copies && sDestroyed == destroyed;
  }

  int value;
  const Item* self;
};

template <bool _Relocatable>
size_t Item<_Relocatable>::sCopies = 0;
template <bool _Relocatable>
size_t Item<_Relocatable>::sDestroyed = 0;
template <bool _Relocatable>
size_t Item<_Relocatable>::sAssigned = 0;

typedef Item<true> Moved;
typedef Item<false> Anchored;

// Pushes values 0 to n - 1, each a copy of one outside object.
template <typename _T>
void push_values(std::vector<_T>& v, int n) {
  _T item;
  for (int i = 0; i < n; ++i) {
    item.value = i;
    v.push_back(item);
  }
}

template <typename _T>
bool values_run_up(const std::vector<_T>& v) {
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i].value != int(i)) return false;
  }
  return true;
}

}  // namespace

// Plain data its user declares not relocatable.
struct Pinned {
  int value;
};

namespace kestrel {
template <>
struct is_relocatable<Moved> : std::true_type {};
template <>
struct is_relocatable<Pinned> : std::false_type {};
}  // namespace kestrel

TEST(relocatable_elements_grow_without_copies) {
  std::vector<Moved> v;
  Moved::reset();
  push_values(v, 1000);
  EXPECT(Moved::counts_are(1000, 1));  // the appended copies; the pushed object
  EXPECT(v.capacity() == 1024 && values_run_up(v));
  Moved::reset();
  EXPECT(v.reserve(1500) && v.reserve(0));
  v.push_back(v[0]);  // an own element, read where the block moved to
  EXPECT(Moved::counts_are(1, 0) && v.capacity() == 1256 && v[1000].value == 0);

  // Removal still destroys the removed elements; the tail moves as bytes.
  Moved::reset();
  v.pop_back();
  v.erase(v.begin() + 10, v.begin() + 20);
  v.erase(v.begin());
  EXPECT(Moved::counts_are(0, 12) && Moved::sAssigned == 0);
  EXPECT(v.size() == 989 && v[0].value == 1 && v[9].value == 20 && v[988].value == 999);
  v.clear();
  EXPECT(Moved::counts_are(0, 1001));
}

// The old elements stay where they were and nothing is copied or destroyed.
FAILURE_TEST(failed_relocating_reserve_changes_nothing) {
  std::vector<Moved> v;
  push_values(v, 4);
  const Moved* block = v.begin().base();
  Moved::reset();
  failalloc::fail_nth(1);
  EXPECT(!v.reserve(100));
  failalloc::fail_nth(1);
  v.push_back(v[0]);
  EXPECT(Moved::counts_are(0, 0) && v.begin().base() == block);
  EXPECT(v.size() == 4 && v.capacity() == 4 && values_run_up(v));
}

// Each reallocation copies every element and destroys the originals, so
// 1000 push_backs copy 1000 + (2 + 4 + ... + 256 + 512 + 768) times.
TEST(other_class_elements_are_copied_with_exact_counts) {
  std::vector<Anchored> v;
  Anchored::reset();
  push_values(v, 1000);
  EXPECT(Anchored::counts_are(1000 + 1790, 1790 + 1));
  EXPECT(v.capacity() == 1024 && values_run_up(v));
  Anchored::reset();
  EXPECT(v.reserve(1000));
  v.push_back(v[999]);  // read from the old block, before it goes
  EXPECT(Anchored::counts_are(2001, 2000) && v[1000].value == 999);
  bool anchored = true;
  for (size_t i = 0; i < v.size(); ++i) anchored = anchored && v[i].self == &v[i];
  EXPECT(anchored);
}

// The tail is assigned down and the surplus slots destroyed.
TEST(other_class_elements_are_assigned_down_on_erase) {
  std::vector<Anchored> v;
  push_values(v, 10);
  Anchored::reset();
  v.erase(v.begin() + 2, v.begin() + 5);
  EXPECT(Anchored::counts_are(0, 3) && Anchored::sAssigned == 5);
  EXPECT(v.size() == 7 && v[1].value == 1 && v[2].value == 5 && v[6].value == 9);
}

// Strings and inner vectors are relocated down, so erasing allocates nothing
// and loses no value even with every allocation refused (an assignment
// would fail and leave a stale element behind). The four values differ in
// size.
template <typename _T>
void erase_without_memory(const _T (&values)[4]) {
  std::vector<_T> v(values, values + 4);
  const long blocks = failalloc::live_blocks();
  failalloc::fail_all();
  v.erase(v.begin());
  v.erase(v.begin(), v.begin() + 1);
  failalloc::disarm();
  EXPECT(v.size() == 2 && v[0].size() == values[2].size() && v[1].size() == values[3].size());
  EXPECT(failalloc::live_blocks() == blocks - 2);
}

TEST(erasing_strings_and_vectors_needs_no_memory) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  const std::string strings[4] = {"first", "second", "third", "fourth"};
  erase_without_memory(strings);
  const std::vector<int> vectors[4] = {std::vector<int>(1, 1), std::vector<int>(2, 2),
                                       std::vector<int>(3, 3), std::vector<int>(4, 4)};
  erase_without_memory(vectors);
}

// Over-aligned elements: plain data and a class copied one by one.
template <size_t _Align>
struct alignas(_Align) Aligned {
  int value;
};
template <size_t _Align>
struct alignas(_Align) AlignedClass {
  explicit AlignedClass(int v = 0) : value(v) {}
  AlignedClass(const AlignedClass& other) : value(other.value) {}
  AlignedClass& operator=(const AlignedClass& other) {
    value = other.value;
    return *this;
  }
  int value;
};

template <typename _T>
bool aligned(const std::vector<_T>& v) {
  return reinterpret_cast<size_t>(v.begin().base()) % alignof(_T) == 0;
}

// Every block a vector of them holds is aligned to the type, through
// growth (by 2, then by 256), reserve, resize, copy and erase.
template <typename _T>
void stays_aligned() {
  std::vector<_T> v;
  bool all = true;
  _T item;
  for (int i = 0; i < 600; ++i) {
    item.value = i;
    v.push_back(item);
    all = all && aligned(v);
  }
  EXPECT(all && values_run_up(v));
  EXPECT(v.reserve(700) && aligned(v) && v.reserve(0) && aligned(v) && values_run_up(v));
  v.push_back(v[0]);  // an own element, while the block moves
  v.resize(800, v[1]);
  EXPECT(aligned(v) && v.size() == 800 && v[600].value == 0 && v[799].value == 1);
  std::vector<_T> copy(v);
  v.erase(v.begin(), v.begin() + 1);
  EXPECT(aligned(copy) && copy.size() == 800 && aligned(v) && v[0].value == 1);
}

// It takes the element path: grown by building a new block, erased by
// assignment.
TEST(plain_data_declared_not_relocatable_takes_the_element_path) {
  std::vector<Pinned> v;
  push_values(v, 300);
  v.erase(v.begin());
  EXPECT(v.size() == 299 && v.capacity() == 512 && v[0].value == 1 && v[298].value == 299);
}

TEST(over_aligned_elements_are_aligned) {
  stays_aligned<Aligned<32> >();
  stays_aligned<Aligned<64> >();
  stays_aligned<AlignedClass<64> >();
}

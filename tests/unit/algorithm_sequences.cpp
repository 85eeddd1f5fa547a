// The searching, counting and rearranging algorithms and <numeric>, each
// against a plain loop over every small input, through a forward-only
// iterator as well as the containers' own. Also builds against the system
// library (PLINTH_CONTROL).
#include <stddef.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "support/unit.h"

namespace {

// The weakest iterator the forward algorithms accept.
template <typename _T>
struct Forward {
  typedef std::forward_iterator_tag iterator_category;
  typedef _T value_type;
  typedef ptrdiff_t difference_type;
  typedef _T* pointer;
  typedef _T& reference;
  _T* p;
  explicit Forward(_T* q) : p(q) {}
  _T& operator*() const { return *p; }
  Forward& operator++() {
    ++p;
    return *this;
  }
  Forward operator++(int) { return Forward(p++); }
  bool operator==(const Forward& other) const { return p == other.p; }
  bool operator!=(const Forward& other) const { return p != other.p; }
};
typedef Forward<int> Fwd;

bool is_odd(int x) { return x % 2 != 0; }
bool greater(int a, int b) { return a > b; }
int twice(int x) { return 2 * x; }
int smaller(int a, int b) { return a < b ? a : b; }
int difference(int a, int b) { return a - b; }

// Every array of up to 6 digits from {0, 1, 2}, in turn.
struct Inputs {
  int values[6];
  int size;
  long code, codes;
  Inputs() : size(0), code(0), codes(1) {}
  bool next() {
    if (code == codes) {
      if (++size > 6) return false;
      code = 0;
      codes *= 3;
    }
    long c = code++;
    for (int i = 0; i < size; ++i, c /= 3) values[i] = int(c % 3);
    return true;
  }
};

}  // namespace

TEST(searches_and_counts_agree_with_a_plain_loop) {
  for (Inputs in; in.next();) {
    int* const a = in.values;
    const int n = in.size;
    for (int v = 0; v < 3; ++v) {
      int first = n, hits = 0;
      for (int i = n; i-- > 0;)
        if (a[i] == v) first = i, ++hits;
      EXPECT(std::find(Fwd(a), Fwd(a + n), v).p == a + first);
      EXPECT(std::count(Fwd(a), Fwd(a + n), v) == hits);
    }
    int odd = n, even = n, odds = 0;
    for (int i = n; i-- > 0;) {
      if (is_odd(a[i])) {
        odd = i;
        ++odds;
      } else {
        even = i;
      }
    }
    EXPECT(std::find_if(Fwd(a), Fwd(a + n), is_odd).p == a + odd);
    EXPECT(std::find_if_not(Fwd(a), Fwd(a + n), is_odd).p == a + even);
    EXPECT(std::count_if(a, a + n, is_odd) == odds);
    EXPECT(std::all_of(a, a + n, is_odd) == (odds == n));
    EXPECT(std::any_of(a, a + n, is_odd) == (odds > 0));
    EXPECT(std::none_of(a, a + n, is_odd) == (odds == 0));
    int lo = 0, hi = 0;  // first smallest, first largest
    for (int i = 1; i < n; ++i) {
      if (a[i] < a[lo]) lo = i;
      if (a[i] > a[hi]) hi = i;
    }
    EXPECT(std::min_element(Fwd(a), Fwd(a + n)).p == a + (n ? lo : 0));
    EXPECT(std::max_element(Fwd(a), Fwd(a + n)).p == a + (n ? hi : 0));
    EXPECT(std::max_element(a, a + n, greater) == a + (n ? lo : 0));
  }
}

TEST(binary_searches_agree_with_a_linear_scan) {
  for (Inputs in; in.next();) {
    int* const a = in.values;
    const int n = in.size;
    std::sort(a, a + n);
    for (int v = -1; v <= 3; ++v) {
      int lower = 0, upper = 0;
      while (lower < n && a[lower] < v) ++lower;
      for (upper = lower; upper < n && a[upper] == v;) ++upper;
      EXPECT(std::lower_bound(Fwd(a), Fwd(a + n), v).p == a + lower);
      EXPECT(std::upper_bound(Fwd(a), Fwd(a + n), v).p == a + upper);
      EXPECT(std::binary_search(Fwd(a), Fwd(a + n), v) == (lower != upper));
      const std::pair<Fwd, Fwd> range = std::equal_range(Fwd(a), Fwd(a + n), v);
      EXPECT(range.first.p == a + lower && range.second.p == a + upper);
      std::reverse(a, a + n);  // descending, under the reversed ordering
      EXPECT(std::lower_bound(a, a + n, v, greater) == a + n - upper);
      EXPECT(std::upper_bound(a, a + n, v, greater) == a + n - lower);
      EXPECT(std::binary_search(a, a + n, v, greater) == (lower != upper));
      std::reverse(a, a + n);
    }
  }
}

TEST(removal_and_unique_keep_the_survivors_in_order) {
  for (Inputs in; in.next();) {
    const int n = in.size;
    for (int v = 0; v < 3; ++v) {
      std::vector<int> want;
      int got[6];
      std::copy(in.values, in.values + n, got);
      for (int i = 0; i < n; ++i)
        if (in.values[i] != v) want.push_back(in.values[i]);
      EXPECT(std::remove(Fwd(got), Fwd(got + n), v).p == got + want.size());
      EXPECT(std::equal(want.begin(), want.end(), got));
    }
    std::vector<int> want, got(in.values, in.values + n), odd(got);
    for (int i = 0; i < n; ++i)
      if (i == 0 || in.values[i] != in.values[i - 1]) want.push_back(in.values[i]);
    EXPECT(std::unique(got.begin(), got.end()) - got.begin() == long(want.size()));
    EXPECT(std::equal(want.begin(), want.end(), got.begin()));
    want.clear();
    for (int i = 0; i < n; ++i)
      if (!is_odd(in.values[i])) want.push_back(in.values[i]);
    std::vector<int>::iterator end = std::remove_if(odd.begin(), odd.end(), is_odd);
    EXPECT(end - odd.begin() == long(want.size()));
    EXPECT(std::equal(want.begin(), want.end(), odd.begin()));
  }
}

TEST(reverse_rotate_and_swap_ranges_move_every_element_once) {
  int a[8], b[8];
  for (int n = 0; n <= 8; ++n) {
    for (int mid = 0; mid <= n; ++mid) {
      for (int i = 0; i < n; ++i) a[i] = i;
      Fwd res = std::rotate(Fwd(a), Fwd(a + mid), Fwd(a + n));
      EXPECT(res.p == a + n - mid);
      for (int i = 0; i < n; ++i) EXPECT(a[i] == (i + mid) % n);
    }
    for (int i = 0; i < n; ++i) a[i] = i, b[i] = -i;
    std::reverse(a, a + n);
    for (int i = 0; i < n; ++i) EXPECT(a[i] == n - 1 - i);
    EXPECT(std::swap_ranges(Fwd(a), Fwd(a + n), Fwd(b)).p == b + n);
    for (int i = 0; i < n; ++i) EXPECT(a[i] == -i && b[i] == n - 1 - i);
  }
}

TEST(copying_filling_and_replacing) {
  int a[6] = {1, 2, 3, 4, 5, 6};
  int out[6] = {0, 0, 0, 0, 0, 0};
  EXPECT(std::copy_if(a, a + 6, out, is_odd) == out + 3);
  EXPECT(out[0] == 1 && out[1] == 3 && out[2] == 5 && out[3] == 0);
  EXPECT(std::transform(a, a + 6, out, twice) == out + 6);
  EXPECT(out[0] == 2 && out[5] == 12);
  EXPECT(std::transform(a, a + 3, a + 3, out, smaller) == out + 3);
  EXPECT(out[0] == 1 && out[2] == 3);
  // Overlapping copies in the safe direction: down with copy, up with
  // copy_backward.
  EXPECT(std::copy_backward(a, a + 4, a + 6) == a + 2);
  EXPECT(a[0] == 1 && a[1] == 2 && a[2] == 1 && a[3] == 2 && a[4] == 3 && a[5] == 4);
  std::vector<int> v(a, a + 6);
  std::replace(v.begin(), v.end(), 2, 7);
  std::replace_if(Fwd(a), Fwd(a + 6), is_odd, 0);
  EXPECT(v[1] == 7 && v[3] == 7 && v[0] == 1);
  EXPECT(a[0] == 0 && a[1] == 2 && a[5] == 4);
  std::fill(v.begin(), v.end(), 9);
  EXPECT(std::fill_n(v.begin(), 2, 8) == v.begin() + 2);
  EXPECT(std::fill_n(v.begin(), -1, 5) == v.begin());
  EXPECT(v[0] == 8 && v[1] == 8 && v[2] == 9 && v[5] == 9);
  std::fill(Fwd(a), Fwd(a + 2), 3);
  EXPECT(a[0] == 3 && a[1] == 3 && a[2] == 0);
}

TEST(comparing_ranges) {
  const int a[] = {1, 2, 3}, b[] = {1, 2, 4}, c[] = {1, 2};
  EXPECT(std::equal(a, a + 2, b) && !std::equal(a, a + 3, b));
  EXPECT(std::equal(a, a + 3, b, greater) == false);
  EXPECT(std::mismatch(a, a + 3, b) == std::make_pair(a + 2, b + 2));
  EXPECT(std::mismatch(a, a + 2, b) == std::make_pair(a + 2, b + 2));
  EXPECT(std::mismatch(a, a + 3, b, greater) == std::make_pair(a, b));
#if !defined(PLINTH_CONTROL) || __cplusplus >= 201402L  // both ends: C++14 on
  EXPECT(std::equal(a, a + 2, c, c + 2) && !std::equal(a, a + 3, c, c + 2));
  EXPECT(!std::equal(c, c + 2, a, a + 3));
  EXPECT(std::mismatch(a, a + 3, c, c + 2) == std::make_pair(a + 2, c + 2));
#endif
  struct Row {
    const int *first1, *last1, *first2, *last2;
    bool less;
  } const rows[] = {
      {a, a + 3, b, b + 3, true},  {b, b + 3, a, a + 3, false}, {c, c + 2, a, a + 3, true},
      {a, a + 3, c, c + 2, false}, {a, a + 3, a, a + 3, false}, {a, a, a, a, false},
      {a, a, c, c + 1, true},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
    const Row& r = rows[i];
    EXPECT(std::lexicographical_compare(r.first1, r.last1, r.first2, r.last2) == r.less);
  }
  EXPECT(std::lexicographical_compare(b, b + 3, a, a + 3, greater));
  // min and max give the first argument when neither orders first.
  const int one = 1, other_one = 1;
  EXPECT(&std::min(one, other_one) == &one && &std::max(one, other_one) == &one);
  EXPECT(std::min(2, 1) == 1 && std::max(2, 1) == 2 && std::max(2, 1, greater) == 1);
  EXPECT(&std::min(one, other_one, greater) == &one);
  EXPECT(std::min({3, 1, 2}) == 1 && std::max({1, 3, 2}) == 3 && std::max({3, 1, 2}, greater) == 1);
}

TEST(numeric_sums) {
  const int a[] = {1, 2, 3, 4};
  EXPECT(std::accumulate(a, a + 4, 0) == 10);
  EXPECT(std::accumulate(a, a, 5) == 5);
  EXPECT(std::accumulate(a, a + 4, 0.5) == 10.5);  // sums in the initial value's type
  EXPECT(std::accumulate(a, a + 4, 10, difference) == 0);
  EXPECT(std::inner_product(a, a + 4, a, 0) == 30);
  EXPECT(std::inner_product(a, a + 2, a + 2, 100, difference, difference) == 104);
  int out[4];
  EXPECT(std::partial_sum(a, a + 4, out) == out + 4);
  EXPECT(out[0] == 1 && out[1] == 3 && out[2] == 6 && out[3] == 10);
  EXPECT(std::partial_sum(a, a, out) == out);
  std::partial_sum(out, out + 4, out, difference);  // in place
  EXPECT(out[0] == 1 && out[1] == -2 && out[2] == -8 && out[3] == -18);
  std::vector<int> v(3);
  std::iota(v.begin(), v.end(), -1);
  EXPECT(v[0] == -1 && v[1] == 0 && v[2] == 1);
  std::vector<std::string> words(3, std::string("ab"));
  EXPECT(std::accumulate(words.begin(), words.end(), std::string("<")) == "<ababab");
}

#ifndef PLINTH_CONTROL
// Rearranging never copies a string: the removed values end up behind the
// new end, so every string is still somewhere in the range.
TEST(removal_exchanges_strings_instead_of_copying_them) {
  const char* const text[] = {"a", "bb", "a", "ccc", "ccc", "a"};
  std::vector<std::string> v;
  for (int i = 0; i < 6; ++i) v.push_back(std::string(text[i]));
  const char* const block = v[3].c_str();
  std::vector<std::string>::iterator end = std::remove(v.begin(), v.end(), std::string("a"));
  EXPECT(end - v.begin() == 3 && v[0] == "bb" && v[1] == "ccc" && v[2] == "ccc");
  EXPECT(v[1].c_str() == block);  // moved by exchange, not copied
  EXPECT(std::count(end, v.end(), std::string("a")) == 3);
  end = std::unique(v.begin(), end);
  EXPECT(end - v.begin() == 2 && v[1] == "ccc" && v[2] == "ccc");
}

// A plain value to look for may be an element of the range itself.
TEST(remove_and_replace_read_a_plain_value_once) {
  int a[4] = {1, 2, 1, 3};
  EXPECT(std::remove(a, a + 4, a[0]) == a + 2);
  EXPECT(a[0] == 2 && a[1] == 3);
  int b[4] = {1, 2, 1, 3};
  std::replace(b, b + 4, b[0], 5);
  EXPECT(b[0] == 5 && b[2] == 5);
}
#endif

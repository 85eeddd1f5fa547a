// The iterator layer as ISO C++ states it, over the containers' iterators,
// arrays and pointers: conversions, mixed comparisons, reverse iterators,
// the stepping and range access functions. Built against plinth, and also
// against the compiler's own library as a control (PLINTH_CONTROL).
#include <initializer_list>
#include <iterator>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "support/unit.h"

namespace {

typedef std::vector<int> Vector;
typedef Vector::iterator It;
typedef Vector::const_iterator CIt;
typedef std::reverse_iterator<It> RIt;
typedef std::reverse_iterator<CIt> CRIt;

// An iterator over an int array that claims the category _Tag.
template <typename _Tag>
struct Stepper {
  typedef _Tag iterator_category;
  typedef int value_type;
  typedef std::ptrdiff_t difference_type;
  typedef int* pointer;
  typedef int& reference;
  int* p;
  int& operator*() const { return *p; }
  Stepper& operator++() {
    ++p;
    return *this;
  }
  Stepper& operator--() {
    --p;
    return *this;
  }
  bool operator==(const Stepper& o) const { return p == o.p; }
  bool operator!=(const Stepper& o) const { return p != o.p; }
};
typedef Stepper<std::bidirectional_iterator_tag> Bidi;
typedef Stepper<std::forward_iterator_tag> Forward;

// A user's own distance over a std type: std::distance, found by argument-
// dependent lookup, must drop out rather than fail to compile.
typedef std::pair<int, int> Point;
int distance(const Point& a, const Point& b) {
  return (a.first - b.first) * (a.first - b.first) + (a.second - b.second) * (a.second - b.second);
}

Vector iota(int n) {
  Vector v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  return v;
}

}  // namespace

// iterator -> const_iterator only; a wrong conversion is rejected by the
// overload set, not by an error inside the library.
static_assert(std::is_convertible<It, CIt>::value && !std::is_convertible<CIt, It>::value, "");
static_assert(!std::is_constructible<It, CIt>::value, "");
static_assert(std::is_convertible<std::string::iterator, std::string::const_iterator>::value, "");
static_assert(!std::is_constructible<std::string::iterator, std::string::const_iterator>::value,
              "");
static_assert(std::is_convertible<RIt, CRIt>::value, "");
#if !defined(PLINTH_CONTROL) || __cplusplus >= 202002L  // constrained in ISO C++ from C++20
static_assert(!std::is_constructible<RIt, CRIt>::value, "");
#endif
static_assert(std::is_same<std::iterator_traits<It>::iterator_category,
                           std::random_access_iterator_tag>::value,
              "");
static_assert(std::is_same<RIt::reference, int&>::value, "");
static_assert(std::is_same<std::iterator_traits<CRIt>::value_type, int>::value, "");
// The container iterator's operations cannot fail.
static_assert(noexcept(++std::declval<It&>()) && noexcept(*std::declval<It&>()), "");
static_assert(noexcept(std::declval<It&>() == std::declval<CIt&>()), "");
static_assert(noexcept(std::declval<It&>() - std::declval<CIt&>()), "");
static_assert(noexcept(It(std::declval<int*>())) && noexcept(CIt(std::declval<It&>())), "");

TEST(iterator_and_const_iterator_mix) {
  Vector v = iota(5);
  It i = v.begin() + 1;
  CIt c = v.begin() + 3;
  EXPECT(c - i == 2 && i - c == -2);
  EXPECT(i < c && c > i && i <= c && c >= i && i != c && !(i == c));
  CIt same = i;
  EXPECT(same == i && i == same && same - i == 0);
}

TEST(reverse_iterator_walks_backwards) {
  Vector v = iota(5);
  RIt r(v.end()), rend(v.begin());
  EXPECT(*r == 4 && r[1] == 3 && *(r + 4) == 0 && rend - r == 5);
  EXPECT(r.base() == v.end() && (r + 5).base() == v.begin());
  int seen = 0;
  for (RIt it = r; it != rend; ++it) seen = seen * 10 + *it;
  EXPECT(seen == 43210);
  RIt it = rend;
  EXPECT(*--it == 0 && *it-- == 0 && *it == 1);
  it -= 2;
  EXPECT(*it == 3 && *(it += 1) == 2 && *(1 + it) == 1 && *(it - 1) == 3);
  CRIt cr = r;  // iterator -> const_iterator, compared both ways
  EXPECT(cr == r && r < rend && rend > cr && r <= cr && rend >= r && cr != rend);
  EXPECT(rend - cr == 5);
}

TEST(reverse_iterator_over_pointers_and_members) {
  std::pair<int, char> a[3] = {std::make_pair(1, 'a'), std::make_pair(2, 'b'),
                               std::make_pair(3, 'c')};
  std::reverse_iterator<std::pair<int, char>*> r(a + 3);
  EXPECT(r->second == 'c' && (++r)->first == 2);
  const char* text = "abc";
  std::reverse_iterator<const char*> t(text + 3), tend(text);
  EXPECT(*t == 'c' && tend - t == 3 && std::distance(t, tend) == 3);
}

TEST(stepping_functions_use_each_category) {
  int a[6] = {0, 1, 2, 3, 4, 5};
  Vector v(a, a + 6);
  struct Case {
    int from, n, want;
  };
  const Case cases[] = {{0, 0, 0}, {0, 5, 5}, {5, -5, 0}, {2, 3, 5}, {4, -1, 3}};
  for (const Case& c : cases) {
    int* p = a + c.from;
    std::advance(p, c.n);
    EXPECT(*p == c.want);
    EXPECT(*std::next(v.begin() + c.from, c.n) == c.want);
    EXPECT(*std::prev(CIt(v.begin()) + c.from, -c.n) == c.want);
    Bidi b = {a + c.from};
    std::advance(b, c.n);  // steps one at a time, both ways
    EXPECT(*b == c.want);
    EXPECT(std::distance(a + c.from, a + c.want) == c.want - c.from);
  }
  Forward f = {a}, fend = {a + 6};
  EXPECT(std::distance(f, fend) == 6 && *std::next(f, 2) == 2);
  Bidi b = {a + 3};
  EXPECT(*std::prev(b) == 2 && *std::next(b) == 4);
}

TEST(non_iterators_have_no_traits) { EXPECT(distance(Point(0, 0), Point(3, 4)) == 25); }

TEST(range_access_for_containers_arrays_and_lists) {
  int a[4] = {1, 2, 3, 4};
  EXPECT(std::begin(a) == a && std::end(a) == a + 4);
  const Vector v(a, a + 4);
  EXPECT(std::begin(v) == v.begin() && std::end(v) - std::begin(v) == 4);
  std::string s("xyz");
  EXPECT(*std::begin(s) == 'x' && std::end(s) - std::begin(s) == 3);
  std::initializer_list<int> list = {5, 6};
  EXPECT(*std::begin(list) == 5 && std::end(list) - std::begin(list) == 2);
#if __cplusplus >= 201402L
  EXPECT(*std::make_reverse_iterator(a + 4) == 4);
  EXPECT(std::cbegin(v) == v.begin() && std::cend(a) == a + 4);
  EXPECT(*std::rbegin(a) == 4 && std::rend(a) - std::rbegin(a) == 4);
  EXPECT(*std::rbegin(list) == 6 && *std::crbegin(a) == 4);
#endif
#if __cplusplus >= 201703L
  EXPECT(std::size(a) == 4 && std::size(v) == 4 && !std::empty(a) && std::empty(Vector()));
  EXPECT(std::data(a) == a && std::data(list) == list.begin() && std::empty(list) == false);
#endif
}

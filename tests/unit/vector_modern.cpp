// The C++11 members of std::vector: moves leave the source empty without a
// block, class growth moves elements that have a noexcept move constructor
// (and copies those that have a copy constructor only), initializer lists,
// insertion of the vector's own elements, and the comparisons.
#include <string>
#include <utility>
#include <vector>

#include "../common.h"
#include "support/checks.h"
#include "support/failalloc.h"
#include "support/unit.h"

namespace {

// Counts copies and moves; a moved-from object holds -1.
struct Movable {
  static int sCopies;
  static int sMoves;
  explicit Movable(int v = 0) : value(v) {}
  Movable(const Movable& other) : value(other.value) { ++sCopies; }
  Movable(Movable&& other) noexcept : value(other.value) {
    other.value = -1;
    ++sMoves;
  }
  Movable& operator=(const Movable& other) {
    value = other.value;
    ++sCopies;
    return *this;
  }
  Movable& operator=(Movable&& other) noexcept {
    value = other.value;
    other.value = -1;
    ++sMoves;
    return *this;
  }
  static void reset() { sCopies = sMoves = 0; }
  int value;
};

int Movable::sCopies = 0;
int Movable::sMoves = 0;

template <typename _T>
bool no_block(const std::vector<_T>& v) {
  return v.data() == 0 && v.size() == 0 && v.capacity() == 0;
}

std::vector<int> ints(std::initializer_list<int> values) { return std::vector<int>(values); }

// Where an iterator an operation returned lies, read after the operation.
ptrdiff_t offset(const std::vector<int>& v, std::vector<int>::const_iterator it) {
  return it == v.end() ? -1 : it - v.begin();
}

}  // namespace

TEST(moves_take_the_block_and_leave_the_source_empty) {
  std::vector<std::string> source(3, std::string("text"));
  const std::string* block = source.data();
  std::vector<std::string> moved(std::move(source));
  EXPECT(moved.data() == block && moved.size() == 3 && no_block(source));
  std::vector<std::string> target(2, std::string("old"));
  target = std::move(moved);
  EXPECT(target.data() == block && target.size() == 3 && target[2] == "text" && no_block(moved));
  std::vector<std::string>& same = target;
  target = std::move(same);
  EXPECT(target.data() == block && target.size() == 3);
  // A string moves in without a copy: no request at all.
  target.reserve(4);
  std::string text("a text of some length");
  const char* bytes = text.c_str();
  const unsigned requests = failalloc::requests();
  target.push_back(std::move(text));
  EXPECT(failalloc::requests() == requests && target[3].c_str() == bytes && text.empty());
}

// A noexcept move constructor is used for growth and for rvalues; the
// probes' counting types, with copy constructors only, are copied as before.
TEST(growth_moves_what_can_be_moved_and_copies_the_rest) {
  std::vector<Movable> v;
  Movable::reset();
  for (int i = 0; i < 300; ++i) v.push_back(Movable(i));
  EXPECT(Movable::sCopies == 0 && Movable::sMoves == 300 + 510 && v[299].value == 299);
  Movable::reset();
  v.emplace_back(7);
  v.insert(v.begin(), Movable(8));
  EXPECT(Movable::sCopies == 0 && v.front().value == 8 && v.back().value == 7 && v[1].value == 0);
  CtorDtorCounter c;
  std::vector<CtorDtorCounter> counted(4, c);
  CtorDtorCounter::reset();
  counted.push_back(CtorDtorCounter());
  EXPECT(CtorDtorCounter::mCopyCtorCount == 5 && CtorDtorCounter::mDtorCount == 5);
}

TEST(initializer_lists_construct_assign_and_insert) {
  std::vector<int> v = {1, 2, 3};
  EXPECT(v.size() == 3 && v.capacity() == 3 && v == ints({1, 2, 3}));
  v = {4, 5};
  EXPECT(v == ints({4, 5}) && v.capacity() == 2);
  v.assign({6, 7, 8, 9});
  v.insert(v.begin() + 1, {0, 0});
  EXPECT(v == ints({6, 0, 0, 7, 8, 9}));
  v.assign(2, 3);  // two ints: a count and a value
  EXPECT(v == ints({3, 3}));
  v = {};
  EXPECT(no_block(v));
}

// The value or range may be the vector's own elements, whether the block
// grows or not, and whether elements move as bytes or one by one.
template <typename _T>
void inserts_own_elements(const _T (&values)[4]) {
  std::vector<_T> v(values, values + 4);
  v.insert(v.begin(), v[2]);  // full: grows
  EXPECT(v.size() == 5 && v[0] == values[2] && v[3] == values[2]);
  v.reserve(20);
  v.insert(v.begin() + 1, v[4]);  // room to spare
  EXPECT(v.size() == 6 && v[1] == values[3] && v[5] == values[3]);
  v.insert(v.end(), v.begin(), v.end());
  EXPECT(v.size() == 12 && v[6] == v[0] && v[11] == v[5]);
  v.insert(v.begin() + 2, 2, v[0]);
  EXPECT(v.size() == 14 && v[2] == values[2] && v[3] == values[2] && v[4] == values[0]);
  v.emplace(v.begin(), v.back());
  EXPECT(v.size() == 15 && v[0] == values[3]);
  v.resize(3);
  v.insert(v.begin() + 1, v.rbegin(), v.rend());  // full: grows
  EXPECT(v.size() == 6 && v[1] == v[5] && v[2] == v[4] && v[3] == v[0]);
}

TEST(self_insertion_is_safe) {
  const int numbers[4] = {10, 11, 12, 13};
  inserts_own_elements(numbers);
  const std::string strings[4] = {"ten", "eleven", "twelve", "thirteen"};
  inserts_own_elements(strings);
  const Movable objects[4] = {Movable(10), Movable(11), Movable(12), Movable(13)};
  // An argument of emplace that is a member of an element of plain data.
  struct Plain {
    Plain() = default;
    explicit Plain(const int& from) : value(from) {}
    int value;
  };
  std::vector<Plain> plain(2, Plain(5));
  plain[1].value = 7;
  plain.emplace(plain.begin(), plain[1].value);  // full: grows
  EXPECT(plain.size() == 3 && plain[0].value == 7 && plain[2].value == 7);
  std::vector<Movable> v(objects, objects + 4);
  v.insert(v.begin() + 1, v.begin(), v.end());
  EXPECT(v.size() == 8 && v[1].value == 10 && v[4].value == 13 && v[5].value == 11);
}

// Positions outside the vector insert nothing and answer end(); an empty
// insertion answers pos.
TEST(insert_answers_with_its_position_or_end) {
  std::vector<int> v = {1, 2, 3};
  std::vector<int> other = {9};
  EXPECT(offset(v, v.insert(v.begin() + 1, 5)) == 1 && v == ints({1, 5, 2, 3}));
  EXPECT(offset(v, v.insert(v.begin() + 2, 0, 7)) == 2 && v.size() == 4);
  EXPECT(offset(v, v.insert(v.begin() + 1, other.end(), other.begin())) == 1 && v.size() == 4);
#ifndef PLINTH_HARDENED
  EXPECT(offset(v, v.insert(other.begin(), 5)) == -1 && v.size() == 4);
#endif
  std::vector<int>::const_iterator pos = v.cbegin() + 1;
  EXPECT(offset(v, v.erase(pos)) == 1 && v == ints({1, 2, 3}) && v.cend() == v.end());
}

TEST(reverse_iterators_walk_back) {
  std::vector<int> v = {1, 2, 3};
  const std::vector<int> copy(v.rbegin(), v.rend());
  EXPECT(copy == ints({3, 2, 1}) && *v.crbegin() == 3 && v.crend() - v.crbegin() == 3);
  *v.rbegin() = 7;
  EXPECT(v.back() == 7 && std::vector<int>().rbegin() == std::vector<int>().rend());
}

// Lexicographic by the elements' own operators (a string's length-first
// order included).
TEST(comparisons_are_lexicographic) {
  struct Case {
    std::vector<int> a, b;
    int order;
  };
  const Case cases[] = {
      {ints({}), ints({}), 0},          {ints({1}), ints({}), 1},
      {ints({1, 2}), ints({1, 3}), -1}, {ints({2}), ints({1, 9, 9}), 1},
      {ints({1, 2}), ints({1, 2}), 0},  {ints({1, 2}), ints({1, 2, 0}), -1},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    const Case& c = cases[i];
    EXPECT((c.a == c.b) == (c.order == 0) && (c.a != c.b) == (c.order != 0));
    EXPECT((c.a < c.b) == (c.order < 0) && (c.a > c.b) == (c.order > 0));
    EXPECT((c.a <= c.b) == (c.order <= 0) && (c.a >= c.b) == (c.order >= 0));
  }
  const std::vector<std::string> shorter(1, "zz"), longer(1, "aaa");
  EXPECT(shorter < longer);
}

namespace {

// Construction, assign and insert from a range of _Tag iterators, with every
// allocation refused (nothing changes, a constructor gives no block) and then
// with memory (the values, in order).
template <typename _T, typename _Tag>
void builds_from_ranges(const _T (&values)[3]) {
  const unit::Walk<_T, _Tag> first = {values}, last = {values + 3};
  std::vector<_T> kept(values, values + 1);
  if (failalloc::active()) {
    failalloc::fail_all();
    const std::vector<_T> refused(first, last);
    kept.assign(first, last);
    const bool inserted = kept.insert(kept.begin(), first, last) != kept.end();
    failalloc::disarm();
    EXPECT(no_block(refused) && kept.size() == 1 && kept[0] == values[0] && !inserted);
  }
  const std::vector<_T> built(first, last);
  EXPECT(built.size() == 3 && built[0] == values[0] && built[2] == values[2]);
  kept.assign(first, last);
  EXPECT(kept == built);
  const typename std::vector<_T>::iterator at = kept.insert(kept.begin() + 1, first, last);
  EXPECT(at == kept.begin() + 1 && kept.size() == 6 && kept[1] == values[0] &&
         kept[3] == values[2] && kept[4] == values[1]);
  kept.assign(first, first);
  EXPECT(kept.empty());
}

}  // namespace

TEST(ranges_of_any_iterator_category) {
  const int numbers[3] = {1, 2, 3};
  builds_from_ranges<int, std::input_iterator_tag>(numbers);
  builds_from_ranges<int, std::forward_iterator_tag>(numbers);
  const std::string strings[3] = {"one", "two", "three"};
  builds_from_ranges<std::string, std::input_iterator_tag>(strings);
  builds_from_ranges<std::string, std::forward_iterator_tag>(strings);
}

// A count alone is no vector, and the members that cannot fail say so.
TEST(counts_do_not_convert_and_accessors_cannot_fail) {
  static_assert(!std::is_convertible<size_t, std::vector<int> >::value, "a count converted");
  std::string s;
  std::vector<int> v(3);
  static_assert(noexcept(s.size()) && noexcept(s.begin()) && noexcept(s.crend()) &&
                    noexcept(s.swap(s)) && noexcept(s.clear()) && noexcept(v.data()),
                "a member that cannot fail is not noexcept");
  EXPECT(v.size() == 3 && v[2] == 0);
}

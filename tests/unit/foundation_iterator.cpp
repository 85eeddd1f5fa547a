// The wrapper iterator, iterator_traits and std::distance.
#include <iterator>
#include <type_traits>

#include "support/unit.h"

namespace {

struct Box {};
typedef std::__wrapper_iterator<int*, Box> Iterator;
typedef std::__wrapper_iterator<const int*, Box> ConstIterator;

struct ListIterator {  // a forward-only iterator over an int array
  typedef std::forward_iterator_tag iterator_category;
  typedef int value_type;
  typedef ptrdiff_t difference_type;
  typedef int* pointer;
  typedef int& reference;
  int* p;
  ListIterator& operator++() {
    ++p;
    return *this;
  }
  bool operator!=(const ListIterator& other) const { return p != other.p; }
};

bool is_random_access(std::random_access_iterator_tag) { return true; }
bool is_random_access(std::input_iterator_tag) { return false; }

}  // namespace

TEST(arithmetic_moves_by_whole_elements) {
  int a[100] = {0};
  Iterator begin(a), end(a + 100);
  EXPECT(end.operator-(100) == begin);
  EXPECT(end - 100 == begin);
  EXPECT(100 + begin == end);
  EXPECT(begin + 100 == end);
  EXPECT(end - begin == 100);
  EXPECT(begin - end == -100);
  Iterator i = begin;
  i += 5;
  EXPECT(i.base() == a + 5);
  i -= 2;
  EXPECT(i.base() == a + 3);
  a[4] = 44;
  EXPECT(i[1] == 44);
}

TEST(increment_and_decrement_forms) {
  int a[3] = {1, 2, 3};
  Iterator i(a);
  EXPECT(*i++ == 1);
  EXPECT(*i == 2);
  EXPECT(*++i == 3);
  EXPECT(*i-- == 3);
  EXPECT(*--i == 1);
  Iterator end(a + 3);
  EXPECT(*(--end) == 3);
}

TEST(const_and_plain_iterators_compare_both_ways) {
  int a[2] = {7, 8};
  Iterator i(a);
  ConstIterator c = i;  // an iterator converts to a const iterator
  EXPECT(c == i);
  EXPECT(i == c);
  EXPECT(!(c != i));
  ++c;
  EXPECT(c != i);
  EXPECT(i != c);
  EXPECT(i < c && c > i && i <= c && c >= i);
  EXPECT(*c == 8);
}

TEST(default_constructed_iterators_hold_null_and_compare_equal) {
  Iterator a, b;
  EXPECT(a == b);
  EXPECT(a.base() == 0);
}

TEST(arrow_reaches_the_member) {
  struct Pair {
    int first, second;
  } p[1] = {{1, 2}};
  std::__wrapper_iterator<Pair*, Box> i(p);
  EXPECT(i->second == 2);
}

TEST(traits_of_wrappers_and_pointers) {
  EXPECT((std::is_same<std::iterator_traits<Iterator>::value_type, int>::value));
  EXPECT((std::is_same<std::iterator_traits<ConstIterator>::value_type, int>::value));
  EXPECT((std::is_same<std::iterator_traits<ConstIterator>::reference, const int&>::value));
  EXPECT((std::is_same<std::iterator_traits<Iterator>::difference_type, ptrdiff_t>::value));
  EXPECT((std::is_same<std::iterator_traits<const char*>::pointer, const char*>::value));
  EXPECT(is_random_access(kestrel::iterator_category(Iterator())));
  EXPECT(is_random_access(kestrel::iterator_category(static_cast<int*>(0))));
  EXPECT(!is_random_access(kestrel::iterator_category(ListIterator())));
}

TEST(distance_is_signed_for_random_access_and_counts_otherwise) {
  int a[10];
  EXPECT(std::distance(Iterator(a), Iterator(a + 10)) == 10);
  EXPECT(std::distance(Iterator(a + 10), Iterator(a)) == -10);
  EXPECT(std::distance(a, a + 4) == 4);
  ListIterator first = {a}, last = {a + 6};
  EXPECT(std::distance(first, last) == 6);
}

TEST(iter_unwraps_wrappers_only) {
  int a[1];
  EXPECT((kestrel::iter<Iterator, true>::base(Iterator(a)) == a));
  EXPECT((kestrel::iter<int*, false>::base(a) == a));
}

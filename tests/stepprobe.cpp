// stepprobe: checks that the iterator-category machinery classifies input,
// forward, bidirectional and random-access iterators.
//
// Each test iterator type declares the nested typedefs that
// std::iterator_traits reads; only iterator_category matters here.
// kestrel::iterator_category turns a value into its category tag object, and
// kestrel::category deduces its template argument from the exact type of that
// tag, so each tag selects its own specialisation even though the tags derive
// from one another.
//
// Exit status 0 when every check holds. The first failing check prints its
// line and expression on stderr and the program exits with status 1.

#include <stddef.h>

#include <iterator>

#include "common.h"

namespace kestrel {

struct Input {
  typedef std::input_iterator_tag iterator_category;
  typedef int value_type;
  typedef ptrdiff_t difference_type;
  typedef int* pointer;
  typedef int& reference;
};

struct Forward {
  typedef std::forward_iterator_tag iterator_category;
  typedef int value_type;
  typedef ptrdiff_t difference_type;
  typedef int* pointer;
  typedef int& reference;
};

struct Bidirectional {
  typedef std::bidirectional_iterator_tag iterator_category;
  typedef int value_type;
  typedef ptrdiff_t difference_type;
  typedef int* pointer;
  typedef int& reference;
};

struct Random {
  typedef std::random_access_iterator_tag iterator_category;
  typedef int value_type;
  typedef ptrdiff_t difference_type;
  typedef int* pointer;
  typedef int& reference;
};

enum Category {
  UNKNOWN = 0,
  INPUT = 1,
  FORWARD = 2,
  BIDIRECTIONAL = 3,
  RANDOM = 4,
};

// No call reaches the general form: every tag has its own specialisation.
template <typename _Tag>
Category category(_Tag) {
  return UNKNOWN;
}

template <>
Category category<std::input_iterator_tag>(std::input_iterator_tag) {
  return INPUT;
}

template <>
Category category<std::forward_iterator_tag>(std::forward_iterator_tag) {
  return FORWARD;
}

template <>
Category category<std::bidirectional_iterator_tag>(std::bidirectional_iterator_tag) {
  return BIDIRECTIONAL;
}

template <>
Category category<std::random_access_iterator_tag>(std::random_access_iterator_tag) {
  return RANDOM;
}

bool testCategory();
bool testWrapperIterator();

}  // namespace kestrel

namespace kestrel {

// testCategory makes four checks, one per category. Each builds a
// default-constructed test iterator, asks kestrel::iterator_category for its
// tag object and maps the tag to a Category. A traits layer that ignored the
// nested iterator_category (treating every type as random access, say) fails
// the first check; a wrong bidirectional classification fails the third.
//
// testWrapperIterator makes no checks.

// The four checks stand on lines 105 to 108, the numbers a failure prints.
bool testCategory() {
  CHECK_EXPR(category(kestrel::iterator_category(Input())) == INPUT);
  CHECK_EXPR(category(kestrel::iterator_category(Forward())) == FORWARD);
  CHECK_EXPR(category(kestrel::iterator_category(Bidirectional())) == BIDIRECTIONAL);
  CHECK_EXPR(category(kestrel::iterator_category(Random())) == RANDOM);
  return true;
}

bool testWrapperIterator() { return true; }

}  // namespace kestrel

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  RUN_CASE(testCategory);
  RUN_CASE(testWrapperIterator);
  return kPassed;
}

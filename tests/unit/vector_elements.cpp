// std::vector element handling on the class path: how often elements are
// copied, assigned and destroyed, in which order, deep copies of a vector,
// push_back of one of its own elements, and erase outside the elements.
#include <string>
#include <vector>

#include "support/checks.h"

namespace {

// Logs the id of every object destroyed, in order.
struct Tracer {
  static int sLog[16];
  static int sCount;

  explicit Tracer(int i = -1) : id(i) {}
  Tracer(const Tracer& other) : id(other.id) {}
  Tracer& operator=(const Tracer& other) {
    id = other.id;
    return *this;
  }
  ~Tracer() {
    if (sCount < 16) sLog[sCount++] = id;
  }

  int id;
};

int Tracer::sLog[16];
int Tracer::sCount = 0;

// A vector of Tracers with ids 0 to n - 1, and an empty log.
void fill_tracers(std::vector<Tracer>& v, int n) {
  for (int i = 0; i < n; ++i) v.push_back(Tracer(i));
  Tracer::sCount = 0;
}

bool log_is(const int* ids, int n) {
  if (Tracer::sCount != n) return false;
  for (int i = 0; i < n; ++i) {
    if (Tracer::sLog[i] != ids[i]) return false;
  }
  return true;
}

using unit::counters_are;

}  // namespace

TEST(construction_copies_each_element_once) {
  CtorDtorCounter c;
  CtorDtorCounter::reset();
  std::vector<CtorDtorCounter> counted(5, c);
  EXPECT(counters_are(0, 5, 0, 0));
  std::vector<CtorDtorCounter> range(counted.begin(), counted.end());
  EXPECT(counters_are(0, 10, 0, 0));
  std::vector<CtorDtorCounter> copy(counted);
  EXPECT(counters_are(0, 15, 0, 0));
  EXPECT(copy.size() == 5 && copy.capacity() == 5);
}

TEST(elements_are_destroyed_first_to_last) {
  const int all[] = {0, 1, 2, 3, 4};
  std::vector<Tracer> v;
  fill_tracers(v, 5);
  v.clear();
  EXPECT(log_is(all, 5));

  fill_tracers(v, 5);
  EXPECT(v.reserve(v.capacity() + 1));  // the originals after their copies
  EXPECT(log_is(all, 5));

  const int surplus_then_argument[] = {2, 3, 4, -1};
  Tracer::sCount = 0;
  v.resize(2);
  EXPECT(log_is(surplus_then_argument, 4));

  // The tail {3, 4} is assigned down over slots 1 and 2; the two surplus
  // slots at the end go in slot order.
  const int tail[] = {3, 4};
  v.clear();
  fill_tracers(v, 5);
  v.erase(v.begin() + 1, v.begin() + 3);
  EXPECT(log_is(tail, 2));
  EXPECT(v.size() == 3 && v[0].id == 0 && v[1].id == 3 && v[2].id == 4);
}

TEST(erase_assigns_the_tail_and_destroys_one_slot_per_element) {
  CtorDtorCounter c;
  std::vector<CtorDtorCounter> v(6, c);
  CtorDtorCounter::reset();
  v.erase(v.begin() + 1);
  EXPECT(counters_are(0, 0, 4, 1));
  CtorDtorCounter::reset();
  v.erase(v.begin(), v.begin() + 2);
  EXPECT(counters_are(0, 0, 3, 2));
  EXPECT(v.size() == 3 && v.capacity() == 6);
}

// Positions and ranges that are not elements of this vector remove nothing
// (the hardened mode aborts instead).
TEST(erase_outside_the_elements_changes_nothing) {
#ifdef PLINTH_HARDENED
  return unit::skip("the hardened mode aborts here");
#endif
  CtorDtorCounter c;
  std::vector<CtorDtorCounter> v(3, c);
  std::vector<CtorDtorCounter> other(3, c);
  typedef std::vector<CtorDtorCounter>::iterator iterator;
  CtorDtorCounter::reset();

  EXPECT(v.erase(v.end()) == v.end());
  EXPECT(v.erase(other.begin()) == other.begin());
  const iterator mid = v.begin() + 2;
  EXPECT(v.erase(mid, v.begin()) == mid);                          // reversed
  EXPECT(v.erase(v.begin() + 1, v.begin() + 1) == v.begin() + 1);  // empty
  EXPECT(v.erase(v.end(), v.end()) == v.end());
  EXPECT(v.erase(v.begin(), other.end()) == v.begin());  // last outside
  EXPECT(v.erase(other.begin(), other.end()) == other.begin());
  EXPECT(v.size() == 3 && other.size() == 3);
  EXPECT(counters_are(0, 0, 0, 0));
}

TEST(copy_is_deep_and_exactly_sized) {
  std::vector<std::string> source;
  EXPECT(source.reserve(10));
  source.push_back(std::string("one"));
  source.push_back(std::string("two"));
  std::vector<std::string> copy(source);
  EXPECT(copy.size() == 2 && copy.capacity() == 2);
  EXPECT(copy.begin().base() != source.begin().base());
  source[0] = "changed";
  EXPECT(copy[0] == "one" && copy[1] == "two");

  std::vector<std::string> empty;
  std::vector<std::string> empty_copy(empty);
  EXPECT(empty_copy.empty() && empty_copy.capacity() == 0);
}

TEST(copy_assignment_replaces_the_elements) {
  CtorDtorCounter c;
  std::vector<CtorDtorCounter> target(5, c);
  std::vector<CtorDtorCounter> source(3, c);
  CtorDtorCounter::reset();
  target = source;
  EXPECT(target.size() == 3 && target.capacity() == 3);
  EXPECT(target.begin().base() != source.begin().base());
  EXPECT(counters_are(0, 3, 0, 5));

  std::vector<CtorDtorCounter>& same = target;
  const CtorDtorCounter* block = target.begin().base();
  CtorDtorCounter::reset();
  target = same;
  EXPECT(target.begin().base() == block && target.size() == 3);
  EXPECT(counters_are(0, 0, 0, 0));
}

TEST(std_swap_exchanges_blocks_without_copying) {
  CtorDtorCounter c;
  std::vector<CtorDtorCounter> a(5, c);
  std::vector<CtorDtorCounter> b;
  const CtorDtorCounter* block = a.begin().base();
  CtorDtorCounter::reset();
  std::swap(a, b);
  EXPECT(b.begin().base() == block && b.size() == 5 && a.empty() && a.capacity() == 0);
  EXPECT(counters_are(0, 0, 0, 0));
}

// The argument is read from the new block when it was an element of the old
// one, so growth never reads a destroyed or freed element.
TEST(push_back_of_an_own_element_survives_growth) {
  std::vector<std::string> strings;
  strings.push_back(std::string("first"));
  strings.push_back(std::string("second"));
  EXPECT(strings.size() == strings.capacity());
  strings.push_back(strings[1]);
  EXPECT(strings.size() == 3 && strings[2] == "second" && strings[1] == "second");

  std::vector<int> ints(4, 0);
  ints[3] = 42;
  ints.push_back(ints[3]);
  EXPECT(ints.size() == 5 && ints[4] == 42);
}

// Whether or not the argument is an element, growth copies the elements once
// and the argument once; without growth only the argument is copied.
TEST(push_back_copies_the_argument_once) {
  CtorDtorCounter c;
  std::vector<CtorDtorCounter> own(4, c);
  std::vector<CtorDtorCounter> outside(4, c);
  CtorDtorCounter::reset();
  own.push_back(own[2]);
  EXPECT(counters_are(0, 5, 0, 4));
  CtorDtorCounter::reset();
  outside.push_back(c);
  EXPECT(counters_are(0, 5, 0, 4));
  CtorDtorCounter::reset();
  outside.push_back(c);
  EXPECT(counters_are(0, 1, 0, 0));
}

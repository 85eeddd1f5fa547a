// seqprobe: checks std::vector over plain values, strings and instrumented
// class types: construction, capacity and growth, element access, iteration,
// removal, and how often elements are constructed, copied, assigned and
// destroyed.
//
// Exit status 0 when every check holds. The first failing check prints its
// line and expression on stderr and the program exits with status 1.

#include <stddef.h>

#include <string>
#include <vector>

#include "common.h"

namespace kestrel {

typedef enum { ONE = 10, TWO = 11 } TestEnum;

// The factor by which push_back grows a full vector of small capacity; the
// checks of testReserve hold only while the vector uses the same one.
const size_t kExponentialFactor = 2;

// The cases, in the order main runs them. Each returns false at its first
// failing check.
bool testConstructorInt();
bool testConstructorString();
bool testConstructorClass();
bool testConstructorRepeat();
bool testConstructorIterator();
bool testReserve();
bool testPushBack();
bool testPopBack();
bool testResize();
bool testSwap();
bool testIterators();
bool testCtorDtorForNonPod();
bool testEraseElt();
bool testEraseRange();
bool testAt();

bool testConstructorInt() {
  {
    std::vector<int> vec1;

    CHECK_EXPR(vec1.empty());
    CHECK_EXPR(vec1.size() == 0);
    CHECK_EXPR(vec1.capacity() == 0);
  }
  {
    std::vector<int> vec2(100);
    CHECK_EXPR(!vec2.empty());
    CHECK_EXPR(vec2.size() == 100);
    CHECK_EXPR(vec2.capacity() == 100);

    for (size_t i = 0; i < 100; ++i) {
      CHECK_EXPR(vec2[i] == 0);
    }
  }
  {
    std::vector<int> vec3(200, 0xaa);
    CHECK_EXPR(!vec3.empty());
    CHECK_EXPR(vec3.size() == 200);
    CHECK_EXPR(vec3.capacity() == 200);

    for (size_t i = 0; i < 200; ++i) {
      CHECK_EXPR(vec3[i] == 0xaa);
    }
  }
  return true;
}

bool testConstructorString() {
  {
    std::vector<std::string> vec1;

    CHECK_EXPR(vec1.empty());
    CHECK_EXPR(vec1.size() == 0);
    CHECK_EXPR(vec1.capacity() == 0);
  }
  return true;
}

// B owns a heap block per object, so every element the vector builds or
// destroys shows up to the memory checkers.
bool testConstructorClass() {
  {
    std::vector<B> vec1;

    CHECK_EXPR(vec1.empty());
    CHECK_EXPR(vec1.size() == 0);
    CHECK_EXPR(vec1.capacity() == 0);
  }
  {
    std::vector<B> vec1(100, B());
    CHECK_EXPR(!vec1.empty());
    CHECK_EXPR(vec1.size() == 100);
    CHECK_EXPR(vec1.capacity() == 100);
  }
  return true;
}

bool testConstructorRepeat() {
  {
    // Two ints reach the range constructor template, which must take them
    // as a count and a value.
    const std::vector<int> vec1(100, 10);

    for (int i = 0; i < 100; ++i) {
      CHECK_EXPR(vec1[i] == 10);
    }
  }
  {
    const std::vector<float> vec2(100, 10.0f);

    // Exact equality: every element is a copy of the same value.
    for (int i = 0; i < 100; ++i) {
      CHECK_EXPR(vec2[i] == 10.0f);
    }
  }
  {
    const std::vector<TestEnum> vec3(100, ONE);

    // An enumeration is plain data, filled by value.
    for (int i = 0; i < 100; ++i) {
      CHECK_EXPR(vec3[i] == ONE);
    }
  }
  {
    const std::vector<A<B> > vec4;
    // Each A<B> owns about 4 MB; the temporary and ten copies coexist.
    const std::vector<A<B> > vec5(10, A<B>());
    CHECK_EXPR(vec4.size() == 0);
    CHECK_EXPR(vec5.size() == 10);
  }
  return true;
}

bool testConstructorIterator() {
  {
    std::vector<std::string> src;

    CHECK_EXPR(src.empty());
    std::vector<std::string> dst(src.begin(), src.end());
    CHECK_EXPR(dst.empty());
  }
  {
    std::vector<int> src;
    CHECK_EXPR(src.empty());
    std::vector<int> dst(src.begin(), src.end());
    CHECK_EXPR(dst.empty());
  }
  {
    std::vector<int> src;
    src.push_back(10);
    src.push_back(20);
    src.push_back(30);
    std::vector<int> dst(src.begin(), src.end());
    CHECK_EXPR(dst.size() == 3);
    CHECK_EXPR(dst[0] == 10);
    CHECK_EXPR(dst[1] == 20);
    CHECK_EXPR(dst[2] == 30);
  }
  {
    std::vector<std::string> src;
    src.push_back(std::string("str1"));
    src.push_back(std::string("str2"));
    src.push_back(std::string("str3"));
    std::vector<std::string> dst(src.begin(), src.end());
    CHECK_EXPR(dst.size() == 3);
    CHECK_EXPR(dst[0] == "str1");
    CHECK_EXPR(dst[1] == "str2");
    CHECK_EXPR(dst[2] == "str3");
  }
  return true;
}

bool testReserve() {
  {
    // Two ints: 100 copies of 10.
    std::vector<int> vec1(100, 10);

    CHECK_EXPR(vec1.capacity() == 100);
    CHECK_EXPR(vec1.reserve(200));
    CHECK_EXPR(vec1.capacity() == 200);
    CHECK_EXPR(vec1.size() == 100);

    CHECK_EXPR(vec1.reserve());
    CHECK_EXPR(vec1.capacity() == 100);
    CHECK_EXPR(vec1.size() == 100);
  }

  {
    std::vector<int> vec2;
    CHECK_EXPR(vec2.capacity() == 0);
    CHECK_EXPR(vec2.reserve());
    CHECK_EXPR(vec2.capacity() == 0);

    vec2.reserve(200);
    CHECK_EXPR(vec2.capacity() == 200);
    vec2.reserve();
    CHECK_EXPR(vec2.capacity() == 0);
    vec2.push_back(3);
    vec2.reserve();
    CHECK_EXPR(vec2.capacity() == 1);
  }

  {
    std::vector<int> vec3;
    vec3.push_back(5);
    vec3.reserve();
    CHECK_EXPR(vec3.capacity() == 1);
    vec3.push_back(3);
    CHECK_EXPR(vec3.capacity() == kExponentialFactor);
    while (vec3.size() < kExponentialFactor) {
      vec3.push_back(3);
    }
    CHECK_EXPR(vec3.size() == kExponentialFactor);
    CHECK_EXPR(vec3.capacity() == kExponentialFactor);

    // A full vector of capacity 2 doubles.
    vec3.push_back(10);
    CHECK_EXPR(vec3.capacity() == kExponentialFactor * kExponentialFactor);
  }

  {
    CopyCounter c;
    c.mCount = 0;
    std::vector<CopyCounter> vec4(100, c);
    CHECK_EXPR(c.mCount == 100);

    vec4.reserve(1000);
    CHECK_EXPR(c.mCount == 200);
    vec4.reserve(50);
    CHECK_EXPR(c.mCount == 200);
  }

  {
    std::vector<unsigned short> vec5;
    CHECK_EXPR(!vec5.reserve(vec5.max_size() + 1));
    CHECK_EXPR(vec5.capacity() == 0);
  }
  return true;
}

// Growth, removal, iteration and access.
bool testPushBack() {
  {
    std::vector<CtorDtorCounter> vec1;
    CtorDtorCounter c;

    CtorDtorCounter::reset();
    for (int i = 0; i < 1000; ++i) {
      vec1.push_back(c);
    }
    // Capacities run 2, 4, ..., 256, 512, then 768 and 1024: above 256 the
    // vector grows by a fixed 256 slots.
    CHECK_EXPR(vec1.capacity() == 1024);
    CHECK_EXPR(vec1.size() == 1000);

    CHECK_EXPR(c.mAssignCount == 0);
    // One copy per append plus one per element moved at each growth (2790
    // in all).
    CHECK_EXPR(c.mCopyCtorCount > 1000);
    CHECK_EXPR(c.mCtorCount == 0);
  }

  {
    std::vector<int> vec2;
    vec2.push_back(10);
    CHECK_EXPR(vec2.front() == 10);
    CHECK_EXPR(vec2.back() == 10);
    CHECK_EXPR(vec2.size() == 1);
    vec2.push_back(20);
    CHECK_EXPR(vec2.front() == 10);
    CHECK_EXPR(vec2.back() == 20);
    CHECK_EXPR(vec2.size() == 2);
  }

  {
    std::string str("a string");
    std::vector<std::string> vec3;

    vec3.push_back(str);
    CHECK_EXPR(vec3.size() == 1);
    CHECK_EXPR(vec3.front() == "a string");
    CHECK_EXPR(vec3.back() == "a string");
  }
  return true;
}

// pop_back never gives storage back; only clear does.
bool testPopBack() {
  std::vector<int> vec1(10, 0xdeadbeef);

  // Exactly the count, no spare room.
  CHECK_EXPR(vec1.capacity() == 10);
  CHECK_EXPR(vec1.size() == 10);

  for (unsigned i = 10; i > 0; --i) {
    // Each pop removes one element and keeps the block.
    CHECK_EXPR(vec1.capacity() == 10);
    CHECK_EXPR(vec1.size() == i);
    vec1.pop_back();
  }
  CHECK_EXPR(vec1.empty());
  CHECK_EXPR(vec1.begin() == vec1.end());
  vec1.pop_back();
  CHECK_EXPR(vec1.size() == 0);
  CHECK_EXPR(vec1.capacity() == 10);

  vec1.clear();
  vec1.pop_back();
  CHECK_EXPR(vec1.size() == 0);
  CHECK_EXPR(vec1.capacity() == 0);
  CHECK_EXPR(vec1.begin() == vec1.end());
  CHECK_EXPR(vec1.begin().base() == NULL);

  CtorDtorCounter instance;
  std::vector<CtorDtorCounter> vec2(10, instance);

  CtorDtorCounter::reset();
  for (int i = 0; i < 10; ++i) {
    vec2.pop_back();
  }

  CHECK_EXPR(vec2.size() == 0);
  CHECK_EXPR(CtorDtorCounter::mDtorCount == 10);
  return true;
}

// Every resize passes a default-constructed temporary as the fill value.
bool testResize() {
  {
    std::vector<int> vec1(10, 0xdeadbeef);

    vec1.resize(0);
    CHECK_EXPR(vec1.capacity() == 10);
    vec1.resize(5);
    CHECK_EXPR(vec1.capacity() == 10);
    vec1.resize(10);
    CHECK_EXPR(vec1.capacity() == 10);
    vec1.resize(11);
    CHECK_EXPR(vec1.capacity() == 11);
    vec1.resize(100);
    CHECK_EXPR(vec1.capacity() == 100);
    vec1.resize(10);
    CHECK_EXPR(vec1.capacity() == 100);
  }
  {
    std::vector<B> vec1(10, B());
    vec1.resize(0);
    CHECK_EXPR(vec1.capacity() == 10);
    vec1.resize(5);
    CHECK_EXPR(vec1.capacity() == 10);
    vec1.resize(10);
    CHECK_EXPR(vec1.capacity() == 10);
    vec1.resize(11);
    CHECK_EXPR(vec1.capacity() == 11);
    vec1.resize(100);
    CHECK_EXPR(vec1.capacity() == 100);
    vec1.resize(10);
    CHECK_EXPR(vec1.capacity() == 100);
  }
  {
    std::vector<CtorDtorCounter> vec;
    CtorDtorCounter::reset();
    vec.resize(10);
    CHECK_EXPR(CtorDtorCounter::mCtorCount == 1);
    CHECK_EXPR(CtorDtorCounter::mCopyCtorCount == 10);

    CtorDtorCounter::reset();
    vec.resize(200);
    CHECK_EXPR(CtorDtorCounter::mCtorCount == 1);
    CHECK_EXPR(CtorDtorCounter::mCopyCtorCount == 200);

    // Shrinking destroys exactly the surplus; the other destruction is the
    // temporary fill value.
    CtorDtorCounter::reset();
    vec.resize(199);
    CHECK_EXPR(CtorDtorCounter::mCtorCount == 1);
    CHECK_EXPR(CtorDtorCounter::mDtorCount == 2);

    // The 199 remaining elements plus the temporary; the block stays for
    // the vector's destructor to free.
    CtorDtorCounter::reset();
    vec.resize(0);
    CHECK_EXPR(CtorDtorCounter::mCtorCount == 1);
    CHECK_EXPR(CtorDtorCounter::mDtorCount == 200);
  }
  return true;
}

bool testSwap() {
  {
    std::vector<int> vec1(100, 10);
    std::vector<int> vec2;

    vec1.swap(vec2);

    CHECK_EXPR(vec1.capacity() == 0);
    CHECK_EXPR(vec2.capacity() == 100);

    CHECK_EXPR(vec1.size() == 0);
    CHECK_EXPR(vec2.size() == 100);

    CHECK_EXPR(vec1.begin() == vec1.end());
    CHECK_EXPR(vec2.begin() != vec2.end());
  }
  return true;
}

bool testIterators() {
  std::vector<int> vec1(10);

  for (unsigned i = 0; i < 10; ++i) {
    vec1[i] = i;
  }

  std::vector<int>::iterator i = vec1.begin();
  int c = 0;

  // Dereference and prefix increment visit the elements in order.
  for (; i != vec1.end(); ++i, ++c) {
    CHECK_EXPR(c == *i);
  }

  std::vector<int>::const_iterator j = vec1.begin();
  c = 0;
  for (; j != vec1.end(); ++j, ++c) {
    CHECK_EXPR(c == *j);
  }

  {
    const std::vector<int> vec1(100, 10);

    CHECK_EXPR(vec1.end().operator-(100) == vec1.begin());
    CHECK_EXPR(vec1.end() - 100 == vec1.begin());

    CHECK_EXPR(100 + vec1.begin() == vec1.end());
    CHECK_EXPR(vec1.begin() + 100 == vec1.end());

    CHECK_EXPR(vec1.end() - vec1.begin() == 100);
    CHECK_EXPR(std::distance(vec1.begin(), vec1.end()) == 100);
    CHECK_EXPR(std::distance(vec1.end(), vec1.begin()) == -100);

    // On a const vector begin() and end() give const iterators.
    for (std::vector<int>::const_iterator i = vec1.begin(); i != vec1.end(); ++i) {
      CHECK_EXPR(*i == 10);
    }
  }

  {
    const std::vector<int> vec2;
    CHECK_EXPR(vec2.begin() == vec2.end());
  }
  return true;
}

bool testCtorDtorForNonPod() {
  CtorDtorCounter::reset();
  {
    std::vector<CtorDtorCounter> vec1;

    // An empty vector builds no element.
    CHECK_EXPR(CtorDtorCounter::mCtorCount == 0);
    CHECK_EXPR(CtorDtorCounter::mCopyCtorCount == 0);
  }
  CHECK_EXPR(CtorDtorCounter::mDtorCount == 0);

  {
    CtorDtorCounter instance;
    CHECK_EXPR(CtorDtorCounter::mCtorCount == 1);

    CtorDtorCounter::reset();
    std::vector<CtorDtorCounter> vec2(200, instance);

    // One copy per element, and no temporary copy of the value.
    CHECK_EXPR(CtorDtorCounter::mAssignCount == 0);
    CHECK_EXPR(CtorDtorCounter::mCtorCount == 0);
    CHECK_EXPR(CtorDtorCounter::mCopyCtorCount == 200);
    CHECK_EXPR(CtorDtorCounter::mDtorCount == 0);

    CtorDtorCounter::reset();
    vec2.reserve(400);

    // Growing copies each element once and destroys each original once.
    CHECK_EXPR(CtorDtorCounter::mCopyCtorCount == 200);
    CHECK_EXPR(CtorDtorCounter::mDtorCount == 200);
    CHECK_EXPR(CtorDtorCounter::mCtorCount == 0);
    CHECK_EXPR(CtorDtorCounter::mAssignCount == 0);

    CtorDtorCounter::reset();
  }
  // The 200 elements, then instance.
  CHECK_EXPR(CtorDtorCounter::mDtorCount == 201);
  return true;
}

bool testEraseElt() {
  {
    std::vector<B> empty;
    std::vector<B>::iterator res = empty.erase(empty.end());

    CHECK_EXPR(res == empty.end());
    CHECK_EXPR(empty.empty());
  }
  {
    std::vector<B> one;
    one.push_back(B());
    CHECK_EXPR(!one.empty());

    std::vector<B>::iterator res = one.erase(one.begin());
    CHECK_EXPR(res == one.end());

    CHECK_EXPR(one.begin() == one.end());
    CHECK_EXPR(one.empty());
  }
  {
    std::vector<B> two;
    two.push_back(B());
    two.push_back(B());

    std::vector<B>::iterator res = two.erase(two.begin());

    CHECK_EXPR(res == two.begin());
    CHECK_EXPR(res != two.end());

    CHECK_EXPR(two.begin() != two.end());
    CHECK_EXPR(two.size() == 1);
  }
  {
    std::vector<int> vec;
    for (int i = 0; i < 20; ++i) vec.push_back(i);

    std::vector<int>::iterator pos;
    pos = vec.erase(vec.begin() + 2);
    CHECK_EXPR(*pos == 3);

    pos = vec.erase(vec.begin() + 18);
    CHECK_EXPR(pos == vec.end());
    CHECK_EXPR(*(--pos) == 18);
  }
  {
    std::vector<std::string> vec;

    vec.push_back(std::string("first"));
    vec.push_back(std::string("second"));
    vec.push_back(std::string("third"));
    vec.push_back(std::string("fourth"));

    std::vector<std::string>::iterator pos;
    pos = vec.erase(vec.begin() + 1);
    CHECK_EXPR(vec.size() == 3);
    CHECK_EXPR(*pos == "third");
    CHECK_EXPR(vec[0] == "first");
    CHECK_EXPR(vec[1] == "third");
    CHECK_EXPR(vec[2] == "fourth");
  }
  return true;
}

bool testEraseRange() {
  {
    std::vector<B> empty;
    std::vector<B>::iterator res = empty.erase(empty.begin(), empty.end());

    CHECK_EXPR(res == empty.end());
    CHECK_EXPR(empty.empty());
    CHECK_EXPR(empty.size() == 0);
  }
  {
    std::vector<B> one;
    one.push_back(B());
    CHECK_EXPR(!one.empty());

    std::vector<B>::iterator res = one.erase(one.begin(), one.end());
    CHECK_EXPR(res == one.end());

    CHECK_EXPR(one.begin() == one.end());
    CHECK_EXPR(one.empty());
  }
  {
    std::vector<B> two;
    two.push_back(B());
    two.push_back(B());

    // The first of the two goes; the result is its slot, not the end.
    std::vector<B>::iterator res = two.erase(two.begin(), two.begin() + 1);

    CHECK_EXPR(res == two.begin());
    CHECK_EXPR(res != two.end());

    CHECK_EXPR(two.begin() != two.end());
    CHECK_EXPR(two.size() == 1);
  }
  {
    std::vector<B> two;
    two.push_back(B());
    two.push_back(B());

    // An empty range erases nothing.
    std::vector<B>::iterator res = two.erase(two.begin(), two.begin());

    CHECK_EXPR(res == two.begin());
    CHECK_EXPR(res != two.end());

    CHECK_EXPR(two.begin() != two.end());
    CHECK_EXPR(two.size() == 2);
  }
  {
    std::vector<int> vec;
    for (int i = 0; i < 20; ++i) vec.push_back(i);

    std::vector<int>::iterator pos;
    // The tail moves down over the erased element.
    pos = vec.erase(vec.begin() + 2, vec.begin() + 3);
    CHECK_EXPR(*pos == 3);

    pos = vec.erase(vec.begin() + 18, vec.end());
    CHECK_EXPR(pos == vec.end());
    CHECK_EXPR(*(--pos) == 18);
  }
  {
    std::vector<std::string> vec;

    vec.push_back(std::string("first"));
    vec.push_back(std::string("second"));
    vec.push_back(std::string("third"));
    vec.push_back(std::string("fourth"));

    std::vector<std::string>::iterator pos;
    pos = vec.erase(vec.begin() + 1, vec.begin() + 3);
    CHECK_EXPR(vec.size() == 2);
    CHECK_EXPR(*pos == "fourth");
    CHECK_EXPR(vec[0] == "first");
    CHECK_EXPR(vec[1] == "fourth");
    vec.erase(vec.begin(), vec.end());
    CHECK_EXPR(vec.empty());
  }
  return true;
}

#pragma GCC diagnostic ignored "-Wsign-compare"  // testAt: an int element against 0xdeadbeef
bool testAt() {
  {
    std::vector<int> vec;
    vec.at(1000) = 0xdeadbeef;
    CHECK_EXPR(vec.at(1000) == 0xdeadbeef);
  }
  return true;
}

}  // namespace kestrel

int main(int /* argc */, char** /* argv */) {
  RUN_CASE(testConstructorInt);
  RUN_CASE(testConstructorString);
  RUN_CASE(testConstructorClass);
  RUN_CASE(testConstructorRepeat);
  RUN_CASE(testConstructorIterator);
  RUN_CASE(testReserve);
  RUN_CASE(testPushBack);
  RUN_CASE(testPopBack);
  RUN_CASE(testResize);
  RUN_CASE(testSwap);
  RUN_CASE(testIterators);
  RUN_CASE(testCtorDtorForNonPod);
  RUN_CASE(testEraseElt);
  RUN_CASE(testEraseRange);
  RUN_CASE(testAt);
  return kPassed;
}

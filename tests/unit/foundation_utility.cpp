// <utility>, <new>, <initializer_list>, <cstddef> and the type traits they
// rest on. Built against plinth, and also against the compiler's own library
// as a control (PLINTH_CONTROL): every expectation here is ISO C++'s.
#include <cstddef>
#include <initializer_list>
#include <new>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "support/failalloc.h"
#include "support/unit.h"

namespace {

// Records how it was last made: 'd'efault, 'c'opied, 'm'oved, or 'x' when
// it was the source of a move.
struct Tracked {
  char how;
  int value;
  explicit Tracked(int v = 0) : how('d'), value(v) {}
  Tracked(const Tracked& o) : how('c'), value(o.value) {}
  Tracked(Tracked&& o) noexcept : how('m'), value(o.value) { o.how = 'x'; }
  Tracked& operator=(const Tracked& o) {
    how = 'c';
    value = o.value;
    return *this;
  }
  Tracked& operator=(Tracked&& o) noexcept {
    how = 'm';
    value = o.value;
    o.how = 'x';
    return *this;
  }
};

struct CopyOnly {  // declares a copy, so it has no move
  int value;
  explicit CopyOnly(int v) : value(v) {}
  CopyOnly(const CopyOnly& o) : value(o.value) {}
  CopyOnly& operator=(const CopyOnly& o) {
    value = o.value;
    return *this;
  }
};

struct Explicit {
  explicit Explicit(int) {}
};
struct Base {};
struct Derived : Base {};
struct Plain {
  int a;
  char b;
};

char category(int&) { return 'l'; }
char category(int&&) { return 'r'; }
template <typename _T>
char forwarded(_T&& t) {
  return category(std::forward<_T>(t));
}

}  // namespace

// The traits the new headers are built on, as a table checked at compile
// time.
static_assert(std::is_same<std::remove_reference<int&&>::type, int>::value, "");
static_assert(std::is_same<std::add_lvalue_reference<void>::type, void>::value, "");
static_assert(std::is_same<std::add_rvalue_reference<int&>::type, int&>::value, "");
static_assert(std::is_same<std::decay<const int&>::type, int>::value, "");
static_assert(std::is_same<std::decay<int[3]>::type, int*>::value, "");
static_assert(std::is_same<std::decay<int(int)>::type, int (*)(int)>::value, "");
static_assert(std::is_same<std::conditional<false, int, long>::type, long>::value, "");
static_assert(std::is_same<std::enable_if<true>::type, void>::value, "");
static_assert(std::is_function<void(int)>::value && !std::is_function<void (*)(int)>::value, "");
static_assert(!std::is_function<int&>::value && !std::is_function<const int>::value, "");
static_assert(std::is_convertible<Derived*, Base*>::value, "");
static_assert(!std::is_convertible<Base*, Derived*>::value, "");
static_assert(!std::is_convertible<int, Explicit>::value, "");
static_assert(std::is_constructible<Explicit, int>::value, "");
static_assert(std::is_convertible<void, void>::value && !std::is_convertible<int, void>::value, "");
static_assert(!std::is_convertible<int, int[2]>::value, "");
static_assert(std::is_trivially_copyable<Plain>::value, "");
static_assert(!std::is_trivially_copyable<Tracked>::value, "");
static_assert(std::is_nothrow_move_constructible<Tracked>::value, "");
static_assert(!std::is_nothrow_move_constructible<CopyOnly>::value, "");
static_assert(std::is_null_pointer<std::nullptr_t>::value, "");
static_assert(std::is_same<std::size_t, decltype(sizeof(0))>::value, "");
#ifndef PLINTH_CONTROL
// plinth's pair has the defaulted assignments (ISO's pair need not).
static_assert(std::is_trivially_copyable<std::pair<int, Plain> >::value, "");

// Relocation: every trivially copyable type, other classes when declared,
// and a pair of relocatable members.
struct WithConstructor {
  int x;
  WithConstructor() : x(1) {}
};
typedef std::pair<const std::string, int> Entry;
static_assert(kestrel::is_relocatable<WithConstructor>::value, "");
static_assert(kestrel::is_relocatable<Entry>::value, "");
static_assert(kestrel::is_relocatable<std::pair<int, std::pair<std::string, Plain> > >::value, "");
static_assert(!kestrel::is_relocatable<Tracked>::value, "");
static_assert(!kestrel::is_relocatable<std::pair<std::string, Tracked> >::value, "");

TEST(pair_copy_check_asks_both_members) {
  const Entry source("key", 1);
  const Entry whole(source), lost("", 1);
  EXPECT((kestrel::copy_check<Entry>::succeeded(whole, source)));
  EXPECT(!(kestrel::copy_check<Entry>::succeeded(lost, source)));
  typedef std::pair<int, std::pair<int, std::string> > Nested;
  const Nested deep(1, std::make_pair(2, std::string("abc")));
  const Nested shallow(1, std::make_pair(2, std::string()));
  EXPECT(!(kestrel::copy_check<Nested>::succeeded(shallow, deep)));
}
#endif
static_assert(noexcept(std::swap(std::declval<Tracked&>(), std::declval<Tracked&>())), "");
static_assert(!noexcept(std::swap(std::declval<CopyOnly&>(), std::declval<CopyOnly&>())), "");

TEST(move_and_forward_keep_the_value_category) {
  int i = 0;
  EXPECT(category(std::move(i)) == 'r');
  EXPECT(forwarded(i) == 'l');
  EXPECT(forwarded(1) == 'r');
  Tracked a(5);
  Tracked b(std::move(a));
  EXPECT(b.how == 'm' && b.value == 5 && a.how == 'x');
}

TEST(swap_moves_when_it_can_and_copies_otherwise) {
  Tracked a(1), b(2);
  std::swap(a, b);
  EXPECT(a.value == 2 && b.value == 1);
  EXPECT(a.how == 'm' && b.how == 'm');
  CopyOnly c(3), d(4);
  std::swap(c, d);
  EXPECT(c.value == 4 && d.value == 3);
}

TEST(swap_of_arrays_exchanges_every_element) {
  int a[2][3] = {{1, 2, 3}, {4, 5, 6}};
  int b[2][3] = {{7, 8, 9}, {10, 11, 12}};
  std::swap(a, b);
  EXPECT(a[0][0] == 7 && a[1][2] == 12 && b[0][0] == 1 && b[1][2] == 6);
}

#if __cplusplus >= 201402L
TEST(exchange_returns_the_old_value) {
  Tracked t(1);
  Tracked old = std::exchange(t, Tracked(2));
  EXPECT(old.value == 1 && t.value == 2 && t.how == 'm');
}
#endif

TEST(pair_builds_its_members_from_what_it_is_given) {
  std::pair<int, double> zero;
  EXPECT(zero.first == 0 && zero.second == 0.0);
  Tracked t(7);
  std::pair<Tracked, int> moved(std::move(t), 1);
  EXPECT(moved.first.how == 'm' && t.how == 'x');
  std::pair<Tracked, int> copied(moved);
  EXPECT(copied.first.how == 'c' && copied.first.value == 7);
  std::pair<long, double> converted = std::pair<int, float>(3, 0.5f);
  EXPECT(converted.first == 3 && converted.second == 0.5);
  const std::pair<const char*, int> literal = std::make_pair("key", 2);
  EXPECT(literal.first[0] == 'k' && literal.second == 2);
  // A member that builds only explicitly makes the pair's constructor
  // explicit too.
  typedef std::pair<Explicit, int> ExplicitPair;
  EXPECT((std::is_constructible<ExplicitPair, int, int>::value));
  EXPECT(!(std::is_convertible<std::pair<int, int>, ExplicitPair>::value));
  EXPECT((std::is_constructible<ExplicitPair, std::pair<int, int> >::value));
  EXPECT(!(std::is_constructible<ExplicitPair, int*, int>::value));
}

TEST(pairs_compare_first_then_second) {
  typedef std::pair<int, int> P;
  struct Case {
    P x, y;
    bool eq, lt;
  };
  const Case cases[] = {{P(1, 2), P(1, 2), true, false},
                        {P(1, 2), P(1, 3), false, true},
                        {P(1, 9), P(2, 0), false, true},
                        {P(2, 0), P(1, 9), false, false},
                        {P(1, 3), P(1, 2), false, false}};
  for (const Case& c : cases) {
    EXPECT((c.x == c.y) == c.eq && (c.x != c.y) == !c.eq);
    EXPECT((c.x < c.y) == c.lt && (c.y > c.x) == c.lt);
    EXPECT((c.x <= c.y) == (c.lt || c.eq) && (c.x >= c.y) == !c.lt);
  }
}

static_assert(std::tuple_size<const std::pair<int, char> >::value == 2, "");
static_assert(
    std::is_same<std::tuple_element<1, const std::pair<int, char> >::type, const char>::value, "");

TEST(pair_elements_by_index_and_type) {
  std::pair<int, Tracked> p(1, Tracked(2));
  std::get<0>(p) = 5;
  const std::pair<int, Tracked>& c = p;
  EXPECT(std::get<0>(c) == 5 && std::get<1>(c).value == 2);
  Tracked moved(std::get<1>(std::move(p)));
  EXPECT(moved.how == 'm' && p.second.how == 'x');
#if __cplusplus >= 201402L
  std::get<int>(p) = 6;
  EXPECT(p.first == 6 && std::get<Tracked>(c).how == 'x');
#endif
#if __cplusplus >= 201703L
  auto& [number, tracked] = p;  // through tuple_size and get
  number = 7;
  const auto [n, t] = c;
  EXPECT(p.first == 7 && n == 7 && &tracked == &p.second && t.how == 'c');
#endif
}

TEST(pair_swap_and_assignment) {
  std::pair<int, Tracked> a(1, Tracked(10)), b(2, Tracked(20));
  swap(a, b);
  EXPECT(a.first == 2 && a.second.value == 20 && b.first == 1 && b.second.value == 10);
  a = std::pair<int, Tracked>(3, Tracked(30));
  EXPECT(a.first == 3 && a.second.how == 'm');
  std::pair<long, Tracked> c;
  c = b;
  EXPECT(c.first == 1 && c.second.how == 'c' && c.second.value == 10);
}

TEST(initializer_list_views_the_braced_values) {
  std::initializer_list<int> list = {3, 1, 4};
  EXPECT(list.size() == 3 && *list.begin() == 3 && list.end() - list.begin() == 3);
  int sum = 0;
  for (int v : list) sum += v;
  EXPECT(sum == 8);
  EXPECT(std::begin(list) == list.begin() && std::end(list) == list.end());
  std::initializer_list<int> empty;
  EXPECT(empty.size() == 0 && empty.begin() == empty.end());
}

TEST(placement_new_builds_in_the_given_storage) {
  alignas(Tracked) unsigned char storage[sizeof(Tracked)];
  Tracked* t = new (storage) Tracked(4);
  EXPECT(static_cast<void*>(t) == storage && t->value == 4 && t->how == 'd');
  t->~Tracked();
}

TEST(nothrow_new_returns_null_when_memory_runs_out) {
  int* p = new (std::nothrow) int(6);
  EXPECT(p != 0 && *p == 6);
  delete p;
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected here");
  failalloc::fail_all();
  int* volatile q = new (std::nothrow) int[4];  // volatile: clang may not drop the request
  failalloc::disarm();
  EXPECT(q == 0);
  delete[] q;
}

namespace {

struct Shape {
  virtual ~Shape() {}
};
struct Circle : Shape {};

}  // namespace

// typeid through a reference finds the dynamic type; one type compares and
// hashes equal wherever it is asked for, and before() orders two types one
// way only. The shapes are local to this unit, int is not.
TEST(type_info_compares_orders_and_hashes_types) {
  Circle circle;
  const Shape& shape = circle;
  const std::type_info& dynamic = typeid(shape);
  EXPECT(dynamic == typeid(Circle) && dynamic != typeid(Shape) && !(dynamic != typeid(Circle)));
  EXPECT(dynamic.hash_code() == typeid(Circle).hash_code() && *dynamic.name() != '*');
  EXPECT(dynamic.before(typeid(Shape)) != typeid(Shape).before(dynamic) &&
         !dynamic.before(dynamic));
  EXPECT(typeid(int) == typeid(const int) && typeid(int) != typeid(long));
  EXPECT(typeid(int).before(typeid(long)) != typeid(long).before(typeid(int)));
}

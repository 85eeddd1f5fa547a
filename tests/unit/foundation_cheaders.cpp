// The C library's headers in both spellings, as an ordinary program mixes
// them with the containers. Built against plinth, and also against the
// compiler's own library as a control (PLINTH_CONTROL); the build system
// also compiles this file with -nostdinc++ and as C++11 to C++20.
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <cassert>
#include <cctype>
#include <cerrno>
#include <cfloat>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "support/unit.h"

// The overloads pick the argument's type; integers compute as double.
static_assert(std::is_same<decltype(std::sqrt(2.0f)), float>::value, "");
static_assert(std::is_same<decltype(std::sqrt(2.0L)), long double>::value, "");
static_assert(std::is_same<decltype(std::sqrt(2)), double>::value, "");
static_assert(std::is_same<decltype(std::pow(2.0f, 2)), double>::value, "");
static_assert(std::is_same<decltype(std::pow(2.0f, 2.0f)), float>::value, "");
static_assert(std::is_same<decltype(std::fmax(1.0f, 2.0L)), long double>::value, "");
static_assert(std::is_same<decltype(std::lround(2.5f)), long>::value, "");
static_assert(std::is_same<decltype(std::abs(-2L)), long>::value, "");
static_assert(std::is_same<decltype(std::abs(-2.5f)), float>::value, "");
static_assert(std::is_same<decltype(std::div(7LL, 2LL)), std::lldiv_t>::value, "");
static_assert(std::is_same<decltype(abs(-2LL)), long long>::value, "");
static_assert(sizeof(std::int64_t) == 8 && sizeof(std::uint8_t) == 1, "");
static_assert(INT32_MAX == 2147483647 && CHAR_BIT == 8, "");
static_assert(DBL_MANT_DIG == 53, "");

namespace {

// Formats through std::va_list, as a logging helper would.
int format(char* out, std::size_t size, const char* pattern, ...) {
  std::va_list args;
  va_start(args, pattern);
  const int n = std::vsnprintf(out, size, pattern, args);
  va_end(args);
  return n;
}

}  // namespace

TEST(math_functions_in_std_and_in_the_global_namespace) {
  EXPECT(std::sqrt(16) == 4.0);
  EXPECT(std::hypot(3, 4.0f) == 5.0);
  EXPECT(std::fabs(-1.5f) == 1.5f && std::abs(-1.5) == 1.5);
  int e = 0;
  EXPECT(std::frexp(8.0f, &e) == 0.5f && e == 4);
  EXPECT(std::fma(2, 3.0f, 1) == 7.0);
  EXPECT(std::floor(-0.5) == -1.0 && floor(2.5) == 2.0);
}

TEST(classification_is_a_function_for_every_type) {
  const double inf = HUGE_VAL;
  const double nan = std::nan("");
  EXPECT(std::isnan(nan) && !std::isnan(1.0f) && !std::isnan(3));
  EXPECT(std::isinf(-inf) && !std::isinf(1e308L) && std::isfinite(0));
  EXPECT(std::signbit(-0.0) && !std::signbit(0.0f) && std::signbit(-1));
  EXPECT(std::fpclassify(0.0) == FP_ZERO && std::fpclassify(1e-310) == FP_SUBNORMAL);
  EXPECT(std::isnormal(1.0) && !std::isnormal(0.0f));
  EXPECT(std::isunordered(nan, 1) && !std::isless(nan, 1.0) && std::isless(1, 2.0f));
  EXPECT(isnan(nan) && !isinf(1.0));  // unqualified, as from <math.h>
}

TEST(c_library_names_in_std) {
  char buffer[16];
  EXPECT(std::snprintf(buffer, sizeof buffer, "%d-%s", 42, "x") == 4);
  EXPECT(std::strcmp(buffer, "42-x") == 0 && std::strlen(buffer) == 4);
  const char* dash = std::strchr(static_cast<const char*>(buffer), '-');
  EXPECT(dash == buffer + 2);
  EXPECT(std::strtol("-17", 0, 10) == -17 && std::atoi("5") == 5);
  EXPECT(std::abs(LONG_MIN + 1L) == LONG_MAX && std::div(7L, 2L).rem == 1);
  EXPECT(std::isdigit('7') && std::toupper('a') == 'A');
  errno = 0;
  std::strtol("99999999999999999999", 0, 10);
  EXPECT(errno == ERANGE);
  EXPECT(format(buffer, sizeof buffer, "%" PRId64 "/%s", std::int64_t(-5), "y") == 4);
  EXPECT(std::strcmp(buffer, "-5/y") == 0);
  EXPECT(std::strtoimax("-12", 0, 10) == -12 && std::imaxabs(-3) == 3);
  const std::time_t epoch = 86400;
  EXPECT(std::strftime(buffer, sizeof buffer, "%Y-%m-%d", std::gmtime(&epoch)) == 10);
  EXPECT(std::strcmp(buffer, "1970-01-02") == 0 && std::difftime(epoch, 0) == 86400.0);
  void* block = std::malloc(4);
  EXPECT(block != 0);
  std::free(block);
}

TEST(c_names_mix_with_the_containers) {
  std::vector<std::pair<std::string, double> > roots;
  for (int i = 1; i <= 3; ++i) roots.push_back(std::make_pair(std::string("r"), std::sqrt(i)));
  EXPECT(roots.size() == 3 && roots[2].second > 1.73 && roots[2].second < 1.74);
  EXPECT(std::strcmp(roots[0].first.c_str(), "r") == 0);
}

// <cassert> follows NDEBUG anew at each inclusion (the tests may be built
// with NDEBUG defined).
#undef NDEBUG
#include <cassert>

TEST(assert_follows_ndebug_at_each_inclusion) {
  int calls = 0;
  assert(++calls == 1);
  EXPECT(calls == 1);
}

// numeric_limits of the floating-point types, against <float.h>. Only ISO
// members and values, so the file builds against another library as well.
#include <float.h>

#include <limits>

#include "support/unit.h"

namespace {

template <typename _T>
bool is_nan(_T x) {
  return x != x;
}

// The members every floating type shares, from its <float.h> row.
template <typename _T>
bool floating_limits_match(_T max, _T min, _T epsilon, int digits, int digits10, int max_digits10,
                           int min_exponent, int max_exponent10) {
  typedef std::numeric_limits<_T> L;
  const _T inf = L::infinity();
  return L::is_specialized && L::is_signed && !L::is_integer && !L::is_exact && L::radix == 2 &&
         L::max() == max && L::min() == min && L::lowest() == -max && L::epsilon() == epsilon &&
         L::round_error() == _T(0.5) && L::digits == digits && L::digits10 == digits10 &&
         L::max_digits10 == max_digits10 && L::min_exponent == min_exponent &&
         L::max_exponent10 == max_exponent10 && L::has_infinity && L::has_quiet_NaN &&
         L::is_iec559 && L::is_bounded && !L::is_modulo &&
         L::round_style == std::round_to_nearest && inf > max && -inf < -max &&
         is_nan(L::quiet_NaN()) && is_nan(L::signaling_NaN()) && L::denorm_min() > _T(0) &&
         L::denorm_min() < min && L::has_denorm == std::denorm_present;
}

TEST(floating_limits_have_the_iso_values) {
  EXPECT(floating_limits_match<float>(FLT_MAX, FLT_MIN, FLT_EPSILON, 24, 6, 9, -125, 38));
  EXPECT(floating_limits_match<double>(DBL_MAX, DBL_MIN, DBL_EPSILON, 53, 15, 17, -1021, 308));
  EXPECT(floating_limits_match<long double>(LDBL_MAX, LDBL_MIN, LDBL_EPSILON, LDBL_MANT_DIG,
                                            LDBL_DIG, LDBL_MANT_DIG == 64 ? 21 : 17, LDBL_MIN_EXP,
                                            LDBL_MAX_10_EXP));
  // A min/max scan seeded from the limits finds the real extremes.
  const double values[] = {-3.5, 2.25, 1e300, -1e-300};
  double low = std::numeric_limits<double>::max(), high = std::numeric_limits<double>::lowest();
  for (double v : values) {
    low = v < low ? v : low;
    high = v > high ? v : high;
  }
  EXPECT(low == -3.5 && high == 1e300);
}

struct Opaque {};

// The primary template answers for types it does not know, and says so.
TEST(unknown_types_are_not_specialized) {
  EXPECT(!std::numeric_limits<Opaque*>::is_specialized);
  EXPECT(!std::numeric_limits<Opaque*>::is_iec559 && !std::numeric_limits<Opaque*>::is_bounded);
  EXPECT(std::numeric_limits<const double>::max() == DBL_MAX);
  static_assert(std::numeric_limits<float>::digits == 24, "constant expressions");
  static_assert(std::numeric_limits<double>::max() > 1e308, "constant expressions");
}

}  // namespace

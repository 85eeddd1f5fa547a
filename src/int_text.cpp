#include <string.h>

#include <__plinth/int_text.h>
#include <string>

namespace kestrel {

namespace {

const char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Four digits a step: their two pairs come from one remainder, which
// halves the chain of divisions that each depend on the one before.
template <typename _U>
inline char* Decimal(char* end, _U val) {
  while (val >= 10000) {
    const unsigned four = static_cast<unsigned>(val % 10000);
    val /= 10000;
    end -= 4;
    memcpy(end, kPairs + 2 * (four / 100), 2);
    memcpy(end + 2, kPairs + 2 * (four % 100), 2);
  }
  if (val >= 100) {
    const unsigned pair = static_cast<unsigned>(val % 100);
    val /= 100;
    end -= 2;
    memcpy(end, kPairs + 2 * pair, 2);
  }
  if (val >= 10) {
    end -= 2;
    memcpy(end, kPairs + 2 * static_cast<unsigned>(val), 2);
  } else {
    *--end = static_cast<char>('0' + val);
  }
  return end;
}

// 10^n, but 0 for n == 0 (so that 0 counts one digit).
// clang-format off
const unsigned long long kPowers[] = {
    0, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000,
    10000000000ull, 100000000000ull, 1000000000000ull, 10000000000000ull, 100000000000000ull,
    1000000000000000ull, 10000000000000000ull, 100000000000000000ull, 1000000000000000000ull,
    10000000000000000000ull};
// clang-format on

// The count of decimal digits: log10 estimated from the bit length (1233 /
// 4096 is just above log10(2)), then corrected by one comparison, in the
// value's own width.
inline size_t Digits(unsigned val) {
  const int estimate = (32 - __builtin_clz(val | 1)) * 1233 >> 12;
  return static_cast<size_t>(estimate + 1 - (val < static_cast<unsigned>(kPowers[estimate])));
}
inline size_t Digits(unsigned long long val) {
  const int estimate = (64 - __builtin_clzll(val | 1)) * 1233 >> 12;
  return static_cast<size_t>(estimate + 1 - (val < kPowers[estimate]));
}

}  // namespace

// Out of line: the streams and std::to_string share them.
__attribute__((__noinline__)) char* __uint_text(char* end, unsigned int val) {
  return Decimal(end, val);
}

__attribute__((__noinline__)) char* __uint_text(char* end, unsigned long long val) {
  // Without 64-bit registers each 64-bit division is a library call: split
  // off nine digits at a time with one and convert the runs in 32 bits.
  if (sizeof(void*) < sizeof(val)) {
    while (val > 0xffffffffu) {
      const unsigned long long high = val / 1000000000u;
      char* const run = end - 9;
      for (char* p = __uint_text(end, static_cast<unsigned>(val - high * 1000000000u)); p > run;) {
        *--p = '0';
      }
      end = run;
      val = high;
    }
    return __uint_text(end, static_cast<unsigned>(val));
  }
  return Decimal(end, val);
}

template <typename _U>
std::string __int_string::build(_U magnitude, bool negative) {
  std::string result;
  const size_t length = Digits(magnitude) + negative;
  if (result.SafeMalloc(length)) {
    __uint_text(result.mData + length, magnitude);
    if (negative) result.mData[0] = '-';
    result.SetLength(length);
  }
  return result;
}

std::string __int_string::make(unsigned magnitude, bool negative) {
  return build(magnitude, negative);
}

std::string __int_string::make(unsigned long long magnitude, bool negative) {
  return build(magnitude, negative);
}

}  // namespace kestrel

#include <string.h>

#include <__plinth/int_text.h>

namespace kestrel {

namespace {

const char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

template <typename _U>
inline char* Decimal(char* end, _U val) {
  while (val >= 100) {
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

}  // namespace

// The two unsigned conversions stay out of line: the others share them.
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

char* __int_text(char* end, int val) {
  const unsigned mag = static_cast<unsigned>(val);
  char* begin = __uint_text(end, val < 0 ? 0u - mag : mag);
  if (val < 0) *--begin = '-';
  return begin;
}

char* __int_text(char* end, long long val) {
  const unsigned long long mag = static_cast<unsigned long long>(val);
  char* begin = __uint_text(end, val < 0 ? 0u - mag : mag);
  if (val < 0) *--begin = '-';
  return begin;
}

}  // namespace kestrel

// plinth's integer-to-text conversion (__plinth/int_text.h), and
// std::to_string of integers, which sizes its block by counting digits
// first, against snprintf: every power of 2, 8, 10 and 16 and its neighbours, the limits
// of every integer width, and a few million pseudo-random values per width,
// spread over every digit count.
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <__plinth/int_text.h>
#include <string>

#include "support/unit.h"

namespace {

const int kRandomPerWidth = 2000000;  // about 5 s of i386 under qemu

// xorshift64: reproducible, and cheap next to snprintf.
unsigned long long sSeed = 0x9e3779b97f4a7c15ULL;
unsigned long long Next() {
  sSeed ^= sSeed << 13;
  sSeed ^= sSeed >> 7;
  sSeed ^= sSeed << 17;
  return sSeed;
}

// Compares one conversion's text (ending at end) with snprintf's.
bool Same(const char* begin, const char* end, const char* format, unsigned long long val) {
  char want[32];
  const int len = snprintf(want, sizeof want, format, val);
  return end - begin == len && memcmp(begin, want, static_cast<size_t>(len)) == 0;
}
bool Same(const std::string& text, const char* format, unsigned long long val) {
  return text.capacity() == text.size() &&
         Same(text.data(), text.data() + text.size(), format, val);
}

// The decimal conversions of val as a 64-bit and as a 32-bit value, and
// to_string of each as signed and unsigned.
bool DecimalSame(unsigned long long val) {
  char text[kestrel::__int_text_size];
  char* const end = text + sizeof text;
  const unsigned narrow = static_cast<unsigned>(val);
  const int narrow_signed = static_cast<int>(narrow);
  const bool ok =
      Same(kestrel::__uint_text(end, val), end, "%llu", val) &&
      Same(kestrel::__uint_text(end, narrow), end, "%llu", narrow) &&
      Same(std::to_string(val), "%llu", val) &&
      Same(std::to_string(static_cast<long long>(val)), "%lld", val) &&
      Same(std::to_string(narrow), "%llu", narrow) &&
      Same(std::to_string(narrow_signed), "%lld", static_cast<unsigned long long>(narrow_signed));
  if (!ok) fprintf(stderr, "  wrong text for %llu\n", val);
  return ok;
}

// Every conversion of val in every base.
bool AllSame(unsigned long long val) {
  char text[kestrel::__int_text_size];
  char* const end = text + sizeof text;
  const bool ok = Same(kestrel::__uint_text(end, val, 16, false), end, "%llx", val) &&
                  Same(kestrel::__uint_text(end, val, 16, true), end, "%llX", val) &&
                  Same(kestrel::__uint_text(end, val, 8, false), end, "%llo", val);
  if (!ok) fprintf(stderr, "  wrong base 8 or 16 text for %llu\n", val);
  return DecimalSame(val) && ok;
}

}  // namespace

TEST(powers_of_each_base_and_their_neighbours) {
  const unsigned kBases[] = {2, 8, 10, 16};
  int wrong = 0;
  for (size_t b = 0; b < sizeof kBases / sizeof kBases[0]; ++b) {
    for (unsigned long long p = 1; p != 0; p = p > ULLONG_MAX / kBases[b] ? 0 : p * kBases[b]) {
      wrong += !AllSame(p - 1) + !AllSame(p) + !AllSame(p + 1);
      wrong += !AllSame(0 - p) + !AllSame(0 - p - 1);  // negative as signed
    }
  }
  EXPECT(wrong == 0);
}

TEST(limits_of_every_width) {
  const unsigned long long kLimits[] = {
      0,         SCHAR_MAX, static_cast<unsigned long long>(SCHAR_MIN),
      UCHAR_MAX, SHRT_MAX,  static_cast<unsigned long long>(SHRT_MIN),
      USHRT_MAX, INT_MAX,   static_cast<unsigned long long>(INT_MIN),
      UINT_MAX,  LONG_MAX,  static_cast<unsigned long long>(LONG_MIN),
      ULONG_MAX, LLONG_MAX, static_cast<unsigned long long>(LLONG_MIN),
      ULLONG_MAX};
  int wrong = 0;
  for (size_t i = 0; i < sizeof kLimits / sizeof kLimits[0]; ++i) wrong += !AllSame(kLimits[i]);
  EXPECT(wrong == 0);
}

// Random bits shifted right by a random amount, so that every digit count
// comes up about equally often; each value is also taken as 32 bits. The
// other bases only shift, and the edges above cover them.
TEST(random_decimal_values_of_each_width) {
  // valgrind (which preloads its own library) gets a hundredth: the loop
  // touches no heap, and at full length it would take minutes there.
  const char* preload = getenv("LD_PRELOAD");
  const int count =
      preload && strstr(preload, "vgpreload") ? kRandomPerWidth / 100 : kRandomPerWidth;
  int wrong = 0;
  for (int i = 0; i < count && wrong < 10; ++i) {
    const unsigned long long bits = Next();
    wrong += !DecimalSame(bits >> (bits & 63));
  }
  EXPECT(wrong == 0);
}

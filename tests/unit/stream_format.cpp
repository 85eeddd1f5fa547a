// std::ostream read back through a capturing buffer: the text of every
// overload, the format state arithmetic, manipulators and an unbound stream.
#include <limits.h>
#include <stdio.h>
#include <string.h>

#include <iomanip>
#include <ios_base>
#include <ostream>
#include <streambuf>
#include <string>

#include "support/unit.h"

namespace {

// Keeps everything handed to it and counts the sputn and pubsync calls.
// A count that is negative or runs past the array marks it bad.
class Capture : public std::streambuf {
 public:
  Capture() : mSize(0), mPuts(0), mSyncs(0), mBad(false) {}

  bool Holds(const char* text, size_t len) const {
    return !mBad && mSize == len && memcmp(mText, text, len) == 0;
  }
  bool Holds(const char* text) const { return Holds(text, strlen(text)); }
  void Clear() { mSize = 0, mPuts = 0, mSyncs = 0, mBad = false; }

  static const size_t kCapacity = 8192;
  char mText[kCapacity];
  size_t mSize;
  int mPuts;
  int mSyncs;
  bool mBad;

 protected:
  int sync() {
    ++mSyncs;
    return 0;
  }
  std::streamsize xsputn(const char_type* str, std::streamsize num) {
    ++mPuts;
    if (num < 0 || static_cast<size_t>(num) > kCapacity - mSize) {
      mBad = true;
      return 0;
    }
    memcpy(mText + mSize, str, static_cast<size_t>(num));
    mSize += static_cast<size_t>(num);
    return num;
  }
};

Capture sCapture;

// A fresh stream over the cleared capture.
struct Fixture {
  Fixture() : os(&sCapture) { sCapture.Clear(); }
  std::ostream os;
};

std::ios_base& SetHex(std::ios_base& stream) {
  stream.setf(std::ios_base::hex, std::ios_base::basefield);
  return stream;
}

}  // namespace

TEST(flag_arithmetic) {
  Fixture f;
  EXPECT(f.os.flags() == 4098);
  EXPECT(f.os.setf(std::ios_base::hex) == 4098);
  EXPECT(f.os.flags() == 4106);
  EXPECT(f.os.flags(4098) == 4106);
  EXPECT(f.os.setf(std::ios_base::hex, std::ios_base::basefield) == 4098);
  EXPECT(f.os.flags() == 4104);
  f.os.flags(4098);
  f.os.unsetf(std::ios_base::skipws);
  EXPECT(f.os.flags() == 2);
  EXPECT(std::ios_base::adjustfield == 176 && std::ios_base::basefield == 74 &&
         std::ios_base::floatfield == 260);
}

TEST(precision_and_width_refuse_negative_values) {
  Fixture f;
  EXPECT(f.os.precision() == 6 && f.os.width() == 0);
  EXPECT(f.os.precision(-1) == 6);
  EXPECT(f.os.precision() == 6);
  EXPECT(f.os.precision(3) == 6);
  EXPECT(f.os.precision() == 3);
  EXPECT(f.os.width(-2) == 0);
  EXPECT(f.os.width(4) == 0);
  EXPECT(f.os.width() == 4);
  // The width pads the next formatted output only.
  f.os << 7 << 8;
  EXPECT(sCapture.Holds("   78") && f.os.width() == 0);
}

TEST(integers_are_written_in_full_in_one_put) {
  Fixture f;
  f.os << 42;
  EXPECT(sCapture.Holds("42") && sCapture.mPuts == 1);
  sCapture.Clear();
  f.os << -7 << ' ' << INT_MIN << ' ' << UINT_MAX;
  EXPECT(sCapture.Holds("-7 -2147483648 4294967295"));
  sCapture.Clear();
  f.os << LLONG_MIN;
  EXPECT(sCapture.Holds("-9223372036854775808"));
  sCapture.Clear();
  f.os << ULLONG_MAX;
  EXPECT(sCapture.Holds("18446744073709551615"));
  sCapture.Clear();
  f.os << LONG_MIN << ' ' << ULONG_MAX;
  EXPECT(sCapture.Holds(sizeof(long) == 4 ? "-2147483648 4294967295"
                                          : "-9223372036854775808 18446744073709551615"));
}

TEST(bool_char_pointer_and_string_text) {
  Fixture f;
  // A null string writes nothing, and the width goes as after any output.
  f.os.width(5);
  f.os << static_cast<const char*>(0);
  EXPECT(sCapture.mPuts == 0 && f.os.width() == 0);
  f.os << true << false << 'A' << static_cast<unsigned char>('B') << static_cast<signed char>('C');
  f.os << static_cast<const void*>(reinterpret_cast<char*>(0x1234));
  f.os << "str1";
  f.os.write("a\0b", 3).put('\0').write_formatted("c\0", 2);
  f.os << std::string("d\0e", 3);
  EXPECT(sCapture.Holds("10ABC0x1234str1a\0b\0c\0d\0e", 24));
}

TEST(floating_point_uses_exponent_form_at_the_precision) {
  Fixture f;
  f.os << 1.5;
  EXPECT(sCapture.Holds("1.500000e+00"));
  sCapture.Clear();
  f.os << 1.5f;
  EXPECT(sCapture.Holds("1.500000e+00"));
  sCapture.Clear();
  f.os.precision(2);
  f.os << 3.14159;
  EXPECT(sCapture.Holds("3.14e+00"));
  sCapture.Clear();
  f.os.setf(std::ios_base::fixed | std::ios_base::showpos);
  f.os << 3.14159;
  EXPECT(sCapture.Holds("+3.14"));
}

// 25 characters fill the small buffer exactly; one more takes the wide path.
TEST(long_exponent_text_is_never_cut) {
  Fixture f;
  f.os.precision(17);
  f.os << -1e-300;
  EXPECT(sCapture.Holds("-1.00000000000000003e-300"));
  sCapture.Clear();
  f.os.precision(18);
  f.os << -1e-300;
  EXPECT(sCapture.Holds("-1.000000000000000025e-300") && sCapture.mPuts == 1);
  sCapture.Clear();
  f.os.precision(30);
  f.os << 1.5;
  EXPECT(sCapture.Holds("1.500000000000000000000000000000e+00") && sCapture.mPuts == 1);
  sCapture.Clear();
  f.os << -__builtin_huge_val();
  EXPECT(sCapture.Holds("-inf"));
}

// Past the last digit a double can have, the rest are zeros written in runs.
TEST(huge_precision_writes_every_digit) {
  Fixture f;
  const char kExact[] = "1.000000000000000055511151231257827021181583404541015625";
  f.os.precision(5000);
  f.os << 0.1;
  EXPECT(!sCapture.mBad && sCapture.mSize == 5006);
  EXPECT(memcmp(sCapture.mText, kExact, sizeof kExact - 1) == 0);
  size_t zeros = sizeof kExact - 1;
  while (zeros < sCapture.mSize && sCapture.mText[zeros] == '0') ++zeros;
  EXPECT(zeros == 5002);
  EXPECT(memcmp(sCapture.mText + 5002, "e-01", 4) == 0);
}

TEST(flush_and_manipulators) {
  Fixture f;
  f.os.flush();
  EXPECT(sCapture.mSyncs == 1);
  EXPECT(&(f.os << 1 << std::endl) == &f.os);
  EXPECT(sCapture.Holds("1\n") && sCapture.mSyncs == 2);
  f.os << std::flush;
  EXPECT(sCapture.mSyncs == 3);
  EXPECT(&(f.os << SetHex) == &f.os);
  EXPECT(f.os.flags() == 4104);
}

TEST(unbound_stream_does_nothing) {
  sCapture.Clear();
  std::ostream os(0);
  EXPECT(&(os << 1 << 2.5 << "x" << 'c' << true << std::endl) == &os);
  EXPECT(&os.write("ab", 2).put('c').write_formatted("d", 1).flush() == &os);
  EXPECT(os.rdbuf(&sCapture) == 0);
  os << "bound";
  EXPECT(os.rdbuf(0) == &sCapture);
  os << "dropped";
  EXPECT(sCapture.Holds("bound"));
}

// ---- format flags against snprintf ----------------------------------------

namespace {

typedef std::ios_base B;

// snprintf's text padded as ISO pads it into `out`: fill before the text
// (right, the default), after it (left), or after its sign and 0x
// (internal). Returns the length.
size_t Padded(const char* text, int width, char fill, B::fmtflags adjust, char* out) {
  const size_t len = strlen(text);
  size_t prefix = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (text[prefix] == '0' && (text[prefix + 1] | 0x20) == 'x') prefix += 2;
  if (adjust == B::left) prefix = len;
  if (adjust == B::right || adjust == 0) prefix = 0;
  const size_t pad = width > static_cast<int>(len) ? width - len : 0;
  memcpy(out, text, prefix);
  memset(out + prefix, fill, pad);
  memcpy(out + prefix + pad, text + prefix, len - prefix);
  return len + pad;
}

// Writes `val` under each adjustment and width and compares with `text`
// (snprintf's) padded as above; the width must be reset afterwards.
template <typename _T>
bool WritesAs(B::fmtflags flags, _T val, const char* text, int precision = 6) {
  static const B::fmtflags kAdjusts[] = {0, B::left, B::right, B::internal};
  static const int kWidths[] = {0, 1, 40};
  bool same = true;
  for (size_t a = 0; a < 4; ++a) {
    for (size_t w = 0; w < 3; ++w) {
      Fixture f;
      f.os.flags(flags | kAdjusts[a]);
      f.os.precision(precision);
      f.os.fill(w == 1 ? '*' : '_');
      f.os.width(kWidths[w]);
      f.os << val;
      char want[Capture::kCapacity];
      const size_t len = Padded(text, kWidths[w], f.os.fill(), kAdjusts[a], want);
      if (!sCapture.Holds(want, len) || f.os.width() != 0) {
        fprintf(stderr, "  flags %d width %d: want '%.*s'\n", flags, kWidths[w], int(len), want);
        same = false;
      }
    }
  }
  return same;
}

// Flags and the printf conversion of signed and of unsigned values.
struct IntCase {
  B::fmtflags flags;
  const char* signed_conv;
  const char* unsigned_conv;
};

const IntCase kIntCases[] = {
    {B::dec, "d", "u"},
    {0, "d", "u"},
    {B::dec | B::hex, "d", "u"},  // two bases at once: decimal
    {B::dec | B::showpos, "+d", "u"},
    {B::dec | B::showbase | B::uppercase, "d", "u"},
    {B::hex, "x", "x"},
    {B::hex | B::showpos, "x", "x"},
    {B::hex | B::uppercase, "X", "X"},
    {B::hex | B::showbase, "#x", "#x"},
    {B::hex | B::showbase | B::uppercase, "#X", "#X"},
    {B::oct, "o", "o"},
    {B::oct | B::showbase | B::showpos, "#o", "#o"},
};

// conv: printf's flags and conversion letter; length: its length modifier.
template <typename _T>
bool IntWritesAs(B::fmtflags flags, const char* conv, const char* length, _T val) {
  char format[16], text[64];
  const size_t flag_len = strlen(conv) - 1;
  snprintf(format, sizeof format, "%%%.*s%s%s", int(flag_len), conv, length, conv + flag_len);
  snprintf(text, sizeof text, format, val);
  return WritesAs(flags, val, text);
}

}  // namespace

TEST(integer_flags_match_snprintf) {
  const int kInts[] = {0, 1, -1, 7, -42, 255, INT_MAX, INT_MIN};
  const unsigned kUnsigned[] = {0, 9, 10, 0x80000000u, UINT_MAX};
  const long kLongs[] = {0, -1, LONG_MAX, LONG_MIN};
  const long long kLongLongs[] = {-1, 100000000000LL, LLONG_MAX, LLONG_MIN};
  const unsigned long long kULongLongs[] = {0, 4294967296ULL, ULLONG_MAX};
  for (size_t c = 0; c < sizeof kIntCases / sizeof kIntCases[0]; ++c) {
    const IntCase& k = kIntCases[c];
    for (size_t i = 0; i < sizeof kInts / sizeof kInts[0]; ++i) {
      EXPECT(IntWritesAs(k.flags, k.signed_conv, "", kInts[i]));
    }
    for (size_t i = 0; i < sizeof kUnsigned / sizeof kUnsigned[0]; ++i) {
      EXPECT(IntWritesAs(k.flags, k.unsigned_conv, "", kUnsigned[i]));
      EXPECT(IntWritesAs(k.flags, k.unsigned_conv, "l", static_cast<unsigned long>(kUnsigned[i])));
    }
    for (size_t i = 0; i < sizeof kLongs / sizeof kLongs[0]; ++i) {
      EXPECT(IntWritesAs(k.flags, k.signed_conv, "l", kLongs[i]));
    }
    for (size_t i = 0; i < sizeof kLongLongs / sizeof kLongLongs[0]; ++i) {
      EXPECT(IntWritesAs(k.flags, k.signed_conv, "ll", kLongLongs[i]));
    }
    for (size_t i = 0; i < sizeof kULongLongs / sizeof kULongLongs[0]; ++i) {
      EXPECT(IntWritesAs(k.flags, k.unsigned_conv, "ll", kULongLongs[i]));
    }
    // short in base 8 or 16 is its unsigned short pattern, as printf's h.
    EXPECT(IntWritesAs(k.flags, k.signed_conv, "h", static_cast<short>(-2)));
  }
}

// Flags and the printf conversion (precision as an argument but for hexfloat).
struct FloatCase {
  B::fmtflags flags;
  const char* format;
};

const FloatCase kFloatCases[] = {
    {0, "%.*e"},  // no floating-point flag: exponent form, not %g
    {B::scientific, "%.*e"},
    {B::fixed, "%.*f"},
    {B::fixed | B::uppercase, "%.*F"},
    {B::scientific | B::uppercase | B::showpos, "%+.*E"},
    {B::fixed | B::showpoint, "%#.*f"},
    {B::showpoint | B::showpos, "%+#.*e"},
    {B::fixed | B::scientific, "%a"},
    {B::fixed | B::scientific | B::uppercase | B::showpos, "%+A"},
};

TEST(floating_point_flags_match_snprintf) {
  const double kValues[] = {
      0.0, -0.0, 1.5, -1234.5678, 1e300, -1e-300, 0.1, __builtin_huge_val(), -__builtin_nan("")};
  const int kPrecisions[] = {0, 3, 17};
  for (size_t c = 0; c < sizeof kFloatCases / sizeof kFloatCases[0]; ++c) {
    const FloatCase& k = kFloatCases[c];
    const bool hexfloat = (k.flags & B::floatfield) == B::floatfield;
    for (size_t v = 0; v < sizeof kValues / sizeof kValues[0]; ++v) {
      for (size_t p = 0; p < 3; ++p) {
        char text[400];
        if (hexfloat) {
          snprintf(text, sizeof text, k.format, kValues[v]);
        } else {
          snprintf(text, sizeof text, k.format, kPrecisions[p], kValues[v]);
        }
        EXPECT(WritesAs(k.flags, kValues[v], text, kPrecisions[p]));
      }
    }
  }
}

TEST(text_bool_and_pointer_flags) {
  EXPECT(WritesAs(0, "str1", "str1"));
  EXPECT(WritesAs(0, std::string("str2"), "str2"));
  EXPECT(WritesAs(0, 'c', "c"));
  EXPECT(WritesAs(B::boolalpha, true, "true"));
  EXPECT(WritesAs(B::boolalpha | B::uppercase, false, "false"));
  EXPECT(WritesAs(B::showpos, true, "+1"));
  EXPECT(WritesAs(B::hex | B::showbase, true, "0x1"));
  EXPECT(WritesAs(0, static_cast<const void*>(reinterpret_cast<char*>(0xbeef)), "0xbeef"));
  EXPECT(WritesAs(0, static_cast<const void*>(0), "(nil)"));
}

TEST(iomanip_and_ends) {
  Fixture f;
  f.os << std::setw(6) << std::setfill('.') << std::left << 42 << '|' << std::setbase(16)
       << std::setiosflags(B::showbase | B::uppercase) << 255 << std::resetiosflags(B::showbase)
       << ' ' << 255 << std::setbase(8) << ' ' << 8 << std::setbase(3) << ' ' << 8
       << std::setprecision(2) << ' ' << 1.5 << std::ends;
  EXPECT(sCapture.Holds("42....|0XFF FF 10 8 1.50E+00\0", 29));
  EXPECT(f.os.fill() == '.' && f.os.precision() == 2 && f.os.width() == 0);
}

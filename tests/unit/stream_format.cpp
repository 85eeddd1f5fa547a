// std::ostream read back through a capturing buffer: the text of every
// overload, the format state arithmetic, manipulators and an unbound stream.
#include <limits.h>
#include <string.h>

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
  // Width is kept, never applied.
  f.os << 7;
  EXPECT(sCapture.Holds("7"));
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
  f.os << static_cast<const char*>(0);
  EXPECT(sCapture.mPuts == 0);
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
  // The flags change nothing.
  sCapture.Clear();
  f.os.setf(std::ios_base::fixed | std::ios_base::showpos);
  f.os << 3.14159;
  EXPECT(sCapture.Holds("3.14e+00"));
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

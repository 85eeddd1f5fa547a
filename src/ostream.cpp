#include <stdio.h>
#include <string.h>

#include <__plinth/int_text.h>
#include <algorithm>
#include <ostream>

namespace std {

namespace {

// Past these many digits after the point every digit of a double is zero:
// in exponent form, and in fixed form (multiples of 2^-1074).
const int kExactExponentDigits = 766;
const int kExactFixedDigits = 1074;
// Sign, 309 integer digits, point, the exact digits and the NUL of the
// longest fixed text; all other text is shorter.
const int kTextSize = kExactFixedDigits + 312;

const char kZeros[] = "0000000000000000000000000000000000000000000000000000000000000000";
const streamsize kZerosSize = sizeof(kZeros) - 1;

// One integer, in the base and with the sign and prefix the flags ask for:
// base 8 and 16 show `bits`, the value's pattern at its own width; decimal
// shows `magnitude`, after '-' when `negative`. Every integer type takes
// this 64-bit path: the decimal conversion turns to 32-bit arithmetic for
// values that fit, and one copy of the code serves all widths.
ostream& PrintInteger(ostream& os, unsigned long long bits, unsigned long long magnitude,
                      bool negative, bool is_signed) {
  char text[kestrel::__int_text_size];
  char* const end = text + sizeof text;
  const ios_base::fmtflags flags = os.flags();
  const ios_base::fmtflags base = flags & ios_base::basefield;
  char* begin;
  streamsize prefix = 0;
  if (base == ios_base::oct || base == ios_base::hex) {
    const bool upper = (flags & ios_base::uppercase) != 0;
    begin = kestrel::__uint_text(end, bits, base == ios_base::hex ? 16 : 8, upper);
    if ((flags & ios_base::showbase) && bits != 0) {
      if (base == ios_base::hex) {
        *--begin = upper ? 'X' : 'x';
        prefix = 2;
      }
      *--begin = '0';
    }
  } else {
    begin = kestrel::__uint_text(end, magnitude);
    if (negative || (is_signed && (flags & ios_base::showpos))) {
      *--begin = negative ? '-' : '+';
      prefix = 1;
    }
  }
  return os.__write_formatted(begin, end - begin, prefix);
}

// _U: the unsigned type of _T's width.
template <typename _U, typename _T>
ostream& PrintSigned(ostream& os, _T val) {
  const unsigned long long wide = static_cast<unsigned long long>(val);
  return PrintInteger(os, static_cast<_U>(val), val < 0 ? 0 - wide : wide, val < 0, true);
}

ostream& PrintUnsigned(ostream& os, unsigned long long val) {
  return PrintInteger(os, val, val, false, false);
}

// The printf conversion for the flags: with no floating-point flag, the
// exponent form. The precision is an argument (".*"); hexfloat is given a
// negative one, which printf takes as none: every digit.
void FloatFormat(ios_base::fmtflags flags, char* format) {
  *format++ = '%';
  if (flags & ios_base::showpos) *format++ = '+';
  if (flags & ios_base::showpoint) *format++ = '#';
  *format++ = '.';
  *format++ = '*';
  const ios_base::fmtflags field = flags & ios_base::floatfield;
  const char conversion = field == ios_base::floatfield ? 'a'
                          : field == ios_base::fixed    ? 'f'
                                                        : 'e';
  *format++ =
      (flags & ios_base::uppercase) ? static_cast<char>(conversion - 'a' + 'A') : conversion;
  *format = '\0';
}

// The characters of a floating-point text that stay ahead of internal
// padding: a sign, and the 0x of hexfloat text.
streamsize FloatPrefix(const char* text, int len) {
  int prefix = len > 0 && (text[0] == '-' || text[0] == '+');
  if (len > prefix + 1 && text[prefix] == '0' && (text[prefix + 1] | 0x20) == 'x') prefix += 2;
  return prefix;
}

}  // namespace

ostream::~ostream() {}

bool ostream::__begin_output_slow() {
  if (rdstate() == goodbit && tie()) tie()->flush();
  if (rdstate() == goodbit) return true;
  setstate(failbit);
  return false;
}

// Out of line: every piece of formatted output goes through it.
__attribute__((__noinline__)) void ostream::__put(const char_type* str, streamsize num) {
  if (num > 0 && good() && rdbuf()->sputn(str, num) != num) setstate(badbit);
}

void ostream::__pad(streamsize num) {
  char run[32];
  memset(run, fill(), sizeof run);
  for (; num > 0; num -= static_cast<streamsize>(sizeof run)) {
    __put(run, std::min(num, static_cast<streamsize>(sizeof run)));
  }
}

// Out of line: put and the manipulators share it.
__attribute__((__noinline__)) ostream& ostream::write(const char_type* str, streamsize num) {
  if (!__begin_output()) return *this;
  __put(str, num);
  return __end_output();
}

ostream& ostream::write_formatted(const char_type* str, streamsize num) {
  return __write_formatted(str, num, 0);
}

// Padding goes after the text (left), after its prefix (internal) or
// before it.
ostream& ostream::__write_formatted(const char_type* str, streamsize num, streamsize prefix) {
  if (!__begin_output()) return *this;
  const streamsize pad = width() - num;
  width(0);
  if (pad > 0) {
    const fmtflags adjust = flags() & adjustfield;
    const streamsize split = adjust == left ? num : adjust == internal ? prefix : 0;
    __put(str, split);
    __pad(pad);
    str += split;
    num -= split;
  }
  __put(str, num);
  return __end_output();
}

ostream& ostream::put(char_type c) { return write(&c, 1); }

// Syncs this stream's buffer only: a tied stream is flushed before output,
// not before a flush, so streams tied to each other cannot recurse.
__attribute__((__noinline__)) ostream& ostream::flush() {
  if (rdbuf() && good() && rdbuf()->pubsync() == -1) setstate(badbit);
  return *this;
}

// A null string writes nothing, but ends the width as any output does.
ostream& ostream::operator<<(const char_type* str) {
  if (!str) return width(0), *this;
  return write_formatted(str, static_cast<streamsize>(strlen(str)));
}

ostream& ostream::operator<<(char_type c) { return write_formatted(&c, 1); }

ostream& ostream::operator<<(bool val) {
  if (flags() & boolalpha) return val ? write_formatted("true", 4) : write_formatted("false", 5);
  return PrintSigned<unsigned>(*this, static_cast<int>(val));
}

ostream& ostream::operator<<(int val) { return PrintSigned<unsigned>(*this, val); }
ostream& ostream::operator<<(unsigned int val) { return PrintUnsigned(*this, val); }
ostream& ostream::operator<<(long val) { return PrintSigned<unsigned long>(*this, val); }
ostream& ostream::operator<<(unsigned long val) { return PrintUnsigned(*this, val); }
ostream& ostream::operator<<(long long val) { return PrintSigned<unsigned long long>(*this, val); }
ostream& ostream::operator<<(unsigned long long val) { return PrintUnsigned(*this, val); }
ostream& ostream::operator<<(float val) { return *this << static_cast<double>(val); }

ostream& ostream::operator<<(const void* ptr) {
  char text[kestrel::__int_text_size];
  const int len = snprintf(text, sizeof text, "%p", ptr);
  return __write_formatted(text, len, FloatPrefix(text, len));
}

// Any precision is written in full. Past the last digit a double can have,
// the rest are zeros: they go in runs between the digits and the exponent,
// or at the end of fixed text.
ostream& ostream::operator<<(double val) {
  char format[8];
  FloatFormat(flags(), format);
  const fmtflags field = flags() & floatfield;
  const streamsize exact = field == fixed ? kExactFixedDigits : kExactExponentDigits;
  const streamsize digits = field == floatfield ? -1 : std::min(precision(), exact);
  char text[kTextSize];
  const int len = snprintf(text, sizeof text, format, static_cast<int>(digits), val);
  const streamsize prefix = FloatPrefix(text, len);
  const streamsize zeros = digits < 0 || !__builtin_isfinite(val) ? 0 : precision() - digits;
  if (zeros == 0) return __write_formatted(text, len, prefix);

  if (!__begin_output()) return *this;
  const char* exponent =
      field == fixed ? 0
                     : static_cast<const char*>(memchr(text, flags() & uppercase ? 'E' : 'e', len));
  const streamsize head = exponent ? exponent - text : len;
  const streamsize pad = width() - len - zeros;
  const fmtflags adjust = flags() & adjustfield;
  const streamsize split = adjust == internal ? prefix : 0;
  width(0);
  __put(text, split);
  if (adjust != left) __pad(pad);
  __put(text + split, head - split);
  for (streamsize run = zeros; run > 0; run -= kZerosSize) __put(kZeros, std::min(run, kZerosSize));
  __put(text + head, len - head);
  if (adjust == left) __pad(pad);
  return __end_output();
}

}  // namespace std

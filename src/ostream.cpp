#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <ostream>

namespace std {

namespace {

// Holds every integer and pointer text (at most 20 characters) and
// exponent-form text up to precision 17.
const int kNumSize = 26;

// The exact decimal expansion of any double ends within 766 digits after
// the point in exponent form; every further digit is zero.
const int kExactDigits = 766;
// Sign, leading digit, point, the digits, "e-308" and the terminating NUL.
const int kWideSize = kExactDigits + 9;

const char kZeros[] = "0000000000000000000000000000000000000000000000000000000000000000";
const streamsize kZerosSize = sizeof(kZeros) - 1;

// Formats one integer or pointer and writes its text in one sputn.
template <typename _T>
ostream& Print(ostream& os, const char* format, _T val) {
  char text[kNumSize];
  return os.write(text, snprintf(text, kNumSize, format, val));
}

// Exponent-form text that outgrows kNumSize, written in full: the formatted
// digits in one sputn, and the zero digits past kExactDigits, when the
// precision asks for them, between the mantissa and the exponent.
ostream& PrintWide(ostream& os, double val, int digits, streamsize zeros) {
  char text[kWideSize];
  const int len = snprintf(text, kWideSize, "%.*e", digits, val);
  if (zeros == 0) return os.write(text, len);
  // Only finite values get this far, so the text has an exponent.
  const int mantissa = static_cast<int>(static_cast<const char*>(memchr(text, 'e', len)) - text);
  os.write(text, mantissa);
  for (; zeros > 0; zeros -= kZerosSize) os.write(kZeros, std::min(zeros, kZerosSize));
  return os.write(text + mantissa, len - mantissa);
}

}  // namespace

ostream::~ostream() {}

ostream& ostream::write(const char_type* str, streamsize num) {
  if (rdbuf()) rdbuf()->sputn(str, num);
  return *this;
}

ostream& ostream::write_formatted(const char_type* str, streamsize num) { return write(str, num); }

ostream& ostream::put(char_type c) { return write(&c, 1); }

ostream& ostream::flush() {
  if (rdbuf()) rdbuf()->pubsync();
  return *this;
}

ostream& ostream::operator<<(const char_type* str) {
  if (str) write(str, static_cast<streamsize>(strlen(str)));
  return *this;
}

ostream& ostream::operator<<(char_type c) { return put(c); }
ostream& ostream::operator<<(bool val) { return put(val ? '1' : '0'); }
ostream& ostream::operator<<(int val) { return Print(*this, "%d", val); }
ostream& ostream::operator<<(unsigned int val) { return Print(*this, "%u", val); }
ostream& ostream::operator<<(long val) { return Print(*this, "%ld", val); }
ostream& ostream::operator<<(unsigned long val) { return Print(*this, "%lu", val); }
ostream& ostream::operator<<(long long val) { return Print(*this, "%lld", val); }
ostream& ostream::operator<<(unsigned long long val) { return Print(*this, "%llu", val); }
ostream& ostream::operator<<(const void* ptr) { return Print(*this, "%p", ptr); }
ostream& ostream::operator<<(float val) { return *this << static_cast<double>(val); }

ostream& ostream::operator<<(double val) {
  const int digits = static_cast<int>(std::min<streamsize>(precision(), kExactDigits));
  char text[kNumSize];
  const int len = snprintf(text, kNumSize, "%.*e", digits, val);
  if (len < kNumSize) return write(text, len);
  return PrintWide(*this, val, digits, precision() - digits);
}

}  // namespace std

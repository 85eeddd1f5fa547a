// std::istream, std::iostream, std::ws, and std::string's getline and >>.
// In a unit of its own: a program that only writes links none of it.
#include <stdlib.h>
#include <string.h>

#include <istream>
#include <limits>
#include <string>

namespace std {

namespace {

typedef streambuf::traits_type Traits;
// Traits::eof(), as a constant: a value computed at start-up would still be
// 0 when a static constructor of another unit reads.
const streambuf::int_type kEof = -1;

// The C locale's whitespace: space, \t, \n, \v, \f and \r.
inline bool IsSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Consumes whitespace; returns the first other character, not consumed, or
// kEof.
int SkipSpace(streambuf* sb) {
  int c = sb->sgetc();
  while (c != kEof && IsSpace(c)) c = sb->snextc();
  return c;
}

// snextc, out of line where code size matters more than speed.
__attribute__((__noinline__)) int Next(streambuf* sb) { return sb->snextc(); }

// The value of c as a digit below `base`, or -1.
inline int Digit(int c, int base) {
  // Letters in either case: 'A' | 0x20 is 'a'.
  const unsigned letter = static_cast<unsigned>((c | 0x20) - 'a');
  const unsigned d = c >= '0' && c <= '9' ? static_cast<unsigned>(c - '0')
                     : letter < 26        ? letter + 10
                                          : 99;
  return d < static_cast<unsigned>(base) ? static_cast<int>(d) : -1;
}

enum Parsed { kNoDigits, kInRange, kOverflow };

// Reads an optional sign and the digits of an integer in the base the
// flags give (none: a 0x prefix means 16, a leading 0 means 8). A 0x prefix
// is taken in base 16, and needs a digit after it. The magnitude saturates
// at the largest unsigned long long.
Parsed ParseInteger(istream& is, unsigned long long& magnitude, bool& negative) {
  streambuf* sb = is.rdbuf();
  const ios_base::fmtflags field = is.flags() & ios_base::basefield;
  int base = field == ios_base::oct   ? 8
             : field == ios_base::hex ? 16
             : field == ios_base::dec ? 10
                                      : 0;
  int c = sb->sgetc();
  negative = c == '-';
  if (c == '-' || c == '+') c = sb->snextc();
  bool digits = false;
  if (c == '0' && (base == 0 || base == 16)) {
    digits = true;
    c = sb->snextc();
    // A prefix needs digits after it.
    if (c == 'x' || c == 'X') {
      base = 16;
      digits = false;
      c = sb->snextc();
    } else if (base == 0) {
      base = 8;
    }
  }
  if (base == 0) base = 10;
  const unsigned ubase = static_cast<unsigned>(base);
  // The digits gather in 32 bits while one more digit cannot carry them
  // past 32 bits: on i386 64-bit arithmetic takes several instructions, and
  // its division a library call.
  const unsigned kShortMax = ubase == 10 ? 429496728u : ~0u >> (ubase == 16 ? 4 : 3);
  unsigned short_value = 0;
  int d;
  for (; (d = Digit(c, base)) >= 0 && short_value <= kShortMax; c = sb->snextc()) {
    digits = true;
    short_value = short_value * ubase + static_cast<unsigned>(d);
  }
  const unsigned long long kMax = ~0ull;
  Parsed parsed = kInRange;
  magnitude = short_value;
  for (; d >= 0; d = Digit(c = sb->snextc(), base)) {
    // Below 2^59 no digit of a base up to 16 can overflow: the division
    // is left to the longest numbers.
    if (parsed == kInRange &&
        ((magnitude >> 59) == 0 || magnitude <= (kMax - static_cast<unsigned>(d)) / ubase)) {
      magnitude = magnitude * ubase + static_cast<unsigned>(d);
    } else {
      parsed = kOverflow;
      magnitude = kMax;
    }
  }
  if (c == kEof) is.setstate(ios_base::eofbit);
  return digits ? parsed : kNoDigits;
}

// The value to store for the integer text ahead, as the bits of an
// unsigned long long, checked against [min, max]: text that makes no number
// gives 0 and one out of range the nearest limit, both with failbit. An
// unsigned type (min 0) takes a negated magnitude modulo its range, as
// strtoull does, as long as the magnitude fits. One copy serves every type.
unsigned long long IntegerValue(istream& is, long long min, unsigned long long max) {
  unsigned long long magnitude;
  bool negative;
  const Parsed parsed = ParseInteger(is, magnitude, negative);
  unsigned long long limit = max;
  if (parsed == kNoDigits) {
    limit = 0;
  } else if (min == 0) {
    if (parsed == kInRange && magnitude <= max) return negative ? 0 - magnitude : magnitude;
  } else if (negative) {
    limit = static_cast<unsigned long long>(min);
    if (parsed == kInRange && magnitude <= 0 - limit) return 0 - magnitude;
  } else if (parsed == kInRange && magnitude <= max) {
    return magnitude;
  }
  is.setstate(ios_base::failbit);
  return limit;
}

template <typename _T>
istream& ExtractInteger(istream& is, _T& val) {
  if (is.__begin_input(false)) {
    val = static_cast<_T>(IntegerValue(is, numeric_limits<_T>::min(), numeric_limits<_T>::max()));
  }
  return is;
}

// Longer number text than this makes no value (failbit). The longest text
// std::ostream writes for a double, in fixed form, is shorter.
const int kFloatTextSize = 2048;

// Takes the longest prefix of the input that fits [sign] digits [. digits]
// [e [sign] digits] into text, terminated. Returns its length, or -1 when
// it has no digit before the exponent or does not fit.
int FloatText(istream& is, char* text) {
  streambuf* sb = is.rdbuf();
  int len = 0;
  bool digits = false;
  // Stores c and peeks at the next character.
  struct Take {
    streambuf* mBuf;
    char* mText;
    int& mLen;
    int operator()(int c) {
      if (mLen < kFloatTextSize) mText[mLen] = static_cast<char>(c);
      ++mLen;
      return Next(mBuf);
    }
  } take = {sb, text, len};
  int c = sb->sgetc();
  if (c == '+' || c == '-') c = take(c);
  for (; c >= '0' && c <= '9'; digits = true) c = take(c);
  if (c == '.') {
    c = take(c);
    for (; c >= '0' && c <= '9'; digits = true) c = take(c);
  }
  if (digits && (c == 'e' || c == 'E')) {
    c = take(c);
    if (c == '+' || c == '-') c = take(c);
    while (c >= '0' && c <= '9') c = take(c);
  }
  if (c == kEof) is.setstate(ios_base::eofbit);
  if (!digits || len >= kFloatTextSize) return -1;
  text[len] = '\0';
  return len;
}

// The text must convert as a whole, or the result is 0 and failbit. Out of
// range: the largest finite value with the sign, and failbit; a value too
// small becomes 0 or a subnormal, as strtod gives.
template <typename _T>
istream& ExtractFloat(istream& is, _T& val, _T (*convert)(const char*, char**)) {
  if (!is.__begin_input(false)) return is;
  char text[kFloatTextSize];
  const int len = FloatText(is, text);
  char* end = text;
  if (len > 0) val = convert(text, &end);
  if (len <= 0 || end != text + len) {
    val = 0;
    is.setstate(ios_base::failbit);
  } else if (__builtin_isinf(val)) {
    val = val < 0 ? -numeric_limits<_T>::max() : numeric_limits<_T>::max();
    is.setstate(ios_base::failbit);
  }
  return is;
}

float ToFloat(const char* text, char** end) { return strtof(text, end); }
double ToDouble(const char* text, char** end) { return strtod(text, end); }
long double ToLongDouble(const char* text, char** end) { return strtold(text, end); }

}  // namespace

istream::~istream() {}

// Out of line: every input function starts with it.
__attribute__((__noinline__)) bool istream::__begin_input(bool noskipws) {
  if (!good()) {
    setstate(failbit);
    return false;
  }
  streambuf* sb = rdbuf();
  // The tied stream is flushed only when the buffer must fetch more input.
  if (tie() && sb->mGetCurr == sb->mGetEnd) tie()->flush();
  if (noskipws || !(flags() & skipws) || SkipSpace(sb) != kEof) return true;
  setstate(eofbit | failbit);
  return false;
}

// Scans the get area in place and copies whole runs; a buffer without a
// get area is read one character at a time. Characters are consumed only
// once they are in str. The first run replaces what str held, in the block
// it has (written in place when it fits), so a loop of getline calls
// reuses one block.
ios_base::iostate istream::__scan(string& str, size_t room, int_type delim) {
  streambuf* sb = rdbuf();
  size_t end = 0;  // of what this scan stored
  iostate state = goodbit;
  while (room > 0) {
    const char_type* begin = sb->mGetCurr;
    const char_type* limit = sb->mGetEnd;
    char_type one;
    if (begin == limit) {
      const int_type c = sb->sgetc();
      if (c == kEof) {
        state = eofbit;
        break;
      }
      begin = sb->mGetCurr;
      limit = sb->mGetEnd;
      if (begin == limit) {
        one = Traits::to_char(c);
        begin = &one;
        limit = begin + 1;
      }
    }
    if (static_cast<size_t>(limit - begin) > room) limit = begin + room;
    const char_type* stop;
    if (delim == kEof) {
      stop = begin;
      while (stop < limit && !IsSpace(static_cast<unsigned char>(*stop))) ++stop;
    } else {
      stop =
          static_cast<const char_type*>(memchr(begin, delim, static_cast<size_t>(limit - begin)));
      if (stop == 0) stop = limit;
    }
    const size_t len = static_cast<size_t>(stop - begin);
    if (len > 0) {
      if (len <= str.mCapacity - end) {
        // The block holds the run: written in place, nothing to allocate.
        traits_type::copy(str.mData + end, begin, len);
        str.SetLength(end + len);
      } else {
        // Grows the block exactly; out of memory, str keeps what this
        // scan stored before.
        if (str.mLength > end) str.SetLength(end);
        str.append(begin, len);
        if (str.mLength != end + len) {
          state = badbit;
          break;
        }
      }
      end += len;
      room -= len;
      if (begin == &one) {
        sb->sbumpc();
      } else {
        sb->mGetCurr += len;
      }
    }
    if (stop < limit) break;
  }
  if (str.mLength > end) str.SetLength(end);
  return state;
}

istream::int_type istream::get() {
  mCount = 0;
  if (!__begin_input(true)) return kEof;
  const int_type c = rdbuf()->sbumpc();
  if (c == kEof) {
    setstate(eofbit | failbit);
  } else {
    mCount = 1;
  }
  return c;
}

istream& istream::get(char_type& c) {
  const int_type got = get();
  if (got != kEof) c = Traits::to_char(got);
  return *this;
}

// The checks come in ISO's order: end of input, then delim, then a full
// array. getline counts the delim it consumes in gcount().
istream& istream::__get_line(char_type* str, streamsize num, char_type delim, bool keep) {
  mCount = 0;
  streamsize stored = 0;
  if (__begin_input(true)) {
    streambuf* sb = rdbuf();
    iostate state = goodbit;
    for (int_type c = sb->sgetc();; c = sb->snextc()) {
      if (c == kEof) {
        state |= eofbit;
        break;
      }
      if (c == Traits::to_int_type(delim)) {
        if (!keep) {
          sb->sbumpc();
          ++mCount;
        }
        break;
      }
      if (stored >= num - 1) {
        if (!keep) state |= failbit;
        break;
      }
      str[stored++] = Traits::to_char(c);
      ++mCount;
    }
    if (mCount == 0) state |= failbit;
    setstate(state);
  }
  if (num > 0) str[stored] = '\0';
  return *this;
}

istream& istream::get(char_type* str, streamsize num, char_type delim) {
  return __get_line(str, num, delim, true);
}

istream& istream::getline(char_type* str, streamsize num, char_type delim) {
  return __get_line(str, num, delim, false);
}

istream& istream::get(streambuf& sb, char_type delim) {
  mCount = 0;
  if (!__begin_input(true)) return *this;
  streambuf* in = rdbuf();
  iostate state = goodbit;
  for (int_type c = in->sgetc();; c = in->snextc()) {
    if (c == kEof) {
      state |= eofbit;
      break;
    }
    const char_type ch = Traits::to_char(c);
    if (ch == delim || sb.sputn(&ch, 1) != 1) break;
    ++mCount;
  }
  if (mCount == 0) state |= failbit;
  setstate(state);
  return *this;
}

istream& istream::ignore(streamsize num, int_type delim) {
  mCount = 0;
  if (!__begin_input(true)) return *this;
  streambuf* sb = rdbuf();
  const bool unlimited = num == numeric_limits<streamsize>::max();
  while (unlimited || mCount < num) {
    const int_type c = sb->sbumpc();
    if (c == kEof) {
      setstate(eofbit);
      break;
    }
    ++mCount;
    if (c == delim) break;
  }
  return *this;
}

istream::int_type istream::peek() {
  mCount = 0;
  if (!__begin_input(true)) return kEof;
  const int_type c = rdbuf()->sgetc();
  if (c == kEof) setstate(eofbit);
  return c;
}

istream& istream::read(char_type* str, streamsize num) {
  mCount = 0;
  if (!__begin_input(true)) return *this;
  mCount = rdbuf()->sgetn(str, num);
  if (mCount < num) setstate(eofbit | failbit);
  return *this;
}

streamsize istream::readsome(char_type* str, streamsize num) {
  mCount = 0;
  if (!__begin_input(true)) return 0;
  const streamsize avail = rdbuf()->in_avail();
  if (avail < 0) {
    setstate(eofbit);
  } else if (avail > 0 && num > 0) {
    mCount = rdbuf()->sgetn(str, avail < num ? avail : num);
  }
  return mCount;
}

istream& istream::putback(char_type c) {
  mCount = 0;
  clear(rdstate() & ~eofbit);
  if (__begin_input(true) && rdbuf()->sputbackc(c) == kEof) setstate(badbit);
  return *this;
}

istream& istream::unget() {
  mCount = 0;
  clear(rdstate() & ~eofbit);
  if (__begin_input(true) && rdbuf()->sungetc() == kEof) setstate(badbit);
  return *this;
}

int istream::sync() {
  if (!rdbuf() || !__begin_input(true)) return -1;
  if (rdbuf()->pubsync() != -1) return 0;
  setstate(badbit);
  return -1;
}

istream::pos_type istream::tellg() {
  return __begin_input(true) ? rdbuf()->pubseekoff(0, cur, in) : pos_type(-1);
}

istream& istream::seekg(pos_type pos) {
  clear(rdstate() & ~eofbit);
  if (__begin_input(true) && rdbuf()->pubseekpos(pos, in) == pos_type(-1)) setstate(failbit);
  return *this;
}

istream& istream::seekg(off_type off, seekdir dir) {
  clear(rdstate() & ~eofbit);
  if (__begin_input(true) && rdbuf()->pubseekoff(off, dir, in) == pos_type(-1)) setstate(failbit);
  return *this;
}

// Without boolalpha: 0 or 1, any other number gives true and failbit. With
// it: the words "true" and "false"; anything else gives false and failbit.
istream& istream::operator>>(bool& val) {
  if (!__begin_input(false)) return *this;
  if (!(flags() & boolalpha)) {
    unsigned long long magnitude;
    bool negative;
    const Parsed parsed = ParseInteger(*this, magnitude, negative);
    val = parsed != kNoDigits && magnitude != 0;
    if (parsed != kInRange || magnitude > 1 || (negative && magnitude != 0)) setstate(failbit);
    return *this;
  }
  streambuf* sb = rdbuf();
  static const char kTrue[] = "true";
  static const char kFalse[] = "false";
  bool can_true = true, can_false = true;
  for (size_t n = 0;; ++n) {
    // The character after a whole word is not looked at: it may not come
    // yet on an interactive stream.
    if ((can_true && n == 4) || (can_false && n == 5)) {
      val = can_true;
      return *this;
    }
    const int_type c = sb->sgetc();
    if (c == kEof) {
      setstate(eofbit);
      break;
    }
    can_true = can_true && c == kTrue[n];
    can_false = can_false && c == kFalse[n];
    if (!can_true && !can_false) break;
    sb->sbumpc();
  }
  val = false;
  setstate(failbit);
  return *this;
}

istream& istream::operator>>(short& val) { return ExtractInteger(*this, val); }
istream& istream::operator>>(unsigned short& val) { return ExtractInteger(*this, val); }
istream& istream::operator>>(int& val) { return ExtractInteger(*this, val); }
istream& istream::operator>>(unsigned int& val) { return ExtractInteger(*this, val); }
istream& istream::operator>>(long& val) { return ExtractInteger(*this, val); }
istream& istream::operator>>(unsigned long& val) { return ExtractInteger(*this, val); }
istream& istream::operator>>(long long& val) { return ExtractInteger(*this, val); }
istream& istream::operator>>(unsigned long long& val) { return ExtractInteger(*this, val); }
istream& istream::operator>>(float& val) { return ExtractFloat(*this, val, ToFloat); }
istream& istream::operator>>(double& val) { return ExtractFloat(*this, val, ToDouble); }
istream& istream::operator>>(long double& val) { return ExtractFloat(*this, val, ToLongDouble); }

istream& istream::operator>>(char_type& c) {
  if (!__begin_input(false)) return *this;
  const int_type got = rdbuf()->sbumpc();
  if (got == kEof) {
    setstate(eofbit | failbit);
  } else {
    c = Traits::to_char(got);
  }
  return *this;
}

istream& ws(istream& is) {
  if (is.__begin_input(true) && SkipSpace(is.rdbuf()) == kEof) is.setstate(ios_base::eofbit);
  return is;
}

// A full array ends the word without a look at what follows.
istream& __read_word(istream& is, char* str, streamsize size) {
  if (!is.__begin_input(false)) return is;
  const streamsize width = is.width();
  is.width(0);
  streamsize room = width > 0 ? width : numeric_limits<streamsize>::max();
  if (size > 0 && size < room) room = size;
  streambuf* sb = is.rdbuf();
  ios_base::iostate state = ios_base::goodbit;
  streamsize stored = 0;
  for (; stored < room - 1; ++stored) {
    const int c = sb->sgetc();
    if (c == kEof) state = ios_base::eofbit;
    if (c == kEof || IsSpace(c)) break;
    str[stored] = Traits::to_char(c);
    sb->sbumpc();
  }
  str[stored] = '\0';
  is.setstate(stored == 0 ? state | ios_base::failbit : state);
  return is;
}

iostream::~iostream() {}

istream& operator>>(istream& is, string& str) {
  if (!is.__begin_input(false)) return is;
  const streamsize width = is.width();
  is.width(0);
  const size_t room = width > 0 ? static_cast<size_t>(width) : str.max_size();
  const ios_base::iostate state = is.__scan(str, room, kEof);
  is.setstate(str.empty() ? state | ios_base::failbit : state);
  return is;
}

// A line of max_size() characters before any delim sets failbit.
istream& getline(istream& is, string& str, char delim) {
  if (!is.__begin_input(true)) return is;
  ios_base::iostate state = is.__scan(str, str.max_size(), Traits::to_int_type(delim));
  if (state == ios_base::goodbit) {
    // __scan stopped at delim, or after max_size() characters.
    if (str.size() == str.max_size()) {
      state = ios_base::failbit;
    } else {
      is.rdbuf()->sbumpc();
    }
  } else if (state == ios_base::eofbit && str.empty()) {
    state |= ios_base::failbit;
  }
  is.setstate(state);
  return is;
}

istream& getline(istream& is, string& str) { return getline(is, str, '\n'); }

}  // namespace std

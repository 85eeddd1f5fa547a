// Differential fuzzing of std::istream's reading against a model: random
// text, read with random format flags by a random sequence of getline,
// operator>> (string, long long, unsigned short, double, char, bool), get,
// peek, ignore, read, tellg, seekg and clear. The model walks the text with an index and
// the documented rules, and takes number values from the C library's strto*
// functions. After each operation the state bits, the position in the text,
// gcount() and the value read must agree.
//
// The text lies in a block of exactly its size, served by a buffer whose
// get area shows a few bytes at a time, so the library crosses refills in
// every scan, and AddressSanitizer sees any read past the input.
//
// Input layout: flags (base, noskipws, boolalpha, number-rich text),
// get-area size, operation count, the operations (one byte each), then the
// text.
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <istream>
#include <limits>
#include <string>

#include "fuzz/fuzz_containers.h"

namespace kestrel {
namespace fuzz {
namespace {

typedef std::ios_base B;
const int kEof = -1;

size_t sStep = 0;
const char* sOperation = "";

void fail(int line, const char* text) {
  fprintf(stderr, "fuzz_input: step %zu, %s: line %d: expected %s\n", sStep, sOperation, line,
          text);
  abort();
}

#define CHECK(expr) ((expr) ? (void)0 : fail(__LINE__, #expr))

// Shows the text `area` bytes at a time.
class ChunkBuf : public std::streambuf {
 public:
  ChunkBuf(const char* text, size_t size, size_t area)
      : mText(text), mEnd(text + size), mArea(area) {}
  size_t consumed() const { return static_cast<size_t>((gptr() ? gptr() : mText) - mText); }

 protected:
  int_type underflow() {
    if (gptr() && gptr() < egptr()) return traits_type::to_int_type(*gptr());
    char* next = const_cast<char*>(gptr() ? gptr() : mText);
    if (next == mEnd) return traits_type::eof();
    const size_t left = static_cast<size_t>(mEnd - next);
    setg(const_cast<char*>(mText), next, next + (left < mArea ? left : mArea));
    return traits_type::to_int_type(*next);
  }
  // Any position within the text; the get area refills from there.
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) {
    const off_type size = mEnd - mText;
    const off_type base = dir == B::beg ? 0 : dir == B::cur ? off_type(consumed()) : size;
    if (base + off < 0 || base + off > size) return off_type(-1);
    char* const at = const_cast<char*>(mText + base + off);
    setg(at, at, at);
    return base + off;
  }
  pos_type seekpos(pos_type pos, std::ios_base::openmode which) {
    return seekoff(pos, B::beg, which);
  }

 private:
  const char* mText;
  const char* mEnd;
  size_t mArea;
};

bool IsSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The model: the text, a position in it, the state bits and the flags.
struct Model {
  const char* mText;
  size_t mSize;
  size_t mPos;
  int mState;
  int mFlags;

  int peek() const { return mPos < mSize ? static_cast<unsigned char>(mText[mPos]) : kEof; }
  // Peeks like the library: reaching the end sets eofbit.
  int look() {
    if (mPos == mSize) mState |= B::eofbit;
    return peek();
  }
  bool sentry(bool skip) {
    if (mState != 0) {
      mState |= B::failbit;
      return false;
    }
    if (!skip || !(mFlags & B::skipws)) return true;
    while (mPos < mSize && IsSpace(peek())) ++mPos;
    if (mPos < mSize) return true;
    mState |= B::eofbit | B::failbit;
    return false;
  }
  // The digits of an integer in its base; returns the base, 0 for none.
  int integer(std::string& digits, bool& negative) {
    const int field = mFlags & B::basefield;
    int base = field == B::oct ? 8 : field == B::hex ? 16 : field == B::dec ? 10 : 0;
    negative = peek() == '-';
    if (peek() == '-' || peek() == '+') ++mPos;
    if (peek() == '0' && (base == 0 || base == 16)) {
      ++mPos;
      // A prefix needs a digit after it.
      if (peek() == 'x' || peek() == 'X') {
        ++mPos;
        base = 16;
      } else {
        digits = "0";
        if (base == 0) base = 8;
      }
    }
    if (base == 0) base = 10;
    for (;; ++mPos) {
      const int c = peek();
      const int lower = c | 0x20;
      const int d = c >= '0' && c <= '9'           ? c - '0'
                    : lower >= 'a' && lower <= 'f' ? lower - 'a' + 10
                                                   : 99;
      if (d >= base) break;
      digits += static_cast<char>(c);
    }
    look();
    return digits.empty() ? 0 : base;
  }
};

// Reads _T with the library and the model's rules for its range.
template <typename _T>
void check_integer(std::istream& in, Model& m) {
  _T got = 7, want = 7;
  in >> got;
  if (m.sentry(true)) {
    std::string digits;
    bool negative;
    const int base = m.integer(digits, negative);
    errno = 0;
    const unsigned long long mag = base ? strtoull(digits.c_str(), 0, base) : 0;
    const bool range = errno != ERANGE;
    const _T kMin = std::numeric_limits<_T>::min(), kMax = std::numeric_limits<_T>::max();
    if (base == 0) {
      want = 0;
      m.mState |= B::failbit;
    } else if (kMin == 0) {
      if (range && mag <= static_cast<unsigned long long>(kMax)) {
        want = static_cast<_T>(negative ? 0 - mag : mag);
      } else {
        want = kMax;
        m.mState |= B::failbit;
      }
    } else {
      const unsigned long long limit = negative ? 0 - static_cast<unsigned long long>(kMin)
                                                : static_cast<unsigned long long>(kMax);
      if (range && mag <= limit) {
        want = negative ? static_cast<_T>(0 - mag) : static_cast<_T>(mag);
      } else {
        want = negative ? kMin : kMax;
        m.mState |= B::failbit;
      }
    }
  }
  CHECK(got == want);
}

void check_double(std::istream& in, Model& m) {
  double got = 7, want = 7;
  in >> got;
  if (!m.sentry(true)) return CHECK(got == want);
  const size_t start = m.mPos;
  bool digits = false;
  if (m.peek() == '+' || m.peek() == '-') ++m.mPos;
  for (; m.peek() >= '0' && m.peek() <= '9'; digits = true) ++m.mPos;
  if (m.peek() == '.') {
    ++m.mPos;
    for (; m.peek() >= '0' && m.peek() <= '9'; digits = true) ++m.mPos;
  }
  if (digits && (m.peek() == 'e' || m.peek() == 'E')) {
    ++m.mPos;
    if (m.peek() == '+' || m.peek() == '-') ++m.mPos;
    while (m.peek() >= '0' && m.peek() <= '9') ++m.mPos;
  }
  m.look();
  const std::string text(m.mText + start, m.mPos - start);
  char* end = 0;
  // Longer text makes no number.
  const bool fits = text.size() < 2048;
  want = digits && fits ? strtod(text.c_str(), &end) : 0;
  if (!digits || !fits || end != text.c_str() + text.size()) {
    want = 0;
    m.mState |= B::failbit;
  } else if (__builtin_isinf(want)) {
    want = want < 0 ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    m.mState |= B::failbit;
  }
  CHECK(got == want || (got != got && want != want));
}

// The characters from the position up to the first for which `stop` is
// true (or the end).
std::string run_until(Model& m, bool (*stop)(int)) {
  const size_t start = m.mPos;
  while (m.mPos < m.mSize && !stop(m.peek())) ++m.mPos;
  return std::string(m.mText + start, m.mPos - start);
}

bool IsNewline(int c) { return c == '\n'; }

void step(std::istream& in, Model& m, unsigned op) {
  std::string got("old"), want("old");
  switch (op % 14) {
    case 0:
      sOperation = "getline";
      std::getline(in, got);
      if (m.sentry(false)) {
        const size_t start = m.mPos;
        want = run_until(m, IsNewline);
        if (m.mPos < m.mSize) {
          ++m.mPos;
        } else {
          m.mState |= m.mPos == start ? B::eofbit | B::failbit : B::eofbit;
        }
      }
      return CHECK(got == want);
    case 1:
      sOperation = ">> string";
      in >> got;
      if (m.sentry(true)) {
        want = run_until(m, IsSpace);
        m.look();
        if (want.empty()) m.mState |= B::failbit;
      }
      return CHECK(got == want);
    case 2:
      sOperation = ">> long long";
      return check_integer<long long>(in, m);
    case 3:
      sOperation = ">> unsigned short";
      return check_integer<unsigned short>(in, m);
    case 4:
      sOperation = ">> double";
      return check_double(in, m);
    case 5: {
      sOperation = "get";
      const int c = in.get();
      int want_c = kEof;
      if (m.sentry(false)) {
        want_c = m.peek();
        if (want_c == kEof) {
          m.mState |= B::eofbit | B::failbit;
        } else {
          ++m.mPos;
        }
      }
      return CHECK(c == want_c && in.gcount() == (want_c != kEof));
    }
    case 6: {
      sOperation = "peek";
      const int c = in.peek();
      const int want_c = m.sentry(false) ? m.look() : kEof;
      return CHECK(c == want_c && in.gcount() == 0);
    }
    case 7: {
      sOperation = "ignore";
      const std::streamsize n = static_cast<std::streamsize>(op / 14 % 8);
      in.ignore(n, '\n');
      std::streamsize taken = 0;
      if (m.sentry(false)) {
        while (taken < n) {
          if (m.mPos == m.mSize) {
            m.mState |= B::eofbit;
            break;
          }
          ++taken;
          if (m.mText[m.mPos++] == '\n') break;
        }
      }
      return CHECK(in.gcount() == taken);
    }
    case 8: {
      sOperation = ">> char";
      char c = 'q', want_c = 'q';
      in >> c;
      if (m.sentry(true)) {
        if (m.mPos == m.mSize) {
          m.mState |= B::eofbit | B::failbit;
        } else {
          want_c = m.mText[m.mPos++];
        }
      }
      return CHECK(c == want_c);
    }
    case 9: {
      sOperation = ">> bool";
      bool b = true;
      in >> b;
      if (!(m.mFlags & B::boolalpha)) {
        // Numbers: 0 is false, 1 true; any other is true and fails.
        if (!m.sentry(true)) return CHECK(b);
        std::string digits;
        bool negative;
        const int base = m.integer(digits, negative);
        errno = 0;
        const unsigned long long n = base ? strtoull(digits.c_str(), 0, base) : 0;
        const bool overflow = errno == ERANGE;
        if (!base || overflow || n > 1 || (negative && n != 0)) m.mState |= B::failbit;
        return CHECK(b == (base && (n != 0 || overflow)));
      }
      if (!m.sentry(true)) return;
      const char* words[] = {"true", "false"};
      size_t n = 0;
      bool can[2] = {true, true};
      for (;; ++n) {
        if ((can[0] && n == 4) || (can[1] && n == 5)) return CHECK(b == can[0]);
        const int c = m.look();
        if (c == kEof) break;
        can[0] = can[0] && n < 4 && c == words[0][n];
        can[1] = can[1] && n < 5 && c == words[1][n];
        if (!can[0] && !can[1]) break;
        ++m.mPos;
      }
      m.mState |= B::failbit;
      return CHECK(!b);
    }
    case 10: {
      sOperation = "read";
      char text[8];
      const std::streamsize n = static_cast<std::streamsize>(op / 14 % 8);
      in.read(text, n);
      std::streamsize taken = 0;
      if (m.sentry(false)) {
        taken = std::min(n, static_cast<std::streamsize>(m.mSize - m.mPos));
        CHECK(memcmp(text, m.mText + m.mPos, static_cast<size_t>(taken)) == 0);
        m.mPos += static_cast<size_t>(taken);
        if (taken < n) m.mState |= B::eofbit | B::failbit;
      }
      return CHECK(in.gcount() == taken);
    }
    case 11:
      sOperation = "ws";
      in >> std::ws;
      if (m.sentry(false)) {
        while (m.mPos < m.mSize && IsSpace(m.peek())) ++m.mPos;
        m.look();
      }
      return;
    case 12: {
      // tellg, or seekg to a position or by an offset from beg, cur or
      // end: small values, some past either end of the text.
      const int how = op / 14 % 4;
      const std::streamoff value = op / 56;
      // Neither changes gcount().
      const std::streamsize count = in.gcount();
      if (how == 0) {
        sOperation = "tellg";
        const std::streamoff at = in.tellg();
        return CHECK(at == (m.sentry(false) ? std::streamoff(m.mPos) : -1) && in.gcount() == count);
      }
      sOperation = "seekg";
      const B::seekdir dir = how == 1 ? B::beg : how == 2 ? B::cur : B::end;
      const std::streamoff off = how == 1 ? value : how == 2 ? value - 2 : -value;
      how == 1 ? in.seekg(off) : in.seekg(off, dir);
      CHECK(in.gcount() == count);
      m.mState &= ~B::eofbit;
      if (!m.sentry(false)) return;
      const std::streamoff base = how == 1 ? 0 : how == 2 ? std::streamoff(m.mPos) : m.mSize;
      if (base + off < 0 || base + off > std::streamoff(m.mSize)) {
        m.mState |= B::failbit;
      } else {
        m.mPos = static_cast<size_t>(base + off);
      }
      return;
    }
    default:
      sOperation = "clear";
      in.clear();
      m.mState = 0;
      return;
  }
}

}  // namespace

size_t run(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int kBases[] = {0, B::dec, B::oct, B::hex};
  const int flags =
      kBases[data[0] & 3] | (data[0] & 4 ? 0 : B::skipws) | (data[0] & 8 ? B::boolalpha : 0);
  const size_t area = 1 + data[1] % 16;
  const size_t ops = std::min<size_t>(1 + data[2] % 24, size - 3);
  // A block of exactly the text's size. Flag bit 16 draws the bytes from
  // the characters numbers and words are made of; bit 32 (instead) makes
  // each byte a separator or a token from the edges of the ranges.
  static const char kAlphabet[] = "0123456789012345 \n\t+-.eExXabcfAF9999999999";
  static const char* const kTokens[] = {"65535",
                                        "65536",
                                        "-65535",
                                        "-65536",
                                        "9223372036854775807",
                                        "9223372036854775808",
                                        "-9223372036854775808",
                                        "-9223372036854775809",
                                        "18446744073709551615",
                                        "18446744073709551616",
                                        "-18446744073709551616",
                                        "1e308",
                                        "1.8e308",
                                        "-2e308",
                                        "4e-324",
                                        "0x",
                                        "0xF",
                                        "07",
                                        "1",
                                        "0",
                                        "true",
                                        "false",
                                        "tru",
                                        "\r\n",
                                        "\n",
                                        " ",
                                        "\t"};
  const size_t kTokenCount = sizeof kTokens / sizeof kTokens[0];
  std::string tokens;
  if (data[0] & 32) {
    for (size_t i = 3 + ops; i < size; ++i) tokens += kTokens[data[i] % kTokenCount];
  }
  const size_t text_size = data[0] & 32 ? tokens.size() : size - 3 - ops;
  char* text = static_cast<char*>(malloc(text_size ? text_size : 1));
  for (size_t i = 0; i < text_size; ++i) {
    const uint8_t byte = data[3 + ops + i % (size - 3 - ops)];
    text[i] = data[0] & 32   ? tokens[i]
              : data[0] & 16 ? kAlphabet[byte % (sizeof kAlphabet - 1)]
                             : static_cast<char>(byte);
  }
  ChunkBuf buf(text, text_size, area);
  std::istream in(&buf);
  in.flags(flags);
  Model m = {text, text_size, 0, 0, flags};
  for (sStep = 0; sStep < ops; ++sStep) {
    step(in, m, data[3 + sStep]);
    CHECK(in.rdstate() == m.mState);
    CHECK(buf.consumed() == m.mPos);
  }
  free(text);
  return ops;
}

}  // namespace fuzz
}  // namespace kestrel

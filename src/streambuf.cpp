#include <algorithm>
#include <streambuf>

namespace std {

streambuf::~streambuf() {}

// Fills the put area run by run; each character that does not fit goes to
// overflow, and the first refusal ends the write.
streamsize streambuf::xsputn(const char_type* str, streamsize num) {
  streamsize written = 0;
  while (written < num) {
    // A reversed put area is treated as full.
    const streamsize avail = epptr() - pptr();
    if (avail > 0) {
      const streamsize len = std::min(avail, num - written);
      traits_type::copy(pptr(), str, static_cast<size_t>(len));
      mPutCurr += len;  // within the area, so pbump's checks cannot fail
      written += len;
      if (written == num) break;
      str += len;
    }
    if (traits_type::eq_int_type(overflow(traits_type::to_int_type(*str)), traits_type::eof())) {
      break;
    }
    ++written;
    ++str;
  }
  return written;
}

streambuf::int_type streambuf::uflow() {
  const int_type c = underflow();
  // An underflow that answers without a get area consumed nothing here.
  if (!traits_type::eq_int_type(c, traits_type::eof()) && mGetCurr < mGetEnd) ++mGetCurr;
  return c;
}

// Copies the get area run by run; when it is empty, one character comes
// from uflow (which refills it, or serves a buffer without one).
streamsize streambuf::xsgetn(char_type* str, streamsize num) {
  streamsize copied = 0;
  while (copied < num) {
    const streamsize avail = mGetEnd - mGetCurr;
    if (avail > 0) {
      const streamsize len = std::min(avail, num - copied);
      traits_type::copy(str + copied, mGetCurr, static_cast<size_t>(len));
      mGetCurr += len;
      copied += len;
    } else {
      const int_type c = uflow();
      if (traits_type::eq_int_type(c, traits_type::eof())) break;
      str[copied++] = traits_type::to_char(c);
    }
  }
  return copied;
}

}  // namespace std

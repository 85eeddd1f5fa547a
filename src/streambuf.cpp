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

}  // namespace std

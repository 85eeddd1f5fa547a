#include <stdio_filebuf>

namespace kestrel {

stdio_filebuf::~stdio_filebuf() {}

int stdio_filebuf::sync() { return fflush(mStream); }

// Every byte is written, embedded NULs included, in one C call. A short
// count means an output error.
std::streamsize stdio_filebuf::xsputn(const char_type* str, std::streamsize num) {
  if (num <= 0) return 0;
  return static_cast<std::streamsize>(fwrite(str, 1, static_cast<size_t>(num), mStream));
}

}  // namespace kestrel

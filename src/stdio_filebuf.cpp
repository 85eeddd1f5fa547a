#include <stdlib.h>
#include <sys/stat.h>

#include <stdio_filebuf>

namespace kestrel {

namespace {

// The get area's size: a block read from a regular file.
const size_t kGetAreaSize = 16384;

}  // namespace

__stdio_outbuf::~__stdio_outbuf() {}

int __stdio_outbuf::sync() { return mStream && fflush(mStream) == 0 ? 0 : -1; }

// Every byte is written, embedded NULs included, in one C call. A short
// count means an output error.
std::streamsize __stdio_outbuf::xsputn(const char_type* str, std::streamsize num) {
  if (num <= 0 || !mStream) return 0;
  return static_cast<std::streamsize>(fwrite(str, 1, static_cast<size_t>(num), mStream));
}

stdio_filebuf::~stdio_filebuf() {
  __give_back();
  free(mBuffer);
}

void stdio_filebuf::__bind(FILE* stream) {
  __give_back();
  setg(0, 0, 0);
  mStream = stream;
  mLastOp = kNone;
  mRegular = -1;
}

bool stdio_filebuf::__give_back() {
  const long unread = static_cast<long>(egptr() - gptr());
  if (mLastOp != kRead || !mStream || fseek(mStream, -unread, SEEK_CUR) != 0) {
    return unread == 0;
  }
  setg(0, 0, 0);
  mLastOp = kNone;
  return true;
}

int stdio_filebuf::sync() {
  if (mLastOp == kRead) return __give_back(), 0;
  return __stdio_outbuf::sync();
}

// ISO C asks for a seek between reading and writing: giving the read-ahead
// back is one.
std::streamsize stdio_filebuf::xsputn(const char_type* str, std::streamsize num) {
  if (mLastOp == kRead) __give_back();
  mLastOp = kWrite;
  return __stdio_outbuf::xsputn(str, num);
}

stdio_filebuf::int_type stdio_filebuf::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (!mStream) return traits_type::eof();
  if (mLastOp == kWrite) fflush(mStream);
  mLastOp = kRead;
  if (mRegular < 0) {
    struct stat st;
    mRegular = fstat(fileno(mStream), &st) == 0 && S_ISREG(st.st_mode);
    // Without it the stream is read one character at a time.
    if (!mBuffer) mBuffer = static_cast<char*>(malloc(kGetAreaSize));
  }
  char* const area = mBuffer ? mBuffer : &mOne;
  const size_t room = mBuffer ? kGetAreaSize : 1;
  size_t got = 0;
  if (mRegular) {
    got = fread(area, 1, room, mStream);
  } else {
    // fread would wait for the whole block on a terminal or a pipe.
    flockfile(mStream);
    for (int c; got < room && (c = getc_unlocked(mStream)) != EOF;) {
      area[got++] = static_cast<char>(c);
      if (c == '\n') break;
    }
    funlockfile(mStream);
  }
  if (got == 0) {
    setg(0, 0, 0);
    return traits_type::eof();
  }
  setg(area, area, area + got);
  return traits_type::to_int_type(*area);
}

}  // namespace kestrel

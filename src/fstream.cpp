#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <fstream>

namespace std {

namespace {

typedef ios_base B;

// ISO's table from open modes (without ate and binary) to fopen's.
struct ModeText {
  ios_base::openmode mMode;
  const char* mText;
};

const ModeText kModes[] = {
    {B::out, "w"},
    {B::out | B::trunc, "w"},
    {B::out | B::app, "a"},
    {B::app, "a"},
    {B::in, "r"},
    {B::in | B::out, "r+"},
    {B::in | B::out | B::trunc, "w+"},
    {B::in | B::out | B::app, "a+"},
    {B::in | B::app, "a+"},
};

}  // namespace

filebuf::~filebuf() { close(); }

filebuf* filebuf::open(const char* name, ios_base::openmode mode) {
  if (is_open() || !name) return 0;
  const char* text = 0;
  for (size_t i = 0; i < sizeof kModes / sizeof kModes[0]; ++i) {
    if (kModes[i].mMode == (mode & ~(B::ate | B::binary))) text = kModes[i].mText;
  }
  if (!text) return 0;
  char how[4] = {text[0], text[1], 0, 0};
  if (mode & B::binary) how[text[1] ? 2 : 1] = 'b';
  FILE* const stream = fopen(name, how);
  if (!stream) return 0;
  // fopen opens a directory for reading, and every read of it fails:
  // refused as fopen refuses one for writing.
  struct stat st;
  const bool directory = fstat(fileno(stream), &st) == 0 && S_ISDIR(st.st_mode);
  if (directory || ((mode & B::ate) && fseek(stream, 0, SEEK_END) != 0)) {
    const int error = directory ? EISDIR : errno;
    fclose(stream);
    errno = error;
    return 0;
  }
  __bind(stream);
  return this;
}

filebuf* filebuf::close() {
  FILE* const stream = file();
  if (!stream) return 0;
  __bind(0);
  // fclose flushes, and reports a failed flush.
  return fclose(stream) == 0 ? this : 0;
}

}  // namespace std

namespace kestrel {

// kestrel::stdio_filebuf's seeks live with the file streams, among the
// input units: a program that only writes never links them. beg, cur and
// end have the values of SEEK_SET, SEEK_CUR and SEEK_END. Out of line: it
// serves seekpos too.
__attribute__((__noinline__)) stdio_filebuf::pos_type stdio_filebuf::seekoff(
    off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) {
  if (dir == std::ios_base::cur) off -= egptr() - gptr();
  const off_t target = static_cast<off_t>(off);
  if (!mStream || dir < std::ios_base::beg || dir > std::ios_base::end || target != off ||
      fseeko(mStream, target, dir) != 0) {
    return off_type(-1);
  }
  setg(0, 0, 0);
  mLastOp = kNone;
  return off_type(ftello(mStream));
}

stdio_filebuf::pos_type stdio_filebuf::seekpos(pos_type pos, std::ios_base::openmode which) {
  return seekoff(pos, std::ios_base::beg, which);
}

}  // namespace kestrel

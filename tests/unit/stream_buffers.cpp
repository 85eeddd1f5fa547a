// The put-area loop of std::streambuf, and kestrel::stdio_filebuf over a
// temporary file.
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <stdio_filebuf>
#include <streambuf>

#include "support/unit.h"

namespace {

// A buffer over a caller's array. Its overflow refuses like the default
// one, or accepts and keeps each character it is handed.
class AreaBuf : public std::streambuf {
 public:
  AreaBuf(char* beg, char* end, bool accept)
      : mAccept(accept), mOverflows(0), mSpilled(0), mLast(0) {
    setp(beg, end);
  }
  using std::streambuf::epptr;
  using std::streambuf::pbump;
  using std::streambuf::pptr;

  bool mAccept;
  int mOverflows;
  int mSpilled;
  int_type mLast;  // the last value handed to overflow
  char mSpill[16];

 protected:
  int_type overflow(int_type c) {
    ++mOverflows;
    mLast = c;
    if (!mAccept) return std::streambuf::overflow(c);
    mSpill[mSpilled++] = traits_type::to_char(c);
    return c;
  }
};

const char kText[] = "abcdefghij";

// What has reached the file itself, past any C stdio buffering.
size_t OnDisk(FILE* file, char* out, size_t size) {
  const ssize_t got = pread(fileno(file), out, size, 0);
  return got < 0 ? 0 : static_cast<size_t>(got);
}

}  // namespace

TEST(buffer_without_put_area_takes_nothing) {
  AreaBuf buf(0, 0, false);
  EXPECT(buf.sputn(kText, 0) == 0 && buf.sputn(kText, -1) == 0);
  EXPECT(buf.mOverflows == 0);
  EXPECT(buf.sputn(kText, 3) == 0);
  EXPECT(buf.mOverflows == 1);
  EXPECT(buf.pubsync() == 0);
}

TEST(small_area_with_refusing_overflow_takes_what_fits) {
  char area[4];
  AreaBuf buf(area, area + 4, false);
  EXPECT(buf.sputn(kText, 10) == 4);
  EXPECT(buf.pptr() == buf.epptr());
  EXPECT(memcmp(area, "abcd", 4) == 0);
  EXPECT(buf.mOverflows == 1);
  EXPECT(buf.mLast == 'e');
  // A full area refuses at once.
  EXPECT(buf.sputn(kText, 2) == 0);
}

TEST(accepting_overflow_takes_the_rest_one_by_one) {
  char area[4];
  AreaBuf buf(area, area + 4, true);
  EXPECT(buf.sputn(kText, 10) == 10);
  EXPECT(memcmp(area, "abcd", 4) == 0);
  EXPECT(buf.mSpilled == 6);
  EXPECT(memcmp(buf.mSpill, "efghij", 6) == 0);
}

// A byte of 0xff must not reach overflow as eof, or it would read as a refusal.
TEST(overflow_sees_bytes_widened_to_0_255) {
  AreaBuf buf(0, 0, true);
  EXPECT(buf.sputn("\xff", 1) == 1);
  EXPECT(buf.mLast == 255);
}

TEST(reversed_put_area_counts_as_full) {
  char area[4];
  AreaBuf buf(area + 4, area, false);
  EXPECT(buf.sputn(kText, 3) == 0);
  EXPECT(buf.pptr() == area + 4);
}

TEST(pbump_refuses_nonpositive_and_overlong_counts) {
  char area[4];
  AreaBuf buf(area, area + 4, false);
  buf.pbump(0);
  buf.pbump(-1);
  buf.pbump(5);
  EXPECT(buf.pptr() == area);
  buf.pbump(3);
  EXPECT(buf.pptr() == area + 3);
  buf.pbump(2);
  EXPECT(buf.pptr() == area + 3);
  buf.pbump(1);
  EXPECT(buf.pptr() == buf.epptr());
}

TEST(sputc_stores_while_there_is_room_then_overflows) {
  char area[1];
  AreaBuf buf(area, area + 1, false);
  EXPECT(buf.sputc('x') == 'x');
  EXPECT(area[0] == 'x' && buf.pptr() == buf.epptr());
  EXPECT(buf.sputc('y') == -1);
  EXPECT(buf.mLast == 'y');
}

TEST(file_buffer_writes_every_byte_including_nul) {
  FILE* file = tmpfile();
  EXPECT(file != 0);
  if (!file) return;
  kestrel::stdio_filebuf buf(file);
  EXPECT(buf.sputn("a\0bcd", 5) == 5);
  EXPECT(buf.sputn("str1", 4) == 4);
  EXPECT(buf.sputn("zz", 0) == 0);
  EXPECT(buf.sputn("zz", -1) == 0);
  EXPECT(buf.pubsync() == 0);
  char got[16];
  EXPECT(OnDisk(file, got, sizeof got) == 9);
  EXPECT(memcmp(got, "a\0bcdstr1", 9) == 0);
  fclose(file);
}

TEST(file_buffer_destructor_neither_flushes_nor_closes) {
  FILE* file = tmpfile();
  EXPECT(file != 0);
  if (!file) return;
  static char sStdioBuffer[BUFSIZ];
  setvbuf(file, sStdioBuffer, _IOFBF, sizeof sStdioBuffer);
  {
    kestrel::stdio_filebuf buf(file);
    EXPECT(buf.sputn("held", 4) == 4);
  }
  char got[16];
  EXPECT(OnDisk(file, got, sizeof got) == 0);
  EXPECT(fputs("!", file) >= 0);
  EXPECT(fflush(file) == 0);
  EXPECT(OnDisk(file, got, sizeof got) == 5);
  EXPECT(memcmp(got, "held!", 5) == 0);
  fclose(file);
}

TEST(file_buffer_reports_a_failed_write_as_short) {
  FILE* file = fopen("/dev/null", "r");
  EXPECT(file != 0);
  if (!file) return;
  kestrel::stdio_filebuf buf(file);
  EXPECT(buf.sputn("str1", 4) == 0);
  fclose(file);
}

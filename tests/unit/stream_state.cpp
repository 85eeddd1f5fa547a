// The state bits of std::ostream, its tie and unitbuf, and what failing
// buffers and files do to it: a short write or failed flush sets badbit,
// and a stream that is not good writes nothing more.
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <iostream>
#include <ostream>
#include <stdio_filebuf>
#include <streambuf>

#include "support/unit.h"

namespace {

typedef std::ios_base B;

// Counts what reaches it; refuses (short writes, failed syncs) on request.
class Counting : public std::streambuf {
 public:
  Counting() : mPuts(0), mBytes(0), mSyncs(0), mRefuse(false) {}
  int mPuts;
  int mBytes;
  int mSyncs;
  bool mRefuse;

 protected:
  int sync() {
    ++mSyncs;
    return mRefuse ? -1 : 0;
  }
  std::streamsize xsputn(const char_type*, std::streamsize num) {
    ++mPuts;
    const std::streamsize taken = mRefuse ? num / 2 : num;
    mBytes += static_cast<int>(taken);
    return taken;
  }
};

}  // namespace

TEST(stream_without_buffer_is_bad_until_one_is_bound) {
  Counting buf;
  std::ostream os(0);
  EXPECT(os.rdstate() == B::badbit);
  os.clear();
  EXPECT(os.bad());
  os << 1 << "x";
  EXPECT(os.rdstate() == (B::badbit | B::failbit));
  EXPECT(os.rdbuf(&buf) == 0 && os.good());
  os << 12;
  EXPECT(buf.mBytes == 2 && os.good());
  os.rdbuf(0);
  EXPECT(os.rdstate() == B::badbit);
}

// Each failure sets badbit; afterwards nothing reaches the buffer, and each
// attempt adds failbit. Output again after clear().
TEST(failed_write_or_flush_sets_badbit_and_stops_output) {
  struct Case {
    const char* what;
    void (*fail)(std::ostream&);
  };
  const Case kCases[] = {
      {"write", [](std::ostream& os) { os.write("abcd", 4); }},
      {"int", [](std::ostream& os) { os << 12345; }},
      {"string", [](std::ostream& os) { os << "str1"; }},
      {"double", [](std::ostream& os) { os << 1.5; }},
      {"flush", [](std::ostream& os) { os.flush(); }},
      {"endl", [](std::ostream& os) { os << std::endl; }},
  };
  for (size_t i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
    Counting buf;
    std::ostream os(&buf);
    buf.mRefuse = true;
    kCases[i].fail(os);
    EXPECT(os.rdstate() == B::badbit && !os);
    const int puts = buf.mPuts, syncs = buf.mSyncs;
    os << 1 << "more" << std::flush;
    os.write("x", 1).put('y');
    EXPECT(buf.mPuts == puts && buf.mSyncs == syncs);
    EXPECT(os.rdstate() == (B::badbit | B::failbit));
    buf.mRefuse = false;
    os.clear();
    os << 7;
    EXPECT(os.good() && buf.mPuts == puts + 1);
    if (!os.good()) fprintf(stderr, "  after a failed %s\n", kCases[i].what);
  }
}

// eofbit alone does not make the stream fail, but it is not good either.
TEST(eof_alone_stops_output_too) {
  Counting buf;
  std::ostream os(&buf);
  os.setstate(B::eofbit);
  EXPECT(os.eof() && !os.fail() && !os.bad() && os && !os.good());
  os << 1;
  EXPECT(buf.mPuts == 0 && os.rdstate() == (B::eofbit | B::failbit) && !os);
}

// A tied stream is flushed before each output, not before a flush, so two
// streams tied to each other do not recurse.
TEST(tied_stream_is_flushed_before_output) {
  Counting first, second;
  std::ostream a(&first), b(&second);
  EXPECT(a.tie() == 0 && a.tie(&b) == 0 && a.tie() == &b);
  a << 1;
  EXPECT(second.mSyncs == 1 && first.mPuts == 1);
  a.flush();
  EXPECT(second.mSyncs == 1 && first.mSyncs == 1);
  b.tie(&a);
  a << 2;
  b << 3;
  EXPECT(second.mSyncs == 2 && first.mSyncs == 2);
  // A tie that fails to flush does not stop this stream's output.
  second.mRefuse = true;
  a << 4;
  EXPECT(b.bad() && a.good() && first.mPuts == 3);
}

TEST(unitbuf_flushes_after_each_output) {
  Counting buf;
  std::ostream os(&buf);
  os << std::unitbuf << 1 << "x" << 'c';
  os.write("ab", 2);
  EXPECT(buf.mSyncs == 4);
  os << std::nounitbuf << 2;
  EXPECT(buf.mSyncs == 4);
}

// Real files: /dev/full refuses every byte, a pipe whose reader has gone
// fails with EPIPE (SIGPIPE ignored). Unbuffered, the write fails; with
// stdio's buffer, the flush does.
TEST(full_device_and_closed_pipe_set_badbit) {
  void (*old)(int) = signal(SIGPIPE, SIG_IGN);
  for (int target = 0; target < 2; ++target) {
    for (int buffered = 0; buffered < 2; ++buffered) {
      FILE* file = 0;
      int fds[2] = {-1, -1};
      if (target == 0) {
        file = fopen("/dev/full", "w");
      } else if (pipe(fds) == 0) {
        close(fds[0]);
        file = fdopen(fds[1], "w");
      }
      EXPECT(file != 0);
      if (!file) continue;
      if (!buffered) setvbuf(file, 0, _IONBF, 0);
      kestrel::stdio_filebuf buf(file);
      std::ostream os(&buf);
      os << "str1" << 42;
      EXPECT(os.good() == static_cast<bool>(buffered));
      os << std::flush;
      EXPECT(os.bad());
      fclose(file);
    }
  }
  signal(SIGPIPE, old);
}

// cerr is tied to cout: with both sent to one file, text written to cout
// comes out before cerr's, although stdout holds it in a buffer. clog writes
// to stderr too, untied and without unitbuf, as ISO has it.
TEST(cerr_flushes_cout_first) {
  EXPECT(std::cerr.tie() == &std::cout && std::cout.tie() == 0 && std::clog.tie() == 0);
  EXPECT((std::cerr.flags() & B::unitbuf) && !(std::cout.flags() & B::unitbuf) &&
         !(std::clog.flags() & B::unitbuf));
  fflush(stdout);
  FILE* file = tmpfile();
  EXPECT(file != 0);
  if (!file) return;
  const int saved_out = dup(1), saved_err = dup(2);
  dup2(fileno(file), 1);
  dup2(fileno(file), 2);
  std::cout << "1";
  std::cerr << "2";
  std::cout << "3" << std::flush;
  std::clog << "4" << std::flush;
  dup2(saved_out, 1);
  dup2(saved_err, 2);
  close(saved_out);
  close(saved_err);
  char got[8] = {0};
  EXPECT(pread(fileno(file), got, sizeof got - 1, 0) == 4 && strcmp(got, "1234") == 0);
  fclose(file);
  EXPECT(std::cout.good() && std::cerr.good() && std::clog.good());
}

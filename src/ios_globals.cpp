// The standard output streams, as <iostream> declares them (this unit leaves
// that header out to save its ioinit); std::cin has a unit of its own
// (cin.cpp), linked only into programs that read it, and so has std::clog
// (clog.cpp). Streams and buffers live in zeroed static storage, which costs
// a static program no file bytes; the first ios_base::Init builds them there,
// once, and nothing destroys them.
#include <sched.h>
#include <stdio.h>

#include <new>

#include <ostream>
#include <stdio_filebuf>

#include "stream_storage.h"

extern "C" int __cxa_atexit(void (*function)(void*), void* argument, void* dso);

#if defined(__PIC__) && !defined(__PIE__)
// Built for a shared object: unloading it runs the exit flush while its
// code is still there.
extern "C" void* __dso_handle __attribute__((__visibility__("hidden")));
#define PLINTH_EXIT_HANDLE (&__dso_handle)
#else
// A program's exit hooks need no handle (the C library registers its own
// with none), and naming the handle would link its variable into .data.
#define PLINTH_EXIT_HANDLE 0
#endif

PLINTH_STANDARD_STREAM(ostream, cout)
PLINTH_STANDARD_STREAM(ostream, cerr)

namespace std {

// Defined by clog.cpp, so absent (null) when no unit of the program names it.
extern ostream clog __attribute__((__weak__));

}  // namespace std

namespace kestrel {

// Builds std::cin and its buffer; defined by cin.cpp, so null when no unit
// of the program names std::cin.
void __init_cin() __attribute__((__weak__));

namespace {

__stream_storage<__stdio_outbuf> sCoutBuffer;
// Serves cerr and clog: both write straight to stderr.
__stream_storage<__stdio_outbuf> sCerrBuffer;

// Builds a stream in its storage; out of line, so that Init pays one call
// per stream.
__attribute__((__noinline__)) void Build(std::ostream& stream, std::streambuf* sb) {
  ::new (static_cast<void*>(&stream)) std::ostream(sb);
}

// Builds a buffer in its storage, for the same reason.
__attribute__((__noinline__)) std::streambuf* Build(__stream_storage<__stdio_outbuf>& storage,
                                                    FILE* file) {
  return ::new (storage.mBytes) __stdio_outbuf(file);
}

// ISO's destruction of the last Init: registered by the first one, so it
// runs after every static object built after that has been destroyed.
void FlushStreams(void*) {
  std::cout.flush();
  std::cerr.flush();
  if (&std::clog) std::clog.flush();
}

}  // namespace

}  // namespace kestrel

namespace std {

int ios_base::Init::sState = 0;

// The first Init builds; one arriving meanwhile from another thread waits
// until the streams are ready; later ones find them ready at once.
ios_base::Init::Init() {
  using namespace kestrel;
  int expected = 0;
  if (__atomic_compare_exchange_n(&sState, &expected, 1, false, __ATOMIC_ACQUIRE,
                                  __ATOMIC_ACQUIRE)) {
    Build(cout, Build(sCoutBuffer, stdout));
    streambuf* const err = Build(sCerrBuffer, stderr);
    // ISO's cerr: cout is flushed before it writes, and it flushes after
    // each output.
    Build(cerr, err);
    cerr.tie(&cout);
    cerr.setf(unitbuf);
    // ISO's clog: over stderr as well, but neither tied nor unitbuf.
    if (&clog) Build(clog, err);
    if (__init_cin) __init_cin();
    // Should registering fail, the C library still flushes stdout and
    // stderr at exit, and the streams keep no bytes of their own.
    __cxa_atexit(FlushStreams, 0, PLINTH_EXIT_HANDLE);
    __atomic_store_n(&sState, 2, __ATOMIC_RELEASE);
    return;
  }
  while (!done()) sched_yield();
}

bool ios_base::Init::done() { return __atomic_load_n(&sState, __ATOMIC_ACQUIRE) == 2; }

}  // namespace std

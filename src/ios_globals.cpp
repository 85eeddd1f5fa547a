// The standard output streams, as <iostream> declares them (this unit leaves
// that header out to save its ioinit); std::cin has a unit of its own (cin.cpp),
// linked only into programs that read it. The streams are constant-initialised,
// so they are usable from any static constructor of any unit, and no
// constructor of theirs runs at start-up. Their buffers need stdout and
// stderr, which are not constants: ios_base::Init builds them, once, in
// storage that is never destroyed.
#include <sched.h>
#include <stdio.h>

#include <new>

#include <ostream>
#include <stdio_filebuf>

#include "buffer_storage.h"

namespace std {

namespace {

typedef kestrel::__buffer_storage<kestrel::__stdio_outbuf> BufferStorage;

// Registered for destruction (which does nothing) with cout and cerr.
__attribute__((init_priority(101))) BufferStorage sCoutBuffer;
__attribute__((init_priority(101))) BufferStorage sCerrBuffer;

}  // namespace

// Registered for destruction before every ordinary static object, so they
// are destroyed after all of them, whose destructors may still write.
__attribute__((init_priority(101))) ostream cout(&sCoutBuffer.mBuffer);
__attribute__((init_priority(101))) ostream cerr(&sCerrBuffer.mBuffer);

}  // namespace std

namespace kestrel {

// Builds std::cin's buffer; defined by cin.cpp, so null when no unit of the
// program names std::cin.
void __init_cin() __attribute__((__weak__));

}  // namespace kestrel

namespace std {

int ios_base::Init::sState = 0;

// The first Init builds; one arriving meanwhile from another thread waits
// until the streams are ready; later ones find them ready at once.
ios_base::Init::Init() {
  int expected = 0;
  if (__atomic_compare_exchange_n(&sState, &expected, 1, false, __ATOMIC_ACQUIRE,
                                  __ATOMIC_ACQUIRE)) {
    ::new (static_cast<void*>(&sCoutBuffer.mBuffer)) kestrel::__stdio_outbuf(stdout);
    ::new (static_cast<void*>(&sCerrBuffer.mBuffer)) kestrel::__stdio_outbuf(stderr);
    // ISO's cerr: cout is flushed before it writes, and it flushes after
    // each output.
    cerr.tie(&cout);
    cerr.setf(unitbuf);
    if (kestrel::__init_cin) kestrel::__init_cin();
    __atomic_store_n(&sState, 2, __ATOMIC_RELEASE);
    return;
  }
  while (!done()) sched_yield();
}

ios_base::Init::~Init() {
  cout.flush();
  cerr.flush();
}

bool ios_base::Init::done() { return __atomic_load_n(&sState, __ATOMIC_ACQUIRE) == 2; }

}  // namespace std

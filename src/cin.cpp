// std::cin, in a unit of its own: ios_base::Init builds it through a weak
// reference, so a program that never names std::cin links none of the
// input code. Stream and buffer live in zeroed static storage, as std::cout
// does (ios_globals.cpp).
#include <stdio.h>

#include <istream>
#include <new>
#include <ostream>
#include <stdio_filebuf>

#include "stream_storage.h"

namespace std {

// As <iostream> declares it; this unit leaves that header out to save its
// ioinit.
extern ostream cout;

}  // namespace std

PLINTH_STANDARD_STREAM(istream, cin)

namespace kestrel {

namespace {

__stream_storage<stdio_filebuf> sCinBuffer;

}  // namespace

// ISO's cin: tied to cout, so prompts appear before input is awaited.
void __init_cin() {
  ::new (static_cast<void*>(&std::cin))
      std::istream(::new (sCinBuffer.mBytes) stdio_filebuf(stdin));
  std::cin.tie(&std::cout);
}

}  // namespace kestrel

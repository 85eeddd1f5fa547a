// std::cin, in a unit of its own: ios_base::Init builds its buffer through
// a weak reference, so a program that never names std::cin links none of
// the input code. Constant-initialised, as std::cout is.
#include <stdio.h>

#include <istream>
#include <new>
#include <ostream>
#include <stdio_filebuf>

#include "buffer_storage.h"

namespace std {

// As <iostream> declares it; this unit leaves that header out to save its
// ioinit.
extern ostream cout;

namespace {

__attribute__((init_priority(101))) kestrel::__buffer_storage<kestrel::stdio_filebuf> sCinBuffer;

}  // namespace

__attribute__((init_priority(101))) istream cin(&sCinBuffer.mBuffer);

}  // namespace std

namespace kestrel {

// ISO's cin: tied to cout, so prompts appear before input is awaited.
void __init_cin() {
  ::new (static_cast<void*>(&std::sCinBuffer.mBuffer)) stdio_filebuf(stdin);
  std::cin.tie(&std::cout);
}

}  // namespace kestrel

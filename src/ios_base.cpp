#include <stdio.h>

#include <new>

#include <ios_base>
#include <iostream>
#include <stdio_filebuf>

// The C++ ABI's one-time initialisation guard, from the language runtime.
extern "C" int __cxa_guard_acquire(long long* guard);
extern "C" void __cxa_guard_release(long long* guard);

namespace std {

// Raw storage defined in ios_globals.cpp: only Init builds these objects,
// and nothing ever destroys them.
extern kestrel::stdio_filebuf stdio_filebuf_cout;
extern kestrel::stdio_filebuf stdio_filebuf_cerr;

const ios_base::fmtflags ios_base::boolalpha;
const ios_base::fmtflags ios_base::dec;
const ios_base::fmtflags ios_base::fixed;
const ios_base::fmtflags ios_base::hex;
const ios_base::fmtflags ios_base::internal;
const ios_base::fmtflags ios_base::left;
const ios_base::fmtflags ios_base::oct;
const ios_base::fmtflags ios_base::right;
const ios_base::fmtflags ios_base::scientific;
const ios_base::fmtflags ios_base::showbase;
const ios_base::fmtflags ios_base::showpoint;
const ios_base::fmtflags ios_base::showpos;
const ios_base::fmtflags ios_base::skipws;
const ios_base::fmtflags ios_base::unitbuf;
const ios_base::fmtflags ios_base::uppercase;
const ios_base::fmtflags ios_base::adjustfield;
const ios_base::fmtflags ios_base::basefield;
const ios_base::fmtflags ios_base::floatfield;
const ios_base::openmode ios_base::app;
const ios_base::openmode ios_base::ate;
const ios_base::openmode ios_base::binary;
const ios_base::openmode ios_base::in;
const ios_base::openmode ios_base::out;
const ios_base::openmode ios_base::trunc;

long long ios_base::Init::sGuard = 0;
bool ios_base::Init::sDone = false;

// Any thread arriving while another builds waits in the acquire; later
// calls find the guard released and return at once.
ios_base::Init::Init() {
  if (__cxa_guard_acquire(&sGuard) != 1) return;
  if (!sDone) {
    ::new (static_cast<void*>(&stdio_filebuf_cout)) kestrel::stdio_filebuf(stdout);
    ::new (static_cast<void*>(&stdio_filebuf_cerr)) kestrel::stdio_filebuf(stderr);
    ::new (static_cast<void*>(&cout)) ostream(&stdio_filebuf_cout);
    ::new (static_cast<void*>(&cerr)) ostream(&stdio_filebuf_cerr);
    sDone = true;
  }
  __cxa_guard_release(&sGuard);
}

ios_base::Init::~Init() {
  cout.flush();
  cerr.flush();
}

ios_base::ios_base() : mFlags(skipws | dec), mPrecision(6), mWidth(0) {}

ios_base::~ios_base() {}

ios_base::fmtflags ios_base::flags(fmtflags flags) {
  const fmtflags previous = mFlags;
  mFlags = flags;
  return previous;
}

ios_base::fmtflags ios_base::setf(fmtflags flags) { return this->flags(mFlags | flags); }

ios_base::fmtflags ios_base::setf(fmtflags flags, fmtflags mask) {
  return this->flags((flags & mask) | (mFlags & ~mask));
}

void ios_base::unsetf(fmtflags mask) { mFlags &= ~mask; }

streamsize ios_base::precision(streamsize precision) {
  const streamsize previous = mPrecision;
  if (precision >= 0) mPrecision = precision;
  return previous;
}

streamsize ios_base::width(streamsize width) {
  const streamsize previous = mWidth;
  if (width >= 0) mWidth = width;
  return previous;
}

}  // namespace std

#include <sstream>

namespace std {

namespace {

// The first room a writing stringbuf takes; it doubles from there.
const size_t kFirstRoom = 64;

}  // namespace

stringbuf::~stringbuf() {}

size_t stringbuf::__length() const {
  const size_t written = static_cast<size_t>(pptr() - pbase());
  return written > mLength ? written : mLength;
}

void stringbuf::__set_areas(size_t get, size_t put) {
  char* const begin = mBuffer.empty() ? 0 : &mBuffer[0];
  if (mMode & ios_base::in) {
    setg(begin, begin + get, begin + mLength);
  } else {
    setg(0, 0, 0);
  }
  if (mMode & ios_base::out) {
    // pbase() stays at the first character: pptr() - pbase() is what the
    // characters' length has reached by writing.
    setp(begin, begin + mBuffer.size());
    for (size_t step; put > 0; put -= step) {
      step = put < 0x40000000u ? put : 0x40000000u;
      pbump(static_cast<int>(step));
    }
  } else {
    setp(0, 0);
  }
}

string stringbuf::str() const { return string(mBuffer.data(), __length()); }

void stringbuf::str(const string& str) {
  mBuffer = str;
  mLength = mBuffer.size();
  __set_areas(0, (mMode & (ios_base::ate | ios_base::app)) ? mLength : 0);
}

// Output may have gone past the get area's end since it was set.
stringbuf::int_type stringbuf::underflow() {
  if (!(mMode & ios_base::in)) return traits_type::eof();
  const size_t length = __length();
  if (eback() + length > egptr()) setg(eback(), gptr(), eback() + length);
  return gptr() < egptr() ? traits_type::to_int_type(*gptr()) : traits_type::eof();
}

// A character other than the one read before goes back only into a
// buffer that may be written.
stringbuf::int_type stringbuf::pbackfail(int_type c) {
  if (gptr() == eback()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) {
    gbump(-1);
    return traits_type::not_eof(c);
  }
  if (!(mMode & ios_base::out)) return traits_type::eof();
  gbump(-1);
  *gptr() = traits_type::to_char(c);
  return c;
}

// The room doubles; when it cannot grow, the character is refused and
// everything written stays.
stringbuf::int_type stringbuf::overflow(int_type c) {
  if (!(mMode & ios_base::out)) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  if (pptr() == epptr()) {
    const size_t put = static_cast<size_t>(pptr() - pbase());
    const size_t get = static_cast<size_t>(gptr() - eback());
    const size_t room = mBuffer.size();
    const size_t grown = room < kFirstRoom               ? kFirstRoom
                         : room > mBuffer.max_size() / 2 ? mBuffer.max_size()
                                                         : 2 * room;
    mLength = __length();
    if (grown == room) return traits_type::eof();
    mBuffer.resize(grown);
    if (mBuffer.size() != grown) return traits_type::eof();
    __set_areas(get, put);
  }
  *pptr() = traits_type::to_char(c);
  pbump(1);
  return c;
}

// A stream not opened for a direction has no pointers for it, and only
// offset 0 there.
stringbuf::pos_type stringbuf::seekoff(off_type off, ios_base::seekdir dir,
                                       ios_base::openmode which) {
  const bool get = (which & ios_base::in) != 0, put = (which & ios_base::out) != 0;
  const size_t got = static_cast<size_t>(gptr() - eback());
  const size_t put_at = static_cast<size_t>(pptr() - pbase());
  mLength = __length();
  off_type base;
  if (dir == ios_base::beg) {
    base = 0;
  } else if (dir == ios_base::end) {
    base = static_cast<off_type>(mLength);
  } else if (dir == ios_base::cur && get != put) {
    base = static_cast<off_type>(get ? got : put_at);
  } else {
    return off_type(-1);
  }
  const off_type target = base + off;
  if ((!get && !put) || target < 0 || target > static_cast<off_type>(mLength) ||
      (target != 0 && ((get && !gptr()) || (put && !pptr())))) {
    return off_type(-1);
  }
  __set_areas(get ? static_cast<size_t>(target) : got, put ? static_cast<size_t>(target) : put_at);
  return target;
}

stringbuf::pos_type stringbuf::seekpos(pos_type pos, ios_base::openmode which) {
  return seekoff(pos, ios_base::beg, which);
}

}  // namespace std

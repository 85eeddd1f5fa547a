// std::string. Only the storage helpers below call malloc, realloc and free;
// every other member reaches memory through them or through reserve.
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>

namespace kestrel {

char kEmptyString[1];

}  // namespace kestrel

namespace {

using kestrel::kEmptyString;

// What at() and a failed insert hand out.
char sDummy;

// What the const at() hands out: never written, so reading strings from
// several threads shares no written state.
const char kConstDummy = 'X';

// A reversed range counts as empty (a failed check in hardened mode).
size_t RangeLength(const char* first, const char* last) {
  __PLINTH_ASSERT(first <= last);
  return first < last ? last - first : 0;
}

}  // namespace

namespace std {

const string::size_type string::npos;

// --- Storage ---------------------------------------------------------------

// Refuses lengths past max_size() before asking the allocator.
bool string::SafeMalloc(size_type n) {
  if (n == 0 || n > max_size()) return false;
  void* block = malloc(n + 1);
  if (block == 0) return false;
  mData = static_cast<value_type*>(block);
  mCapacity = n;
  return true;
}

// Resizes the block to hold exactly n characters, never fewer than the
// length. On failure the old block stays as it was.
inline void string::SafeRealloc(size_type n) {
  if (n >= mLength && n != mCapacity) ResizeBlock(n);
}

// The block becomes exactly n characters long; n is neither the capacity
// nor below the length. False when memory ran out or n is past max_size(),
// with the old block kept. Growing operations call this directly, having
// already checked what SafeRealloc checks.
bool string::ResizeBlock(size_type n) {
  if (n > max_size()) return false;
  if (mData == kEmptyString) {
    if (!SafeMalloc(n)) return false;
    mData[0] = '\0';
    return true;
  }
  void* block = realloc(mData, n + 1);
  if (block == 0) return false;
  mData = static_cast<value_type*>(block);
  mCapacity = n;
  return true;
}

void string::SafeFree(value_type* buffer) {
  if (buffer != kEmptyString) free(buffer);
}

void string::ResetTo(value_type* str) {
  SafeFree(mData);
  mData = str;
}

// The Constructor overloads expect a string without a block and leave it
// either owning exactly n characters or empty without a block.
void string::Constructor(const value_type* str, size_type pos, size_type n) {
  if (SafeMalloc(n)) {
    traits_type::copy(mData, str + pos, n);
    SetLength(n);
  } else {
    ConstructEmptyString();
  }
}

void string::Constructor(const value_type* str, size_type n) { Constructor(str, 0, n); }

void string::Constructor(size_type n, char c) {
  if (SafeMalloc(n)) {
    traits_type::assign(mData, n, c);
    SetLength(n);
  } else {
    ConstructEmptyString();
  }
}

void string::clear() {
  mCapacity = 0;
  mLength = 0;
  ResetTo(kEmptyString);
}

void string::reserve(size_type size) {
  if (size == 0) {
    if (mLength == 0)
      clear();
    else
      SafeRealloc(mLength);
  } else if (size > mLength) {
    SafeRealloc(size);
  }
}

void string::swap(string& other) {
  if (&other == this) return;
  std::swap(mData, other.mData);
  std::swap(mCapacity, other.mCapacity);
  std::swap(mLength, other.mLength);
}

// --- Construction and assignment -------------------------------------------

string::string(const string& str) { Constructor(str.mData, str.mLength); }

string::string(const string& str, size_type pos, size_type n) {
  if (pos < str.mLength)
    Constructor(str.mData, pos, std::min(n, str.mLength - pos));
  else
    ConstructEmptyString();
}

string::string(const value_type* str) { Constructor(str, str == 0 ? 0 : traits_type::length(str)); }

string::string(const value_type* str, size_type n) { Constructor(str, str == 0 ? 0 : n); }

string::string(size_type n, char c) { Constructor(n, c); }

template <>
string::string(const char* begin, const char* end) {
  Constructor(begin, RangeLength(begin, end));
}

string::~string() { clear(); }

string& string::operator=(string&& str) noexcept {
  if (&str != this) {
    SafeFree(mData);
    mData = str.mData;
    mCapacity = str.mCapacity;
    mLength = str.mLength;
    str.ConstructEmptyString();
  }
  return *this;
}

// The copy is built before the old block goes, so the source may be part of
// this string. Failure leaves the empty string, or, when the source is this
// string's own content, the string as it was: its bytes are not lost.
string& string::Assign(const value_type* str, size_type n) {
  string copy(str, n);
  if (copy.mLength == n || !Owns(str)) swap(copy);
  return *this;
}

string& string::operator=(char c) { return Assign(&c, 1); }

string& string::assign(const string& str) {
  return &str == this ? *this : Assign(str.mData, str.mLength);
}

string& string::assign(const string& str, size_type pos, size_type n) {
  if (pos >= str.mLength || n > str.mLength - pos) return *this;
  return Assign(str.mData + pos, n);
}

string& string::assign(const value_type* str) {
  return str == 0 ? *this : Assign(str, traits_type::length(str));
}

string& string::assign(const value_type* array, size_type n) {
  return array == 0 || n == 0 ? *this : Assign(array, n);
}

// --- Editing ---------------------------------------------------------------

void string::Append(const value_type* str, size_type n) {
  if (n == 0 || n > max_size() - mLength) return;
  const size_type total = mLength + n;
  if (total > mCapacity) {
    // The source may lie in this very block, which growing may move.
    const bool own = str >= mData && str <= mData + mCapacity;
    const size_type offset = own ? str - mData : 0;
    if (!ResizeBlock(total)) return;
    if (own) str = mData + offset;
  }
  traits_type::move(mData + mLength, str, n);
  SetLength(total);
}

string& string::append(const value_type* str) {
  if (str != 0) Append(str, traits_type::length(str));
  return *this;
}

string& string::append(const value_type* str, size_type n) {
  if (str != 0) Append(str, n);
  return *this;
}

string& string::append(const value_type* str, size_type pos, size_type n) {
  if (str != 0) Append(str + pos, n);
  return *this;
}

string& string::append(const string& str) {
  Append(str.mData, str.mLength);
  return *this;
}

template <>
string& string::append<string::iterator>(iterator first, iterator last) {
  Append(first.base(), RangeLength(first.base(), last.base()));
  return *this;
}

template <>
string& string::append<string::const_iterator>(const_iterator first, const_iterator last) {
  Append(first.base(), RangeLength(first.base(), last.base()));
  return *this;
}

string::iterator string::insert(iterator iter, char c) {
  value_type* p = iter.base();
  __PLINTH_ASSERT(p >= mData && p <= mData + mLength);
  if (p < mData || p > mData + mLength) return iterator(&sDummy);
  // Growing may move the block; `iter` then points into freed memory.
  const size_type offset = p - mData;
  if (mLength == mCapacity && !ResizeBlock(mLength + 1)) return iterator(&sDummy);
  traits_type::move(mData + offset + 1, mData + offset, mLength - offset);
  mData[offset] = c;
  SetLength(mLength + 1);
  return iterator(mData + offset);
}

string& string::erase(size_type pos, size_type n) {
  if (pos >= mLength || n == 0) return *this;
  const size_type end = pos + n;
  if (end >= mLength || end < pos) {
    SetLength(pos);
  } else {
    traits_type::move(mData + pos, mData + end, mLength + 1 - end);
    mLength -= n;
  }
  return *this;
}

// --- Access, comparison and search -----------------------------------------

string::reference string::at(size_type pos) {
  if (pos < mLength) return mData[pos];
  sDummy = 'X';
  return sDummy;
}

string::const_reference string::at(size_type pos) const {
  return pos < mLength ? mData[pos] : kConstDummy;
}

int string::compare(const string& other) const {
  if (&other == this) return 0;
  if (mLength != other.mLength) return mLength < other.mLength ? -1 : 1;
  return traits_type::compare(mData, other.mData, mLength);
}

int string::compare(const value_type* other) const { return other == 0 ? 1 : strcmp(mData, other); }

string::size_type string::PositionOf(const void* found) const {
  return found == 0 ? npos : static_cast<const value_type*>(found) - mData;
}

string::size_type string::find(const value_type* str, size_type pos) const {
  if (str == 0) return npos;
  if (str[0] == '\0') return pos <= mLength ? pos : npos;
  if (pos >= mLength) return npos;
  return PositionOf(strstr(mData + pos, str));
}

string::size_type string::find(const value_type* str, size_type pos, size_type n) const {
  if (n == 0) return pos <= mLength ? pos : npos;
  if (str == 0 || pos >= mLength || n > mLength - pos) return npos;
  return PositionOf(memmem(mData + pos, mLength - pos, str, n));
}

string::size_type string::find_first_of(value_type c, size_type pos) const {
  if (pos >= mLength) return npos;
  return PositionOf(memchr(mData + pos, c, mLength - pos));
}

string::size_type string::find_last_of(value_type c, size_type pos) const {
  if (mLength == 0) return npos;
  return PositionOf(memrchr(mData, c, std::min(pos, mLength - 1) + 1));
}

string::size_type string::find_first_not_of(value_type c, size_type pos) const {
  for (; pos < mLength; ++pos)
    if (mData[pos] != c) return pos;
  return npos;
}

string::size_type string::find_last_not_of(value_type c, size_type pos) const {
  if (mLength == 0) return npos;
  for (size_type i = std::min(pos, mLength - 1) + 1; i-- > 0;)
    if (mData[i] != c) return i;
  return npos;
}

string string::substr(size_type pos, size_type n) const { return string(*this, pos, n); }

}  // namespace std

// The string inserter lives here, beside the string it writes.
#include <ostream>

namespace std {

ostream& operator<<(ostream& os, const string& str) {
  os.write_formatted(str.data(), static_cast<streamsize>(str.size()));
  return os;
}

}  // namespace std

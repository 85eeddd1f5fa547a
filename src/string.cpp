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

void string::clear() noexcept {
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

void string::swap(string& other) noexcept {
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
// Out of line: the assign family shares one copy of it.
__attribute__((__noinline__)) string& string::Assign(const value_type* str, size_type n) {
  string copy(str, n);
  if (copy.mLength == n || !Owns(str)) swap(copy);
  return *this;
}

string& string::operator=(char c) { return Assign(&c, 1); }

string& string::assign(const string& str) {
  return &str == this ? *this : Assign(str.mData, str.mLength);
}

string& string::assign(const string& str, size_type pos, size_type n) {
  if (pos >= str.mLength) return *this;
  if (n == npos) n = str.mLength - pos;
  return n > str.mLength - pos ? *this : Assign(str.mData + pos, n);
}

string& string::assign(size_type n, char c) {
  string made(n, c);
  swap(made);
  return *this;
}

string& string::assign(const value_type* str) {
  return str == 0 ? *this : Assign(str, traits_type::length(str));
}

string& string::assign(const value_type* array, size_type n) {
  return array == 0 || n == 0 ? *this : Assign(array, n);
}

// --- Editing ---------------------------------------------------------------

// Opens a hole of n2 bytes at pos in place of n1, moving the tail, and sets
// the new length; the hole's bytes are left to the caller.
bool string::MakeRoom(size_type pos, size_type n1, size_type n2) {
  if (n2 > n1 && n2 - n1 > max_size() - mLength) return false;
  const size_type length = mLength - n1 + n2;
  if (length > mCapacity && !ResizeBlock(length)) return false;
  traits_type::move(mData + pos + n2, mData + pos + n1, mLength - pos - n1);
  SetLength(length);
  return true;
}

bool string::Replace(size_type pos, size_type n1, const value_type* str, size_type n2) {
  if (n1 == 0 && n2 == 0) return true;  // the shared buffer is never written
  if (!Owns(str)) {
    if (!MakeRoom(pos, n1, n2)) return false;
    traits_type::copy(mData + pos, str, n2);
    return true;
  }
  const size_type offset = str - mData;
  if (n2 <= n1) {
    // Shrinking: the source is read before the tail moves over it.
    traits_type::move(mData + pos, str, n2);
    return MakeRoom(pos + n2, n1 - n2, 0);
  }
  // Growing may move the block, and moves the tail right by n2 - n1: the
  // source bytes before the old end of the hole stay put, the rest moved.
  if (!MakeRoom(pos, n1, n2)) return false;
  const size_type kept = offset < pos + n1 ? std::min(n2, pos + n1 - offset) : 0;
  traits_type::move(mData + pos, mData + offset, kept);
  traits_type::move(mData + pos + kept, mData + offset + kept + (n2 - n1), n2 - kept);
  return true;
}

bool string::ReplaceFill(size_type pos, size_type n1, size_type n2, char c) {
  if (n1 == 0 && n2 == 0) return true;
  if (!MakeRoom(pos, n1, n2)) return false;
  traits_type::assign(mData + pos, n2, c);
  return true;
}

bool string::ReplaceAt(size_type pos, size_type n1, const value_type* str, size_type n2) {
  return pos <= mLength && Replace(pos, std::min(n1, mLength - pos), str, n2);
}

string::iterator string::Dummy() { return iterator(&sDummy); }

string& string::append(const value_type* str) {
  if (str != 0) Replace(mLength, 0, str, traits_type::length(str));
  return *this;
}

string& string::append(const value_type* str, size_type n) {
  if (str != 0) Replace(mLength, 0, str, n);
  return *this;
}

string& string::append(const value_type* str, size_type pos, size_type n) {
  if (str != 0) Replace(mLength, 0, str + pos, n);
  return *this;
}

string& string::append(const string& str) {
  Replace(mLength, 0, str.mData, str.mLength);
  return *this;
}

string& string::append(const string& str, size_type pos, size_type n) {
  if (pos <= str.mLength) Replace(mLength, 0, str.mData + pos, std::min(n, str.mLength - pos));
  return *this;
}

string& string::append(size_type n, char c) {
  ReplaceFill(mLength, 0, n, c);
  return *this;
}

string& string::insert(size_type pos, const string& str) {
  ReplaceAt(pos, 0, str.mData, str.mLength);
  return *this;
}

string& string::insert(size_type pos, const string& str, size_type pos2, size_type n) {
  if (pos2 <= str.mLength) ReplaceAt(pos, 0, str.mData + pos2, std::min(n, str.mLength - pos2));
  return *this;
}

string& string::insert(size_type pos, const value_type* str) {
  ReplaceAt(pos, 0, str, LengthOf(str));
  return *this;
}

string& string::insert(size_type pos, const value_type* str, size_type n) {
  if (str != 0) ReplaceAt(pos, 0, str, n);
  return *this;
}

string& string::insert(size_type pos, size_type n, char c) {
  if (pos <= mLength) ReplaceFill(pos, 0, n, c);
  return *this;
}

string& string::erase(size_type pos, size_type n) {
  if (pos < mLength) Replace(pos, std::min(n, mLength - pos), 0, 0);
  return *this;
}

string& string::replace(size_type pos, size_type n1, const string& str) {
  ReplaceAt(pos, n1, str.mData, str.mLength);
  return *this;
}

string& string::replace(size_type pos, size_type n1, const string& str, size_type pos2,
                        size_type n2) {
  if (pos2 <= str.mLength) ReplaceAt(pos, n1, str.mData + pos2, std::min(n2, str.mLength - pos2));
  return *this;
}

string& string::replace(size_type pos, size_type n1, const value_type* str) {
  ReplaceAt(pos, n1, str, LengthOf(str));
  return *this;
}

string& string::replace(size_type pos, size_type n1, const value_type* str, size_type n2) {
  if (str != 0) ReplaceAt(pos, n1, str, n2);
  return *this;
}

string& string::replace(size_type pos, size_type n1, size_type n2, char c) {
  if (pos <= mLength) ReplaceFill(pos, std::min(n1, mLength - pos), n2, c);
  return *this;
}

void string::resize(size_type n, char c) {
  if (n <= mLength) {
    if (n < mLength) SetLength(n);
  } else {
    ReplaceFill(mLength, 0, n - mLength, c);
  }
}

string::size_type string::copy(value_type* dest, size_type n, size_type pos) const {
  if (pos >= mLength) return 0;
  n = std::min(n, mLength - pos);
  __PLINTH_ASSERT(dest != 0);
  if (dest == 0) return 0;
  traits_type::copy(dest, mData + pos, n);
  return n;
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

// The part [pos, pos + n) of this string, clamped as substr() clamps it.
string::size_type string::PartLength(size_type pos, size_type n) const {
  return pos < mLength ? std::min(n, mLength - pos) : 0;
}

// Length first, then the bytes, as compare(const string&) orders.
int string::CompareBytes(size_type pos, size_type n1, const value_type* str, size_type n2) const {
  n1 = PartLength(pos, n1);
  if (n1 != n2) return n1 < n2 ? -1 : 1;
  return traits_type::compare(mData + (n1 == 0 ? 0 : pos), str, n1);
}

int string::compare(size_type pos, size_type n1, const string& str) const {
  return CompareBytes(pos, n1, str.mData, str.mLength);
}

int string::compare(size_type pos, size_type n1, const string& str, size_type pos2,
                    size_type n2) const {
  return CompareBytes(pos, n1, str.mData + (pos2 < str.mLength ? pos2 : 0),
                      str.PartLength(pos2, n2));
}

int string::compare(size_type pos, size_type n1, const value_type* str, size_type n2) const {
  return str == 0 && n2 != 0 ? 1 : CompareBytes(pos, n1, str, n2);
}

// strcmp order over the part: it ends at the part's end or its first NUL.
int string::compare(size_type pos, size_type n1, const value_type* str) const {
  if (str == 0) return 1;
  const value_type* part = mData + (pos < mLength ? pos : mLength);
  n1 = PartLength(pos, n1);
  for (size_type i = 0;; ++i) {
    const unsigned char a = i < n1 ? part[i] : 0, b = str[i];
    if (a != b) return a < b ? -1 : 1;
    if (a == 0) return 0;
  }
}

int __order(const string& left, const char* right) {
  return right == 0 ? 1 : left.compare(0, string::npos, right, strlen(right));
}

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

string::size_type string::rfind(const value_type* str, size_type pos, size_type n) const {
  if (n > mLength || (str == 0 && n != 0)) return npos;
  for (size_type i = std::min(pos, mLength - n) + 1; i-- > 0;)
    if (traits_type::compare(mData + i, str, n) == 0) return i;
  return npos;
}

string::size_type string::rfind(const value_type* str, size_type pos) const {
  return str == 0 ? npos : rfind(str, pos, traits_type::length(str));
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

// The set searches: forward from pos or backward from the smaller of pos
// and the last position, for a byte whose membership in the set is `in`.
string::size_type string::ScanSet(const value_type* set, size_type n, size_type pos, bool forward,
                                  bool in) const {
  if (set == 0) n = 0;
  if (forward) {
    for (; pos < mLength; ++pos)
      if ((traits_type::find(set, n, mData[pos]) != 0) == in) return pos;
    return npos;
  }
  if (mLength == 0) return npos;
  for (size_type i = std::min(pos, mLength - 1) + 1; i-- > 0;)
    if ((traits_type::find(set, n, mData[i]) != 0) == in) return i;
  return npos;
}

string::size_type string::find_first_of(const value_type* set, size_type pos, size_type n) const {
  return ScanSet(set, n, pos, true, true);
}

string::size_type string::find_last_of(const value_type* set, size_type pos, size_type n) const {
  return ScanSet(set, n, pos, false, true);
}

string::size_type string::find_first_not_of(const value_type* set, size_type pos,
                                            size_type n) const {
  return ScanSet(set, n, pos, true, false);
}

string::size_type string::find_last_not_of(const value_type* set, size_type pos,
                                           size_type n) const {
  return ScanSet(set, n, pos, false, false);
}

string string::substr(size_type pos, size_type n) const { return string(*this, pos, n); }

// --- Concatenation ---------------------------------------------------------

string __concat(const char* left, size_t left_length, const char* right, size_t right_length) {
  string result;
  if (left_length <= result.max_size() - right_length) result.reserve(left_length + right_length);
  if (result.capacity() == left_length + right_length)
    result.append(left, left_length).append(right, right_length);
  return result;
}

// The left operand's block grows in place; out of memory it is dropped.
string __concat(string&& left, const char* right, size_t right_length) {
  const size_t length = left.size();
  if (right_length != 0 && left.append(right, right_length).size() == length) left.clear();
  return static_cast<string&&>(left);
}

string __concat(const char* left, size_t left_length, string&& right) {
  const size_t length = right.size();
  if (left_length != 0 && right.insert(0, left, left_length).size() == length) right.clear();
  return static_cast<string&&>(right);
}

}  // namespace std

// The string inserter lives here, beside the string it writes.
#include <ostream>

namespace std {

ostream& operator<<(ostream& os, const string& str) {
  os.write_formatted(str.data(), static_cast<streamsize>(str.size()));
  return os;
}

}  // namespace std

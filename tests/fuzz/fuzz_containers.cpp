// The reference model is plain arrays and the documented rules, nothing
// from the library: exact capacities, length-first ordering, the at()
// dummies, self-reference read as if from a copy made beforehand, and bad
// input (null pointers, positions past the end, counts near npos, reversed
// ranges, max_size() + 1) changing nothing or giving the empty result.
//
// Every step decodes one operation and its arguments, applies it to the
// library and to the model, and compares all objects. A step whose result
// would not fit the model's arrays is skipped on both sides. Sizes decoded as
// huge (next to npos or max_size()) can never be allocated, so the model
// expects them to fail. One step in eight runs with every allocation
// refused, where the allocation-failure layer is in effect.
//
// The vectors hold ints, a counting class (copied element by element),
// std::string and vectors of int and of std::string (relocated, and each copy
// of a non-empty one allocating), and an over-aligned plain type, all
// compared with one model of int values.
#include "fuzz/fuzz_containers.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "support/checks.h"
#include "support/failalloc.h"
#include "support/unit.h"

namespace kestrel {
namespace fuzz {
namespace {

const size_t npos = std::string::npos;
const size_t kStringLimit = 300;   // longest string the model holds
const size_t kVectorLimit = 1100;  // past 1024, so growth by 256 is reached
const size_t kLiteralLimit = 16;
const int kStrings = 3;
const int kVectors = 2;

// Over-aligned plain data: its blocks are aligned by hand.
struct Wide {
  alignas(32) int mValue;
};

// No allocator can satisfy these, on either target: a string of n bytes,
// and a vector of n elements of any type here (Wide is the widest).
bool huge(size_t n) { return n > npos / 8; }
bool huge_count(size_t n) { return n > npos / 8 / sizeof(Wide); }

// On the 32-bit target a block of up to max_size() elements spans up to
// 2 GB, which the allocator may or may not find: such a step is skipped.
bool unknowable(size_t n, size_t max) { return sizeof(size_t) == 4 && huge_count(n) && n <= max; }

// In hardened mode a reversed range or an iterator outside the string stops
// the program; the fuzzer then keeps to valid ones.
#ifdef PLINTH_HARDENED
const bool kHardened = true;
#else
const bool kHardened = false;
#endif

const char* sOperation = "";
size_t sStep = 0;

// Says which step a failed check belongs to (the tests' reporting layer
// calls it before the failure line, and then ends the run).
void print_step() {
  failalloc::disarm();
  fprintf(stderr, "fuzz: step %zu, %s: ", sStep, sOperation);
}

int sign(int v) { return (v > 0) - (v < 0); }

// Whether [first, last) is a range of [0, length]: erase's precondition.
bool in_order(ptrdiff_t first, ptrdiff_t last, size_t length) {
  return 0 <= first && first <= last && size_t(last) <= length;
}

class Input {
 public:
  Input(const uint8_t* data, size_t size) : mData(data), mSize(size), mPos(0) {}
  bool done() const { return mPos >= mSize; }
  unsigned byte() { return mPos < mSize ? mData[mPos++] : 0; }
  unsigned word() {
    const unsigned low = byte();
    return low | byte() << 8;
  }
  // 0 to n - 1.
  size_t below(size_t n) { return n == 0 ? 0 : word() % n; }
  // Mostly 0 to `limit`; one time in sixteen a value next to npos or next
  // to `edge` (a max_size(), or the count that takes a length to npos).
  size_t amount(size_t limit, size_t edge) {
    const unsigned b = byte();
    if (b < 0xF0) return below(limit + 1);
    const size_t kNear[] = {npos, npos - 1, edge - 1, edge, edge + 1};
    return kNear[b % 5];
  }
  // An iterator offset from -2 to length + 2; only 0 without a block, as a
  // null pointer takes no offset.
  ptrdiff_t offset(size_t length, bool block) {
    return block ? ptrdiff_t(below(length + 5)) - 2 : 0;
  }

 private:
  const uint8_t* mData;
  size_t mSize;
  size_t mPos;
};

// The class-path element: carries a value and counts the live objects.
struct Counted {
  static long sLive;
  int mValue;
  Counted(int value = 0) : mValue(value) { ++sLive; }
  Counted(const Counted& other) : mValue(other.mValue) { ++sLive; }
  Counted& operator=(const Counted& other) {
    mValue = other.mValue;
    return *this;
  }
  ~Counted() { --sLive; }
};

long Counted::sLive = 0;

// How the fuzzer makes an element from a model value and reads it back.
// kCopiesAllocate: copying a non-zero element takes memory, so with every
// allocation refused the copy fails, and so does making one from a value.
template <typename _T>
struct Element {
  static const bool kCopiesAllocate = false;
  static _T make(int v) { return _T(v); }
  static int value(const _T& e);
};

template <>
int Element<int>::value(const int& e) {
  return e;
}

template <>
int Element<Counted>::value(const Counted& e) {
  return e.mValue;
}

// Decimal text; 0 is the empty string, the default element, whose copy
// needs no memory.
template <>
struct Element<std::string> {
  static const bool kCopiesAllocate = true;
  static std::string make(int v) {
    if (v == 0) return std::string();
    char text[16];
    return std::string(text, size_t(snprintf(text, sizeof text, "%d", v)));
  }
  static int value(const std::string& e) { return e.empty() ? 0 : atoi(e.c_str()); }
};

template <>
struct Element<Wide> {
  static const bool kCopiesAllocate = false;
  static Wide make(int v) {
    const Wide w = {v};
    return w;
  }
  static int value(const Wide& e) { return e.mValue; }
};

// Inner vectors: empty for 0, otherwise one element made from v.
template <typename _T>
struct Element<std::vector<_T> > {
  static const bool kCopiesAllocate = true;
  static std::vector<_T> make(int v) {
    return v == 0 ? std::vector<_T>() : std::vector<_T>(1, Element<_T>::make(v));
  }
  static int value(const std::vector<_T>& e) { return e.empty() ? 0 : Element<_T>::value(e[0]); }
};

template <typename _T>
int value_of(const _T& e) {
  return Element<_T>::value(e);
}

// Plain data: an insert into room already there moves bytes and takes no
// memory; other elements are built aside or in a new block first.
template <typename _T>
bool plain() {
  return std::is_pod<_T>::value;
}

// The value an element made from v in this step holds.
template <typename _T>
int made_value(int v, bool failing) {
  return Element<_T>::kCopiesAllocate && failing ? 0 : v;
}

// Whether copying an element of value v fails in this step.
template <typename _T>
bool copy_fails(int v, bool failing) {
  return Element<_T>::kCopiesAllocate && failing && v != 0;
}

// Whole blocks stay below PTRDIFF_MAX bytes.
template <typename _T>
size_t max_of() {
  return npos / 2 / sizeof(_T);
}

// --- Models ------------------------------------------------------------------

struct StringModel {
  StringModel() : mLength(0), mCapacity(0) { mData[0] = '\0'; }
  char mData[kStringLimit + 1];  // terminated at mLength
  size_t mLength;
  size_t mCapacity;
};

struct VectorModel {
  VectorModel() : mLength(0), mCapacity(0), mBlock(false) {}
  int mData[kVectorLimit];
  size_t mLength;
  size_t mCapacity;
  bool mBlock;
};

// The shared empty buffer and the dummies, as the library hands them out.
const char* sEmptyBuffer;
const char* sStringDummy;

// The const overloads' dummy is another object, never written: it always
// holds the default value.
template <typename _T>
struct Dummy {
  static const _T* sAddress;
  static const _T* sConstAddress;
  static int sValue;
};

template <typename _T>
const _T* Dummy<_T>::sAddress;
template <typename _T>
const _T* Dummy<_T>::sConstAddress;
template <typename _T>
int Dummy<_T>::sValue;

template <typename _T>
void find_dummy() {
  std::vector<_T> none;
  Dummy<_T>::sAddress = &none.at(0);
  Dummy<_T>::sConstAddress = &static_cast<const std::vector<_T>&>(none).at(0);
  none.at(0) = Element<_T>::make(0);
  Dummy<_T>::sValue = 0;
}

size_t c_length(const char* s) {
  size_t n = 0;
  while (s[n] != '\0') ++n;
  return n;
}

int c_compare(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const unsigned char x = *a, y = *b;
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
}

// Constructors and the assign family: exactly n bytes in a block of n, or
// the empty string without a block when n is 0 or no block can be had. An
// assignment from the string's own bytes that cannot be met changes nothing.
void expect_built(StringModel& m, const char* bytes, size_t n, bool failing, bool own = false) {
  if (n != 0 && (failing || huge(n))) {
    if (own) return;
    n = 0;
  }
  if (n != 0) memmove(m.mData, bytes, n);
  m.mLength = m.mCapacity = n;
  m.mData[n] = '\0';
}

// Exact growth; false when the block cannot be had.
bool expect_room(StringModel& m, size_t length, bool failing) {
  if (length <= m.mCapacity) return true;
  if (failing || huge(length)) return false;
  m.mCapacity = length;
  return true;
}

// Lengths that wrap or reach npos are refused before any allocation.
bool refused_length(size_t length, size_t n) { return n == 0 || length >= length + n + 1; }

// Whether the model can hold the result of appending n bytes.
bool fits_append(const StringModel& m, size_t n) {
  const size_t total = m.mLength + n;
  return refused_length(m.mLength, n) || huge(total) || total <= kStringLimit;
}

void expect_append(StringModel& m, const char* bytes, size_t n, bool failing) {
  const size_t total = m.mLength + n;
  if (refused_length(m.mLength, n) || !expect_room(m, total, failing)) return;
  memmove(m.mData + m.mLength, bytes, n);
  m.mLength = total;
  m.mData[total] = '\0';
}

// The editing families: [pos, pos + n1), n1 clamped to the rest, becomes
// the n given bytes (which may be the model's own, read as before the edit).
// A position past the length, a result past max_size() or failed growth
// changes nothing. Returns false when the result would not fit the model.
bool expect_replace(StringModel& m, size_t pos, size_t n1, const char* bytes, size_t n,
                    bool failing) {
  if (pos > m.mLength) return true;
  if (n1 > m.mLength - pos) n1 = m.mLength - pos;
  if ((n1 == 0 && n == 0) || (n > n1 && huge(n - n1))) return true;
  const size_t length = m.mLength - n1 + n;
  if (length > kStringLimit) return false;
  if (!expect_room(m, length, failing)) return true;
  char result[kStringLimit + 1];
  memcpy(result, m.mData, pos);
  memcpy(result + pos, bytes, n);
  memcpy(result + pos + n, m.mData + pos + n1, m.mLength - pos - n1);
  memcpy(m.mData, result, length);
  m.mLength = length;
  m.mData[length] = '\0';
  return true;
}

void expect_reserve(StringModel& m, size_t n, bool failing) {
  if (n == 0) {
    if (m.mLength == 0) m.mCapacity = 0;  // released without a request
    n = m.mLength;
  } else if (n <= m.mLength) {
    return;
  }
  if (n == m.mCapacity || n == npos || failing || huge(n)) return;
  m.mCapacity = n;
}

void expect_erase(StringModel& m, size_t pos, size_t n) {
  if (pos >= m.mLength || n == 0) return;
  const size_t end = pos + n;
  if (end >= m.mLength || end < pos) {
    m.mLength = pos;
  } else {
    memmove(m.mData + pos, m.mData + end, m.mLength - end);
    m.mLength -= n;
  }
  m.mData[m.mLength] = '\0';
}

// Length first; bytes as unsigned only between equal lengths.
int expect_compare(const StringModel& a, const StringModel& b, bool same) {
  if (same) return 0;
  if (a.mLength != b.mLength) return a.mLength < b.mLength ? -1 : 1;
  for (size_t i = 0; i < a.mLength; ++i) {
    const unsigned char x = a.mData[i], y = b.mData[i];
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

// The text search stops at the first NUL of the string.
size_t expect_find(const StringModel& m, const char* str, size_t pos) {
  if (str == 0) return npos;
  if (str[0] == '\0') return pos <= m.mLength ? pos : npos;
  if (m.mLength == 0 || pos > m.mLength - 1) return npos;
  const size_t end = pos + c_length(m.mData + pos), n = c_length(str);
  for (size_t i = pos; i + n <= end; ++i)
    if (memcmp(m.mData + i, str, n) == 0) return i;
  return npos;
}

// The counted search sees every byte, NULs included, in the string and the
// needle.
size_t expect_search(const StringModel& m, const char* needle, size_t n, size_t pos) {
  if (n == 0) return pos <= m.mLength ? pos : npos;
  if (needle == 0 || pos >= m.mLength || n > m.mLength - pos) return npos;
  for (size_t i = pos; i + n <= m.mLength; ++i)
    if (memcmp(m.mData + i, needle, n) == 0) return i;
  return npos;
}

// The character and set searches: forward from pos, or backward from the
// smaller of pos and the last position; for a byte in the set of n bytes,
// or one that is not. A single character is a set of one.
size_t expect_scan(const StringModel& m, const char* set, size_t n, size_t pos, bool forward,
                   bool in) {
  if (forward) {
    for (size_t i = pos; i < m.mLength; ++i)
      if ((memchr(set, m.mData[i], n) != 0) == in) return i;
    return npos;
  }
  if (m.mLength == 0) return npos;
  for (size_t i = (pos < m.mLength - 1 ? pos : m.mLength - 1) + 1; i-- > 0;)
    if ((memchr(set, m.mData[i], n) != 0) == in) return i;
  return npos;
}

// The last match starting at or before pos, every byte compared.
size_t expect_rfind(const StringModel& m, const char* needle, size_t n, size_t pos) {
  if (n > m.mLength) return npos;
  for (size_t i = (pos < m.mLength - n ? pos : m.mLength - n) + 1; i-- > 0;)
    if (memcmp(m.mData + i, needle, n) == 0) return i;
  return npos;
}

// Doubling from 2 up to 256 slots, then 256 more at a time, capped at max;
// 0 when no growth is possible.
size_t expect_grow(size_t capacity, size_t max) {
  const size_t next = capacity > 256 ? capacity + 256 : capacity != 0 ? capacity * 2 : 2;
  if (next < capacity || next > max) return capacity == max ? 0 : max;
  return next;
}

// A constructor's outcome: n elements in a block of n, or no block at all
// (always, for n == 0).
bool expect_block(VectorModel& m, size_t n, bool allocated) {
  m.mBlock = allocated && n != 0 && !huge_count(n);
  m.mLength = m.mCapacity = m.mBlock ? n : 0;
  return m.mBlock;
}

void expect_filled(VectorModel& m, size_t n, int value, bool allocated) {
  if (expect_block(m, n, allocated))
    for (size_t i = 0; i < n; ++i) m.mData[i] = value;
}

// The source may be this model's own array.
void expect_copied(VectorModel& m, const int* values, size_t n, bool allocated) {
  if (expect_block(m, n, allocated)) memmove(m.mData, values, n * sizeof(int));
}

bool expect_reserve(VectorModel& m, size_t n, size_t max, bool failing) {
  if (n == 0) {
    if (m.mLength == 0) {
      expect_block(m, 0, false);
      return true;
    }
    n = m.mLength;
  } else if (n < m.mLength || n > max) {
    return false;
  }
  if (failing || huge_count(n)) return false;
  m.mCapacity = n;
  m.mBlock = true;
  return true;
}

void expect_push(VectorModel& m, int value, size_t max, bool failing, bool copy_fails) {
  if (copy_fails) return;
  if (m.mLength == m.mCapacity) {
    const size_t next = expect_grow(m.mCapacity, max);
    if (next == 0 || !expect_reserve(m, next, max, failing)) return;
  }
  m.mData[m.mLength++] = value;
}

void expect_resize(VectorModel& m, size_t n, int value, size_t max, bool failing, bool copy_fails) {
  if (n == m.mLength || n > max) return;
  if (n > m.mLength) {
    if (copy_fails) return;
    if (m.mCapacity < n && !expect_reserve(m, n, max, failing)) return;
    for (size_t i = m.mLength; i < n; ++i) m.mData[i] = value;
  }
  m.mLength = n;
}

void expect_erase(VectorModel& m, size_t first, size_t last) {
  memmove(m.mData + first, m.mData + last, (m.mLength - last) * sizeof(int));
  m.mLength -= last - first;
}

// The assignments: n values in a block of exactly n (none for 0), or, when
// the block or a copy cannot be had, nothing changes.
void expect_assign(VectorModel& m, const int* values, size_t n, bool failing, bool copy_fails) {
  if (n != 0 && (failing || copy_fails)) return;
  int copies[kVectorLimit];
  memcpy(copies, values, n * sizeof(int));
  expect_copied(m, copies, n, true);
}

// Inserting n values at pos: nothing outside [0, length] or for n == 0.
// The capacity stays when they fit, otherwise it grows as push_back's does,
// or to exactly the size needed when that is more. Appending into room
// already there takes no memory, nor does any insert into room for plain
// data. Returns the position of the first new value, or -1 for end() (a
// failure, or a position outside).
ptrdiff_t expect_insert(VectorModel& m, ptrdiff_t pos, const int* values, size_t n, size_t max,
                        bool plain, bool failing, bool copy_fails) {
  if (pos < 0 || size_t(pos) > m.mLength) return -1;
  if (n == 0) return pos;
  if (copy_fails || n > max - m.mLength) return -1;
  size_t capacity = m.mCapacity;
  if (n > m.mCapacity - m.mLength) {
    capacity = expect_grow(m.mCapacity, max);
    if (capacity < m.mLength + n) capacity = m.mLength + n;
  }
  const bool allocates = capacity != m.mCapacity || (!plain && size_t(pos) != m.mLength);
  if (allocates && failing) return -1;
  int copies[kVectorLimit];
  memcpy(copies, values, n * sizeof(int));
  memmove(m.mData + pos + n, m.mData + pos, (m.mLength - pos) * sizeof(int));
  memcpy(m.mData + pos, copies, n * sizeof(int));
  m.mLength += n;
  m.mCapacity = capacity;
  m.mBlock = true;
  return pos;
}

// --- Comparing the library with the model ------------------------------------

void check_string(const std::string& s, const StringModel& m) {
  EXPECT(s.size() == m.mLength && s.length() == m.mLength && s.capacity() == m.mCapacity);
  EXPECT(s.empty() == (m.mLength == 0) && s.data() == s.c_str());
  EXPECT((s.c_str() == sEmptyBuffer) == (m.mCapacity == 0));
  EXPECT(s.c_str()[m.mLength] == '\0' && size_t(s.end() - s.begin()) == m.mLength);
  EXPECT(memcmp(s.c_str(), m.mData, m.mLength) == 0);
}

template <typename _T>
void check_vector(const std::vector<_T>& v, const VectorModel& m) {
  EXPECT(v.size() == m.mLength && v.capacity() == m.mCapacity && v.empty() == (m.mLength == 0));
  EXPECT(reinterpret_cast<size_t>(v.begin().base()) % alignof(_T) == 0);
  EXPECT(v.data() == v.begin().base() && v.rend() - v.rbegin() == ptrdiff_t(m.mLength));
  EXPECT(m.mLength == 0 || value_of(*v.rbegin()) == m.mData[m.mLength - 1]);
  EXPECT((v.begin().base() != 0) == m.mBlock && size_t(v.end() - v.begin()) == m.mLength);
  EXPECT(v.max_size() == max_of<_T>());
  const int* expected = m.mData;
  for (typename std::vector<_T>::const_iterator it = v.begin(); it != v.end(); ++it)
    EXPECT(value_of(*it) == *expected++);
}

// --- The objects and one step's operands ---------------------------------------

template <typename _T>
struct Vectors {
  std::vector<_T> mReals[kVectors];
  VectorModel mModels[kVectors];
  void check() const {
    for (int i = 0; i < kVectors; ++i) check_vector(mReals[i], mModels[i]);
  }
};

struct State {
  std::string mStrings[kStrings];
  StringModel mStringModels[kStrings];
  Vectors<int> mInts;
  Vectors<Counted> mObjects;
  Vectors<std::string> mTexts;
  Vectors<Wide> mWides;
  Vectors<std::vector<int> > mNestedInts;
  Vectors<std::vector<std::string> > mNestedTexts;
};

void check_state(const State& state, long extra_objects) {
  long objects = extra_objects;
  for (int i = 0; i < kStrings; ++i) check_string(state.mStrings[i], state.mStringModels[i]);
  state.mInts.check();
  state.mObjects.check();
  state.mTexts.check();
  state.mWides.check();
  state.mNestedInts.check();
  state.mNestedTexts.check();
  for (int i = 0; i < kVectors; ++i) objects += long(state.mObjects.mReals[i].size());
  EXPECT(Counted::sLive == objects);
}

// A target and a second operand, which may be the target itself.
struct StringStep {
  std::string& mTarget;
  StringModel& mModel;
  std::string& mOther;
  StringModel& mOtherModel;
  Input& mIn;
  bool mFailing;  // every allocation of this step is refused
  char mLiteral[kLiteralLimit + 1];
};

template <typename _T>
struct VectorStep {
  std::vector<_T>& mTarget;
  VectorModel& mModel;
  std::vector<_T>& mOther;
  VectorModel& mOtherModel;
  Input& mIn;
  bool mFailing;
};

// A character source: null, bytes of the input, or a position inside the
// second operand's buffer (the target's own, for self-reference).
struct Source {
  const char* mReal;   // what the library is given
  const char* mModel;  // the same bytes in the model
  size_t mAvail;       // bytes before a NUL that is readable too
  bool mOwn;           // the bytes are the target's own
};

Source source(StringStep& x) {
  Source src = {0, 0, 0, false};
  switch (x.mIn.byte() % 4) {
    case 0:
      break;
    case 1: {
      const size_t n = x.mIn.below(kLiteralLimit + 1);
      for (size_t i = 0; i < n; ++i) x.mLiteral[i] = char(x.mIn.byte());
      x.mLiteral[n] = '\0';
      src.mReal = src.mModel = x.mLiteral;
      src.mAvail = n;
      break;
    }
    default: {
      const size_t k = x.mIn.below(x.mOtherModel.mLength + 1);
      src.mReal = x.mOther.c_str() + k;
      src.mModel = x.mOtherModel.mData + k;
      src.mAvail = x.mOtherModel.mLength - k;
      src.mOwn = &x.mOther == &x.mTarget;
    }
  }
  return src;
}

// A count for the counted forms: within the source (terminator included),
// or near npos.
size_t count(StringStep& x, const Source& src, size_t edge) {
  return x.mIn.amount(src.mAvail + 1, edge);
}

char character(StringStep& x) {
  const unsigned b = x.mIn.byte();
  // Half the time a byte of the target, so searches find something.
  if ((b & 1) != 0 && x.mModel.mLength != 0) return x.mModel.mData[x.mIn.below(x.mModel.mLength)];
  return char(b >> 1);
}

// --- String operations -----------------------------------------------------------

void adopt(StringStep& x, std::string& made) { x.mTarget.swap(made); }

void string_construct_default(StringStep& x) {
  std::string made;
  adopt(x, made);
  expect_built(x.mModel, "", 0, x.mFailing);
}

void string_construct_copy(StringStep& x) {
  std::string made(x.mOther);
  adopt(x, made);
  expect_built(x.mModel, x.mOtherModel.mData, x.mOtherModel.mLength, x.mFailing);
}

void string_construct_part(StringStep& x) {
  const StringModel& tm = x.mOtherModel;
  const size_t length = tm.mLength, pos = x.mIn.amount(length + 2, npos);
  size_t n = x.mIn.amount(length + 2, npos);
  switch (x.mIn.byte() % 3) {
    case 0: {
      std::string made(x.mOther, pos, n);
      adopt(x, made);
      break;
    }
    case 1: {
      std::string made(x.mOther, pos);
      adopt(x, made);
      n = npos;
      break;
    }
    default: {
      std::string made = x.mOther.substr(pos, n);
      adopt(x, made);
    }
  }
  if (pos >= length) n = 0;
  if (n > length - pos) n = length - pos;
  expect_built(x.mModel, tm.mData + (pos < length ? pos : 0), n, x.mFailing);
}

void string_construct_text(StringStep& x) {
  const Source src = source(x);
  std::string made(src.mReal);
  adopt(x, made);
  expect_built(x.mModel, src.mModel, src.mModel ? c_length(src.mModel) : 0, x.mFailing);
}

void string_construct_counted(StringStep& x) {
  const Source src = source(x);
  const size_t n = count(x, src, npos);
  std::string made(src.mReal, n);
  adopt(x, made);
  expect_built(x.mModel, src.mModel, src.mModel ? n : 0, x.mFailing);
}

void string_construct_fill(StringStep& x) {
  const size_t n = x.mIn.amount(kStringLimit, npos);
  const char c = character(x);
  if (x.mIn.byte() & 1) {
    EXPECT(&x.mTarget.assign(n, c) == &x.mTarget);
  } else {
    std::string made(n, c);
    adopt(x, made);
  }
  char fill[kStringLimit];
  memset(fill, c, huge(n) ? 0 : n);
  expect_built(x.mModel, fill, n, x.mFailing);
}

void string_construct_range(StringStep& x) {
  const Source src = source(x);
  size_t i = x.mIn.below(src.mAvail + 1), j = x.mIn.below(src.mAvail + 1);
  if (kHardened && i > j) i = j;
  std::string made(src.mReal + i, src.mReal + j);
  adopt(x, made);
  expect_built(x.mModel, src.mModel + (i < j ? i : 0), i < j ? j - i : 0, x.mFailing);
}

// Assigning a string to itself changes nothing, failing or not.
void string_assign_string(StringStep& x) {
  std::string& r = x.mIn.byte() & 1 ? x.mTarget.assign(x.mOther) : (x.mTarget = x.mOther);
  EXPECT(&r == &x.mTarget);
  if (&x.mOther != &x.mTarget)
    expect_built(x.mModel, x.mOtherModel.mData, x.mOtherModel.mLength, x.mFailing);
}

// Changes nothing unless [pos, pos + n) lies within the source; npos, the
// default, is the rest.
void string_assign_part(StringStep& x) {
  const size_t length = x.mOtherModel.mLength;
  const size_t pos = x.mIn.amount(length + 2, npos);
  size_t n = x.mIn.amount(length + 2, npos);
  if (x.mIn.byte() & 1) n = npos;
  std::string& r = n == npos ? x.mTarget.assign(x.mOther, pos) : x.mTarget.assign(x.mOther, pos, n);
  EXPECT(&r == &x.mTarget);
  if (n == npos && pos < length) n = length - pos;
  if (pos < length && n <= length - pos)
    expect_built(x.mModel, x.mOtherModel.mData + pos, n, x.mFailing, &x.mOther == &x.mTarget);
}

void string_assign_text(StringStep& x) {
  const Source src = source(x);
  std::string& r = x.mIn.byte() & 1 ? x.mTarget.assign(src.mReal) : (x.mTarget = src.mReal);
  EXPECT(&r == &x.mTarget);
  if (src.mModel) expect_built(x.mModel, src.mModel, c_length(src.mModel), x.mFailing, src.mOwn);
}

void string_assign_counted(StringStep& x) {
  const Source src = source(x);
  const size_t n = count(x, src, npos);
  EXPECT(&x.mTarget.assign(src.mReal, n) == &x.mTarget);
  if (src.mModel && n != 0) expect_built(x.mModel, src.mModel, n, x.mFailing, src.mOwn);
}

void string_assign_char(StringStep& x) {
  const char c = character(x);
  EXPECT(&(x.mTarget = c) == &x.mTarget);
  expect_built(x.mModel, &c, 1, x.mFailing);
}

void string_append_text(StringStep& x) {
  const Source src = source(x);
  const size_t n = src.mModel ? c_length(src.mModel) : 0;
  if (!fits_append(x.mModel, n)) return;
  std::string& r = x.mIn.byte() & 1 ? x.mTarget.append(src.mReal) : (x.mTarget += src.mReal);
  EXPECT(&r == &x.mTarget);
  expect_append(x.mModel, src.mModel, n, x.mFailing);
}

void string_append_counted(StringStep& x) {
  const Source src = source(x);
  const size_t n = count(x, src, npos - x.mModel.mLength);
  if (!fits_append(x.mModel, n)) return;
  EXPECT(&x.mTarget.append(src.mReal, n) == &x.mTarget);
  if (src.mModel) expect_append(x.mModel, src.mModel, n, x.mFailing);
}

void string_append_offset(StringStep& x) {
  const Source src = source(x);
  const size_t pos = x.mIn.below(src.mAvail + 1);
  const size_t n = x.mIn.amount(src.mAvail - pos + 1, npos - x.mModel.mLength);
  if (!fits_append(x.mModel, n)) return;
  EXPECT(&x.mTarget.append(src.mReal, pos, n) == &x.mTarget);
  if (src.mModel) expect_append(x.mModel, src.mModel + pos, n, x.mFailing);
}

// The whole string, or the part from pos clamped to the rest (pos past the
// end changes nothing).
void string_append_string(StringStep& x) {
  const size_t length = x.mOtherModel.mLength;
  const size_t pos = x.mIn.amount(length + 2, npos), n = x.mIn.amount(length + 2, npos);
  const unsigned form = x.mIn.byte() % 3;
  const size_t part = form != 2 ? length : pos > length ? 0 : n < length - pos ? n : length - pos;
  if (!fits_append(x.mModel, part)) return;
  std::string& r = form == 0   ? x.mTarget.append(x.mOther)
                   : form == 1 ? (x.mTarget += x.mOther)
                               : x.mTarget.append(x.mOther, pos, n);
  EXPECT(&r == &x.mTarget);
  expect_append(x.mModel, x.mOtherModel.mData + (form == 2 && pos <= length ? pos : 0), part,
                x.mFailing);
}

// Both iterator types; a reversed range changes nothing.
void string_append_range(StringStep& x) {
  const size_t length = x.mOtherModel.mLength;
  size_t i = x.mIn.below(length + 1), j = x.mIn.below(length + 1);
  if (kHardened && i > j) i = j;
  const size_t n = i < j ? j - i : 0;
  if (!fits_append(x.mModel, n)) return;
  const std::string& other = x.mOther;
  if (x.mIn.byte() & 1)
    x.mTarget.append(x.mOther.begin() + i, x.mOther.begin() + j);
  else
    x.mTarget.append(other.begin() + i, other.begin() + j);
  expect_append(x.mModel, x.mOtherModel.mData + i, n, x.mFailing);
}

void string_push_back(StringStep& x) {
  const char c = character(x);
  if (!fits_append(x.mModel, 1)) return;
  if (x.mIn.byte() & 1)
    x.mTarget.push_back(c);
  else
    EXPECT(&(x.mTarget += c) == &x.mTarget);
  expect_append(x.mModel, &c, 1, x.mFailing);
}

// Positions outside [begin(), end()] and failed growth give the dummy.
void string_insert(StringStep& x) {
  StringModel& m = x.mModel;
  const ptrdiff_t off = x.mIn.offset(m.mLength, true);
  const char c = character(x);
  const bool inside = off >= 0 && size_t(off) <= m.mLength;
  if ((inside && m.mLength + 1 > kStringLimit) || (kHardened && !inside)) return;
  const std::string::iterator it = x.mTarget.insert(x.mTarget.begin() + off, c);
  if (!inside || !expect_room(m, m.mLength + 1, x.mFailing)) {
    EXPECT(it.base() == sStringDummy);
    return;
  }
  memmove(m.mData + off + 1, m.mData + off, m.mLength - off + 1);
  m.mData[off] = c;
  ++m.mLength;
  EXPECT(it.base() == x.mTarget.c_str() + off);
}

void string_erase(StringStep& x) {
  const size_t length = x.mModel.mLength;
  const size_t pos = x.mIn.amount(length + 2, npos), n = x.mIn.amount(length + 2, npos);
  switch (x.mIn.byte() % 3) {
    case 0:
      EXPECT(&x.mTarget.erase(pos, n) == &x.mTarget);
      expect_erase(x.mModel, pos, n);
      break;
    case 1:
      x.mTarget.erase(pos);
      expect_erase(x.mModel, pos, npos);
      break;
    default:
      x.mTarget.erase();
      expect_erase(x.mModel, 0, npos);
  }
}

// insert, replace, erase by iterators and resize. The model goes first, on
// a copy: a step whose result it cannot hold is skipped on both sides.
void string_edit(StringStep& x) {
  StringModel& m = x.mModel;
  const Source src = source(x);
  const size_t pos = x.mIn.amount(m.mLength + 2, npos), n1 = x.mIn.amount(m.mLength + 2, npos);
  const size_t n = src.mModel ? x.mIn.below(src.mAvail + 2) : x.mIn.amount(4, npos);
  const char c = character(x);
  const size_t fill_n = x.mIn.amount(8, npos - m.mLength);
  char fill[kStringLimit];
  memset(fill, c, huge(fill_n) || fill_n > kStringLimit ? 0 : fill_n);
  // Iterators inside the string, running forwards.
  const size_t i = x.mIn.below(m.mLength + 1), j = i + x.mIn.below(m.mLength - i + 1);
  const unsigned form = x.mIn.byte() % 5;
  StringModel expected = m;
  bool fits = true;
  switch (form) {
    case 0:
      if (src.mModel) fits = expect_replace(expected, pos, n1, src.mModel, n, x.mFailing);
      break;
    case 1:
      if (src.mModel) fits = expect_replace(expected, pos, 0, src.mModel, n, x.mFailing);
      break;
    case 2:
      fits = expect_replace(expected, pos, n1, fill, fill_n, x.mFailing);
      break;
    case 3:
      fits = expect_replace(expected, i, j - i, "", 0, false);
      break;
    default:
      fits = expect_replace(expected, m.mLength, 0, fill, fill_n, x.mFailing);
  }
  if (!fits) return;
  switch (form) {
    case 0:
      EXPECT(&x.mTarget.replace(pos, n1, src.mReal, n) == &x.mTarget);
      break;
    case 1:
      EXPECT(&x.mTarget.insert(pos, src.mReal, n) == &x.mTarget);
      break;
    case 2:
      EXPECT(&x.mTarget.replace(pos, n1, fill_n, c) == &x.mTarget);
      break;
    case 3:
      EXPECT(x.mTarget.erase(x.mTarget.begin() + i, x.mTarget.begin() + j) ==
             x.mTarget.begin() + i);
      break;
    default:
      // A count past max_size() is refused like a growth that fails.
      x.mTarget.resize(huge(fill_n) ? npos : m.mLength + fill_n, c);
  }
  m = expected;
}

void string_reserve(StringStep& x) {
  const size_t n = x.mIn.amount(kStringLimit, npos);
  x.mTarget.reserve(n);
  expect_reserve(x.mModel, n, x.mFailing);
}

void string_clear(StringStep& x) {
  x.mTarget.clear();
  expect_built(x.mModel, "", 0, false);
}

void string_swap(StringStep& x) {
  if (x.mIn.byte() & 1)
    x.mTarget.swap(x.mOther);
  else
    std::swap(x.mTarget, x.mOther);
  const StringModel saved = x.mModel;
  x.mModel = x.mOtherModel;
  x.mOtherModel = saved;
}

// at() out of range hands out the dummy set to 'X'; operator[] at the
// length gives the terminator.
void string_access(StringStep& x) {
  StringModel& m = x.mModel;
  const size_t pos = x.mIn.amount(m.mLength + 2, npos);
  const char c = character(x);
  const std::string& view = x.mTarget;
  const bool inside = pos < m.mLength;
  EXPECT(view.at(pos) == (inside ? m.mData[pos] : 'X'));
  char& r = x.mTarget.at(pos);
  EXPECT(&r == (inside ? x.mTarget.c_str() + pos : sStringDummy) &&
         r == (inside ? m.mData[pos] : 'X'));
  r = c;
  if (inside) m.mData[pos] = c;
  const size_t index = inside ? pos : m.mLength;
  EXPECT(view[index] == m.mData[index] && &x.mTarget[index] == view.c_str() + index);
}

void string_compare(StringStep& x) {
  const std::string &s = x.mTarget, &t = x.mOther;
  const int e = expect_compare(x.mModel, x.mOtherModel, &s == &t), r = s.compare(t);
  EXPECT(x.mModel.mLength == x.mOtherModel.mLength ? sign(r) == e : r == e);
  EXPECT((s == t) == (e == 0) && (s != t) == (e != 0));
  EXPECT((s < t) == (e < 0) && (s <= t) == (e <= 0) && (s > t) == (e > 0) && (s >= t) == (e >= 0));
}

// strcmp order; a null pointer compares greater and unequal.
void string_compare_text(StringStep& x) {
  const Source src = source(x);
  const std::string& s = x.mTarget;
  const int e = src.mModel ? c_compare(x.mModel.mData, src.mModel) : 1;
  EXPECT(src.mModel ? sign(s.compare(src.mReal)) == e : s.compare(src.mReal) == 1);
  EXPECT((s == src.mReal) == (e == 0) && (src.mReal == s) == (e == 0));
  EXPECT((s != src.mReal) == (e != 0) && (src.mReal != s) == (e != 0));
}

void string_find_text(StringStep& x) {
  const Source src = source(x);
  const size_t pos = x.mIn.amount(x.mModel.mLength + 2, npos);
  const std::string& s = x.mTarget;
  switch (x.mIn.byte() % 4) {
    case 0:
      EXPECT(s.find(src.mReal, pos) == expect_find(x.mModel, src.mModel, pos));
      break;
    case 1:
      EXPECT(s.find(src.mReal) == expect_find(x.mModel, src.mModel, 0));
      break;
    case 2: {
      const size_t n = src.mReal ? x.mIn.below(src.mAvail + 2) : x.mIn.amount(4, npos);
      EXPECT(s.find(src.mReal, pos, n) == expect_search(x.mModel, src.mModel, n, pos));
      break;
    }
    default:
      EXPECT(s.find(x.mOther, pos) ==
             expect_search(x.mModel, x.mOtherModel.mData, x.mOtherModel.mLength, pos));
  }
}

void string_find_char(StringStep& x) {
  typedef size_t (std::string::*Search)(char, size_t) const;
  struct Form {
    Search mSearch;
    bool mForward;
    bool mEqual;
  };
  static const Form kForms[] = {
      {&std::string::find, true, true},
      {&std::string::rfind, false, true},
      {&std::string::find_first_of, true, true},
      {&std::string::find_last_of, false, true},
      {&std::string::find_first_not_of, true, false},
      {&std::string::find_last_not_of, false, false},
  };
  const Form& form = kForms[x.mIn.byte() % 6];
  const char c = character(x);
  const size_t pos = x.mIn.amount(x.mModel.mLength + 2, npos);
  EXPECT((x.mTarget.*form.mSearch)(c, pos) ==
         expect_scan(x.mModel, &c, 1, pos, form.mForward, form.mEqual));
}

// The set forms of the find_*_of family, and rfind of a needle, with bytes
// of the input or of the second operand (the string and C-string forms
// forward to these).
void string_find_set(StringStep& x) {
  typedef size_t (std::string::*Search)(const char*, size_t, size_t) const;
  static const Search kForms[] = {&std::string::find_first_of, &std::string::find_last_of,
                                  &std::string::find_first_not_of, &std::string::find_last_not_of,
                                  &std::string::rfind};
  const unsigned form = x.mIn.byte() % 5;
  const size_t pos = x.mIn.amount(x.mModel.mLength + 2, npos);
  const Source src = source(x);
  if (src.mModel == 0) return;
  const size_t n = x.mIn.below(src.mAvail + 1);
  EXPECT((x.mTarget.*kForms[form])(src.mReal, pos, n) ==
         (form == 4 ? expect_rfind(x.mModel, src.mModel, n, pos)
                    : expect_scan(x.mModel, src.mModel, n, pos, form % 2 == 0, form < 2)));
}

// operator+ of an lvalue (a new block of the exact sum, or the empty string
// out of memory) and of the target as an rvalue (its block grows in place;
// out of memory the result is empty).
void string_concat(StringStep& x) {
  const Source src = source(x);
  const size_t n = src.mModel ? c_length(src.mModel) : 0;
  StringModel& m = x.mModel;
  const StringModel& o = x.mOtherModel;
  char sum[kStringLimit + 1];
  if (x.mIn.byte() & 1) {
    if (o.mLength + n > kStringLimit) return;
    memcpy(sum, o.mData, o.mLength);
    if (n != 0) memcpy(sum + o.mLength, src.mModel, n);  // the source may be null
    x.mTarget = x.mOther + src.mReal;
    expect_built(m, sum, o.mLength + n, x.mFailing);
    return;
  }
  if (m.mLength + o.mLength > kStringLimit) return;
  const StringModel right = o;
  x.mTarget = static_cast<std::string&&>(x.mTarget) + x.mOther;
  if (right.mLength != 0 && !expect_room(m, m.mLength + right.mLength, x.mFailing)) {
    expect_built(m, "", 0, false);
    return;
  }
  memcpy(m.mData + m.mLength, right.mData, right.mLength);
  m.mLength += right.mLength;
  m.mData[m.mLength] = '\0';
}

// --- Vector operations -----------------------------------------------------------

template <typename _T>
size_t span(VectorStep<_T>& x) {
  return x.mOtherModel.mBlock ? x.mIn.below(x.mOtherModel.mLength + 1) : 0;
}

template <typename _T>
void vector_construct_default(VectorStep<_T>& x) {
  std::vector<_T> made;
  x.mTarget.swap(made);
  expect_block(x.mModel, 0, false);
}

template <typename _T>
void vector_construct_count(VectorStep<_T>& x) {
  const size_t max = max_of<_T>(), n = x.mIn.amount(kVectorLimit, max);
  if (unknowable(n, max)) return;
  const int value = int(x.mIn.byte());
  const bool allocated = n < max && !x.mFailing;
  if (x.mIn.byte() & 1) {
    std::vector<_T> made(n, Element<_T>::make(value));
    x.mTarget.swap(made);
    expect_filled(x.mModel, n, value, allocated);
  } else {
    std::vector<_T> made(n);
    x.mTarget.swap(made);
    expect_filled(x.mModel, n, 0, allocated);
  }
}

// Two ints are a count and a value; a negative count is a huge one.
template <typename _T>
void vector_construct_integral(VectorStep<_T>& x) {
  const int n = int(x.mIn.below(kVectorLimit + 4)) - 3, value = int(x.mIn.byte());
  std::vector<_T> made(n, value);
  x.mTarget.swap(made);
  expect_filled(x.mModel, size_t(n), value, size_t(n) < max_of<_T>() && !x.mFailing);
}

// Elements not made from an int: the count constructor stands in.
template <>
void vector_construct_integral<std::string>(VectorStep<std::string>& x) {
  vector_construct_count(x);
}
template <>
void vector_construct_integral<Wide>(VectorStep<Wide>& x) {
  vector_construct_count(x);
}
template <>
void vector_construct_integral<std::vector<int> >(VectorStep<std::vector<int> >& x) {
  vector_construct_count(x);
}
template <>
void vector_construct_integral<std::vector<std::string> >(
    VectorStep<std::vector<std::string> >& x) {
  vector_construct_count(x);
}

// Both iterator types; a reversed range gives no block.
template <typename _T>
void vector_construct_range(VectorStep<_T>& x) {
  const size_t i = span(x), j = span(x);
  if (x.mIn.byte() & 1) {
    std::vector<_T> made(x.mOther.begin() + i, x.mOther.begin() + j);
    x.mTarget.swap(made);
  } else {
    const std::vector<_T>& other = x.mOther;
    std::vector<_T> made(other.begin() + i, other.begin() + j);
    x.mTarget.swap(made);
  }
  expect_copied(x.mModel, x.mOtherModel.mData + i, j - i, i <= j && !x.mFailing);
}

template <typename _T>
void vector_construct_copy(VectorStep<_T>& x) {
  std::vector<_T> made(x.mOther);
  x.mTarget.swap(made);
  expect_copied(x.mModel, x.mOtherModel.mData, x.mOtherModel.mLength, !x.mFailing);
}

// Self-assignment changes nothing, and so does a failed copy; a copy of an
// empty vector needs no block.
template <typename _T>
void vector_assign(VectorStep<_T>& x) {
  EXPECT(&(x.mTarget = x.mOther) == &x.mTarget);
  const size_t n = x.mOtherModel.mLength;
  if (&x.mTarget != &x.mOther && (!x.mFailing || n == 0))
    expect_copied(x.mModel, x.mOtherModel.mData, n, !x.mFailing);
}

template <typename _T>
void vector_reserve(VectorStep<_T>& x) {
  const size_t max = max_of<_T>();
  const bool by_default = x.mIn.byte() & 1;
  const size_t n = by_default ? 0 : x.mIn.amount(kVectorLimit + 300, max);
  if (unknowable(n, max)) return;
  const bool done = by_default ? x.mTarget.reserve() : x.mTarget.reserve(n);
  EXPECT(done == expect_reserve(x.mModel, n, max, x.mFailing));
}

template <typename _T>
void vector_push_value(VectorStep<_T>& x) {
  const int value = int(x.mIn.word());
  if (x.mModel.mLength == kVectorLimit) return;
  x.mTarget.push_back(Element<_T>::make(value));
  const int made = made_value<_T>(value, x.mFailing);
  expect_push(x.mModel, made, max_of<_T>(), x.mFailing, copy_fails<_T>(made, x.mFailing));
}

// The element may belong to the target, whose block moves when it grows.
template <typename _T>
void vector_push_element(VectorStep<_T>& x) {
  if (x.mOtherModel.mLength == 0 || x.mModel.mLength == kVectorLimit) return;
  const size_t i = x.mIn.below(x.mOtherModel.mLength);
  const int value = x.mOtherModel.mData[i];
  x.mTarget.push_back(x.mOther[i]);
  expect_push(x.mModel, value, max_of<_T>(), x.mFailing, copy_fails<_T>(value, x.mFailing));
}

template <typename _T>
void vector_resize(VectorStep<_T>& x) {
  const size_t max = max_of<_T>(), n = x.mIn.amount(kVectorLimit, max);
  if (unknowable(n, max)) return;
  const int value = int(x.mIn.byte());
  if (x.mIn.byte() & 1) {
    x.mTarget.resize(n, Element<_T>::make(value));
    const int made = made_value<_T>(value, x.mFailing);
    expect_resize(x.mModel, n, made, max, x.mFailing, copy_fails<_T>(made, x.mFailing));
  } else {
    x.mTarget.resize(n);
    expect_resize(x.mModel, n, 0, max, x.mFailing, false);
  }
}

template <typename _T>
void vector_clear(VectorStep<_T>& x) {
  x.mTarget.clear();
  expect_block(x.mModel, 0, false);
}

template <typename _T>
void vector_swap(VectorStep<_T>& x) {
  x.mTarget.swap(x.mOther);
  const VectorModel saved = x.mModel;
  x.mModel = x.mOtherModel;
  x.mOtherModel = saved;
}

template <typename _T>
void vector_pop_back(VectorStep<_T>& x) {
  if (kHardened && x.mModel.mLength == 0) return;
  x.mTarget.pop_back();
  if (x.mModel.mLength != 0) --x.mModel.mLength;
}

// A position that is not on an element removes nothing.
template <typename _T>
void vector_erase_one(VectorStep<_T>& x) {
  const size_t length = x.mModel.mLength;
  const ptrdiff_t off = x.mIn.offset(length, x.mModel.mBlock);
  if (kHardened && !in_order(off, off, length)) return;
  const typename std::vector<_T>::iterator pos = x.mTarget.begin() + off;
  EXPECT(x.mTarget.erase(pos) == pos);
  if (off >= 0 && size_t(off) < length) expect_erase(x.mModel, off, off + 1);
}

// Only a non-empty range within [begin(), end()] is removed.
template <typename _T>
void vector_erase_range(VectorStep<_T>& x) {
  const size_t length = x.mModel.mLength;
  const ptrdiff_t first = x.mIn.offset(length, x.mModel.mBlock);
  const ptrdiff_t last = x.mIn.offset(length, x.mModel.mBlock);
  if (kHardened && !in_order(first, last, length)) return;
  const typename std::vector<_T>::iterator from = x.mTarget.begin() + first;
  EXPECT(x.mTarget.erase(from, x.mTarget.begin() + last) == from);
  if (first >= 0 && size_t(first) < length && first < last && size_t(last) <= length)
    expect_erase(x.mModel, first, last);
}

// The model's values of a range of the second operand, reversed ranges
// being empty.
template <typename _T>
size_t other_range(VectorStep<_T>& x, size_t& first) {
  first = span(x);
  const size_t last = span(x);
  return first < last ? last - first : 0;
}

// The result of an insert against the model's answer (-1: end()).
template <typename _T>
void check_inserted(VectorStep<_T>& x, typename std::vector<_T>::iterator result, ptrdiff_t at) {
  EXPECT(result == (at < 0 ? x.mTarget.end() : x.mTarget.begin() + at));
}

// A position from -2 to length + 2, only inside [0, length] when hardened.
template <typename _T>
ptrdiff_t insert_position(VectorStep<_T>& x) {
  const ptrdiff_t pos = x.mIn.offset(x.mModel.mLength, x.mModel.mBlock);
  return kHardened && !in_order(pos, pos, x.mModel.mLength) ? 0 : pos;
}

// One value, made here or an element of the second operand (which may be
// the target); by const reference, by rvalue or through emplace.
template <typename _T>
void vector_insert_one(VectorStep<_T>& x) {
  const ptrdiff_t pos = insert_position(x);
  const unsigned how = x.mIn.byte();
  if (x.mModel.mLength + 1 > kVectorLimit) return;
  const typename std::vector<_T>::iterator at = x.mTarget.begin() + pos;
  if (how % 3 == 0 && x.mOtherModel.mLength != 0) {
    const size_t i = x.mIn.below(x.mOtherModel.mLength);
    const int value = x.mOtherModel.mData[i];
    const typename std::vector<_T>::iterator r = x.mTarget.insert(at, x.mOther[i]);
    check_inserted(x, r,
                   expect_insert(x.mModel, pos, &value, 1, max_of<_T>(), plain<_T>(), x.mFailing,
                                 copy_fails<_T>(value, x.mFailing)));
    return;
  }
  const int value = int(x.mIn.word());
  _T made = Element<_T>::make(value);
  const int v = made_value<_T>(value, x.mFailing);
  const typename std::vector<_T>::iterator r =
      how % 3 == 1 ? x.mTarget.insert(at, std::move(made)) : x.mTarget.emplace(at, std::move(made));
  check_inserted(x, r,
                 expect_insert(x.mModel, pos, &v, 1, max_of<_T>(), plain<_T>(), x.mFailing,
                               copy_fails<_T>(v, x.mFailing)));
}

template <typename _T>
void vector_insert_count(VectorStep<_T>& x) {
  const ptrdiff_t pos = insert_position(x);
  const size_t n = x.mIn.below(20);
  const int value = int(x.mIn.byte());
  if (x.mModel.mLength + n > kVectorLimit) return;
  const _T made = Element<_T>::make(value);
  const int v = made_value<_T>(value, x.mFailing);
  int values[20];
  for (size_t i = 0; i < n; ++i) values[i] = v;
  const typename std::vector<_T>::iterator r = x.mTarget.insert(x.mTarget.begin() + pos, n, made);
  check_inserted(x, r,
                 expect_insert(x.mModel, pos, values, n, max_of<_T>(), plain<_T>(), x.mFailing,
                               copy_fails<_T>(n != 0 ? v : 0, x.mFailing)));
}

// A range of the second operand, which may be the target itself. Read
// through a single-pass iterator the vector gathers it in a block of its own
// first, so with memory refused nothing changes even where the target has room.
template <typename _T, bool _SinglePass>
void vector_insert_range(VectorStep<_T>& x) {
  const ptrdiff_t pos = insert_position(x);
  size_t first = 0;
  const size_t n = other_range(x, first);
  if (x.mModel.mLength + n > kVectorLimit) return;
  bool fails = _SinglePass && x.mFailing && n != 0;
  for (size_t i = 0; i < n; ++i)
    fails = fails || copy_fails<_T>(x.mOtherModel.mData[first + i], x.mFailing);
  const typename std::vector<_T>::iterator at = x.mTarget.begin() + pos;
  typename std::vector<_T>::iterator r;
  if (_SinglePass) {
    const unit::Walk<_T> from = {x.mOther.data() + first}, to = {x.mOther.data() + first + n};
    r = x.mTarget.insert(at, from, to);
  } else {
    const typename std::vector<_T>::iterator from = x.mOther.begin() + first;
    r = x.mTarget.insert(at, from, from + n);
  }
  check_inserted(x, r,
                 expect_insert(x.mModel, pos, x.mOtherModel.mData + first, n, max_of<_T>(),
                               plain<_T>(), x.mFailing, fails));
}

template <typename _T>
void vector_emplace_back(VectorStep<_T>& x) {
  const int value = int(x.mIn.word());
  if (x.mModel.mLength == kVectorLimit) return;
  _T made = Element<_T>::make(value);
  if (x.mIn.byte() & 1) {
    x.mTarget.emplace_back(std::move(made));
  } else {
    x.mTarget.push_back(std::move(made));
  }
  const int v = made_value<_T>(value, x.mFailing);
  expect_push(x.mModel, v, max_of<_T>(), x.mFailing, copy_fails<_T>(v, x.mFailing));
}

template <typename _T>
void vector_assign_count(VectorStep<_T>& x) {
  const size_t n = x.mIn.below(kVectorLimit + 1);
  const int value = int(x.mIn.byte());
  const _T made = Element<_T>::make(value);
  const int v = made_value<_T>(value, x.mFailing);
  x.mTarget.assign(n, made);
  int values[kVectorLimit];
  for (size_t i = 0; i < n; ++i) values[i] = v;
  expect_assign(x.mModel, values, n, x.mFailing, copy_fails<_T>(v, x.mFailing));
}

// A range of the second operand, which may be the target itself; a
// reversed range changes nothing.
template <typename _T>
void vector_assign_range(VectorStep<_T>& x) {
  const size_t i = span(x), j = span(x);
  x.mTarget.assign(x.mOther.begin() + i, x.mOther.begin() + j);
  if (i > j) return;
  bool fails = false;
  for (size_t k = i; k < j; ++k)
    fails = fails || copy_fails<_T>(x.mOtherModel.mData[k], x.mFailing);
  expect_assign(x.mModel, x.mOtherModel.mData + i, j - i, x.mFailing, fails);
}

// Moves never allocate: the source is left empty without a block (unless
// it is the target itself, which keeps its elements).
template <typename _T>
void vector_move(VectorStep<_T>& x) {
  const bool same = &x.mTarget == &x.mOther;
  const _T* block = x.mOther.data();
  if (x.mIn.byte() & 1) {
    std::vector<_T> made(std::move(x.mOther));
    EXPECT(made.data() == block && (same || (x.mOther.data() == 0 && x.mOther.capacity() == 0)));
    x.mTarget.swap(made);
  } else {
    EXPECT(&(x.mTarget = std::move(x.mOther)) == &x.mTarget);
  }
  EXPECT(x.mTarget.data() == block);
  if (same) return;
  x.mModel = x.mOtherModel;
  expect_block(x.mOtherModel, 0, false);
}

template <typename _T>
void vector_shrink_to_fit(VectorStep<_T>& x) {
  x.mTarget.shrink_to_fit();
  VectorModel& m = x.mModel;
  if (m.mCapacity != m.mLength) expect_reserve(m, 0, max_of<_T>(), x.mFailing);
}

// Lexicographic by elements; checked for ints, whose model order is theirs.
template <typename _T>
void vector_compare(VectorStep<_T>&) {}

template <>
void vector_compare<int>(VectorStep<int>& x) {
  const VectorModel &a = x.mModel, &b = x.mOtherModel;
  int e = 0;
  for (size_t i = 0; e == 0 && i < a.mLength && i < b.mLength; ++i)
    e = a.mData[i] < b.mData[i] ? -1 : a.mData[i] > b.mData[i] ? 1 : 0;
  if (e == 0) e = a.mLength < b.mLength ? -1 : a.mLength > b.mLength ? 1 : 0;
  const std::vector<int>&s = x.mTarget, &t = x.mOther;
  EXPECT((s == t) == (e == 0) && (s != t) == (e != 0));
  EXPECT((s < t) == (e < 0) && (s <= t) == (e <= 0) && (s > t) == (e > 0) && (s >= t) == (e >= 0));
}

// Orders by value, or by a coarser key that makes ties for stable_sort to
// keep in order: the model sorts (key, position) pairs with the C library's
// qsort.
template <typename _T>
struct ByKey {
  int mShift;
  bool operator()(const _T& a, const _T& b) const {
    return (value_of(a) >> mShift) < (value_of(b) >> mShift);
  }
};

struct Keyed {
  int mKey, mPosition, mValue;
};

extern "C" int compare_keyed(const void* a, const void* b) {
  const Keyed &x = *static_cast<const Keyed*>(a), &y = *static_cast<const Keyed*>(b);
  if (x.mKey != y.mKey) return x.mKey < y.mKey ? -1 : 1;
  return x.mPosition - y.mPosition;
}

// sort, stable_sort (whose refused buffer changes nothing but the method)
// and nth_element leave the block and capacity as they were.
template <typename _T>
void vector_sort(VectorStep<_T>& x) {
  VectorModel& m = x.mModel;
  const unsigned how = x.mIn.byte() % 3;
  const ByKey<_T> comp = {how == 1 ? 4 : 0};
  const size_t nth = x.mIn.amount(m.mLength, m.mLength);
  if (how == 0) std::sort(x.mTarget.begin(), x.mTarget.end(), comp);
  if (how == 1) std::stable_sort(x.mTarget.begin(), x.mTarget.end(), comp);
  if (how == 2 && nth < m.mLength)
    std::nth_element(x.mTarget.begin(), x.mTarget.begin() + nth, x.mTarget.end(), comp);
  static Keyed keyed[kVectorLimit];
  for (size_t i = 0; i < m.mLength; ++i) {
    const Keyed k = {m.mData[i] >> comp.mShift, int(i), m.mData[i]};
    keyed[i] = k;
  }
  qsort(keyed, m.mLength, sizeof keyed[0], compare_keyed);
  if (how == 2) {
    // Around nth the rest is in no particular order: the model takes it as
    // it is, once the partition is checked.
    const int pivot = nth < m.mLength ? keyed[nth].mValue : 0;
    for (size_t i = 0; i < m.mLength && nth < m.mLength; ++i) {
      m.mData[i] = value_of(x.mTarget[i]);
      EXPECT(i < nth ? m.mData[i] <= pivot : i > nth ? m.mData[i] >= pivot : m.mData[i] == pivot);
    }
  } else {
    for (size_t i = 0; i < m.mLength; ++i) m.mData[i] = keyed[i].mValue;
  }
}

// at() out of range hands out the per-type dummy, which keeps what was
// last written into it; const at() its own, which holds the default.
template <typename _T>
void vector_access(VectorStep<_T>& x) {
  VectorModel& m = x.mModel;
  const size_t i = x.mIn.amount(m.mLength + 2, npos);
  const int value = int(x.mIn.word());
  const std::vector<_T>& view = x.mTarget;
  _T& r = x.mTarget.at(i);
  const int made = made_value<_T>(value, x.mFailing);
  if (i < m.mLength) {
    EXPECT(&view.at(i) == &r);
    EXPECT(&r == &x.mTarget[i] && value_of(r) == m.mData[i]);
    m.mData[i] = made;
  } else {
    EXPECT(&r == Dummy<_T>::sAddress && value_of(r) == Dummy<_T>::sValue);
    EXPECT(&view.at(i) == Dummy<_T>::sConstAddress && value_of(view.at(i)) == 0);
    Dummy<_T>::sValue = made;
  }
  r = Element<_T>::make(value);
  if (m.mLength != 0)
    EXPECT(value_of(view.front()) == m.mData[0] && value_of(view.back()) == m.mData[m.mLength - 1]);
}

// --- Dispatch --------------------------------------------------------------------

template <typename _Step>
struct Operation {
  const char* mName;
  void (*mApply)(_Step&);
};

const Operation<StringStep> kStringOperations[] = {
    {"string()", string_construct_default},
    {"string(const string&)", string_construct_copy},
    {"string(str, pos, n) / substr", string_construct_part},
    {"string(const char*)", string_construct_text},
    {"string(const char*, n)", string_construct_counted},
    {"string(n, c)", string_construct_fill},
    {"string(begin, end)", string_construct_range},
    {"assign(const string&) / operator=", string_assign_string},
    {"assign(str, pos, n)", string_assign_part},
    {"assign(const char*) / operator=", string_assign_text},
    {"assign(const char*, n)", string_assign_counted},
    {"operator=(char)", string_assign_char},
    {"append(const char*) / +=", string_append_text},
    {"append(const char*, n)", string_append_counted},
    {"append(const char*, pos, n)", string_append_offset},
    {"append(const string&) / +=", string_append_string},
    {"append(first, last)", string_append_range},
    {"push_back / += char", string_push_back},
    {"insert", string_insert},
    {"erase", string_erase},
    {"insert / replace / erase / resize", string_edit},
    {"reserve", string_reserve},
    {"clear", string_clear},
    {"swap", string_swap},
    {"at / operator[]", string_access},
    {"compare(const string&) / relations", string_compare},
    {"compare(const char*) / ==", string_compare_text},
    {"find(text)", string_find_text},
    {"character search", string_find_char},
    {"set search / rfind", string_find_set},
    {"operator+", string_concat},
};

template <typename _T>
struct VectorOperations {
  static const Operation<VectorStep<_T> > kTable[];
  static const size_t kCount;
};

template <typename _T>
const Operation<VectorStep<_T> > VectorOperations<_T>::kTable[] = {
    {"vector()", vector_construct_default<_T>},
    {"vector(n, value)", vector_construct_count<_T>},
    {"vector(int, int)", vector_construct_integral<_T>},
    {"vector(first, last)", vector_construct_range<_T>},
    {"vector(const vector&)", vector_construct_copy<_T>},
    {"operator=", vector_assign<_T>},
    {"reserve", vector_reserve<_T>},
    {"push_back(value)", vector_push_value<_T>},
    {"push_back(element)", vector_push_element<_T>},
    {"resize", vector_resize<_T>},
    {"clear", vector_clear<_T>},
    {"swap", vector_swap<_T>},
    {"pop_back", vector_pop_back<_T>},
    {"erase(pos)", vector_erase_one<_T>},
    {"erase(first, last)", vector_erase_range<_T>},
    {"at / front / back", vector_access<_T>},
    {"insert / emplace one", vector_insert_one<_T>},
    {"insert(pos, n, value)", vector_insert_count<_T>},
    {"insert(pos, first, last)", vector_insert_range<_T, false>},
    {"emplace_back / push_back(T&&)", vector_emplace_back<_T>},
    {"assign(n, value)", vector_assign_count<_T>},
    {"assign(first, last)", vector_assign_range<_T>},
    {"vector(vector&&) / operator=(vector&&)", vector_move<_T>},
    {"shrink_to_fit", vector_shrink_to_fit<_T>},
    {"comparisons", vector_compare<_T>},
    {"sort / stable_sort / nth_element", vector_sort<_T>},
    {"insert(pos, first, last), single pass", vector_insert_range<_T, true>},
};

template <typename _T>
const size_t VectorOperations<_T>::kCount = sizeof kTable / sizeof kTable[0];

const size_t kStringCount = sizeof kStringOperations / sizeof kStringOperations[0];

// PLINTH_FUZZ_TRACE=1 lists every step with its target's size and capacity.
bool sTrace = false;

template <typename _Step>
void apply(const Operation<_Step>& op, _Step& x, const char* group, int a, int b) {
  sOperation = op.mName;
  if (sTrace)
    fprintf(stderr, "step %zu: %s %d, %s, operand %d (size %zu, capacity %zu)%s\n", sStep, group, a,
            sOperation, b, x.mTarget.size(), x.mTarget.capacity(),
            x.mFailing ? ", allocations refused" : "");
  if (x.mFailing) failalloc::fail_all();
  op.mApply(x);
  failalloc::disarm();
}

template <typename _T>
void vector_step(const char* group, Vectors<_T>& vectors, size_t op, unsigned pick, Input& in,
                 bool failing) {
  const int a = pick % kVectors, b = pick / kVectors % kVectors;
  VectorStep<_T> x = {
      vectors.mReals[a], vectors.mModels[a], vectors.mReals[b], vectors.mModels[b], in, failing};
  apply(VectorOperations<_T>::kTable[op], x, group, a, b);
}

void step(State& state, Input& in, bool can_fail) {
  const size_t kVectorCount = VectorOperations<int>::kCount;
  size_t op = in.byte() % (kStringCount + 6 * kVectorCount);
  const unsigned pick = in.byte();
  const bool failing = can_fail && pick >= 0xE0;
  if (op < kStringCount) {
    const int a = pick % kStrings, b = pick / kStrings % kStrings;
    StringStep x = {state.mStrings[a],
                    state.mStringModels[a],
                    state.mStrings[b],
                    state.mStringModels[b],
                    in,
                    failing,
                    {}};
    return apply(kStringOperations[op], x, "string", a, b);
  }
  op -= kStringCount;
  const size_t group = op / kVectorCount;
  op %= kVectorCount;
  switch (group) {
    case 0:
      return vector_step("vector<int>", state.mInts, op, pick, in, failing);
    case 1:
      return vector_step("vector<Counted>", state.mObjects, op, pick, in, failing);
    case 2:
      return vector_step("vector<string>", state.mTexts, op, pick, in, failing);
    case 3:
      return vector_step("vector<Wide>", state.mWides, op, pick, in, failing);
    case 4:
      return vector_step("vector<vector<int>>", state.mNestedInts, op, pick, in, failing);
    default:
      return vector_step("vector<vector<string>>", state.mNestedTexts, op, pick, in, failing);
  }
}

void find_shared_objects() {
  sEmptyBuffer = std::string().c_str();
  sStringDummy = &std::string().at(0);
  find_dummy<int>();
  find_dummy<Counted>();
  find_dummy<std::string>();
  find_dummy<Wide>();
  find_dummy<std::vector<int> >();
  find_dummy<std::vector<std::string> >();
}

}  // namespace

size_t run(const uint8_t* data, size_t size) {
  static const bool sCanFail = failalloc::active();
  unit::set_context(print_step);
  unit::abort_on_failure();
  sTrace = getenv("PLINTH_FUZZ_TRACE") != 0;
  find_shared_objects();
  const long blocks = failalloc::live_blocks(), objects = Counted::sLive;
  size_t steps = 0;
  {
    // Fresh objects for every input, all gone again before the final counts.
    State state;
    Input in(data, size);
    for (sStep = 0; !in.done(); ++sStep) {
      step(state, in, sCanFail);
      check_state(state, objects);
    }
    steps = sStep;
  }
  sOperation = "end of input";
  // Gives back the blocks of values written into the dummies.
  find_dummy<std::string>();
  find_dummy<std::vector<int> >();
  find_dummy<std::vector<std::string> >();
  EXPECT(Counted::sLive == objects);
  if (sCanFail) EXPECT(failalloc::live_blocks() == blocks);
  return steps;
}

}  // namespace fuzz
}  // namespace kestrel

// -*- C++ -*-
// How elements of one type live in raw storage: their blocks, how they are
// built, moved to another block and destroyed. std::vector and <memory> use
// nothing else to handle elements. Three questions about the type decide
// every path, asked once here:
//   plain data (std::is_pod and relocatable): bytes that are never destroyed,
//     and whose copies cannot fail;
//   relocatable (kestrel::is_relocatable): moved between blocks as bytes;
//   over-aligned (above the malloc guarantee): blocks aligned by hand, which
//     realloc would not keep, so they grow by allocate, move and free.
// A copy is checked with kestrel::copy_check unless the type is plain data;
// a copy that did not succeed undoes everything the call built.
#ifndef PLINTH___ELEMENTS_H
#define PLINTH___ELEMENTS_H

#include <__plinth/config.h>
#include <stddef.h>
#include <new>

#include <type_traits>
#include <utility>

namespace kestrel {

template <typename _T>
struct __elements {
  typedef _T* pointer;

  static const bool kRelocatable = is_relocatable<_T>::value;
  static const bool kPlain = std::is_pod<_T>::value && kRelocatable;
  // glibc's malloc and the sanitizers' promise two words; beyond that the
  // block is aligned here, from a malloc'd block kAlign bytes longer.
  static const size_t kAlign = alignof(_T);
  static const bool kOverAligned = kAlign > 2 * sizeof(void*);
  // Small plain data is passed by value, in registers on the growth paths
  // (a measured i386 win); anything larger by reference, never to the stack.
  static const bool kByValue = kPlain && !kOverAligned && sizeof(_T) <= 16;
  typedef typename std::conditional<kByValue, const _T, const _T&>::type param;

  // The largest count whose bytes a ptrdiff_t can span.
  static size_t max_count() { return (size_t(-1) >> 1) / sizeof(_T); }

  // A block of n slots, or null. The caller has checked n <= max_count().
  static pointer allocate(size_t n) {
    const size_t bytes = n * sizeof(_T);
    if __PLINTH_CONSTEXPR (!kOverAligned) {
      return static_cast<pointer>(__builtin_malloc(bytes));
    } else {
      char* const raw = static_cast<char*>(__builtin_malloc(bytes + kAlign));
      if (raw == 0) return 0;
      // 1 to kAlign bytes in, so malloc's own address fits just below.
      char* const block = raw + (kAlign - reinterpret_cast<size_t>(raw) % kAlign);
      static_cast<void**>(static_cast<void*>(block))[-1] = raw;
      return static_cast<pointer>(static_cast<void*>(block));
    }
  }

  static void deallocate(pointer block) {
    if (kOverAligned && block != 0) {
      __builtin_free(static_cast<void**>(static_cast<void*>(block))[-1]);
    } else {
      __builtin_free(static_cast<void*>(block));
    }
  }

  // Moves the `length` elements of block (which may be null) into a block of
  // n slots and returns it; null when no block or a failed copy, and then
  // block and its elements stand as they were.
  static pointer resize_block(pointer block, size_t length, size_t n) {
    if __PLINTH_CONSTEXPR (kRelocatable && !kOverAligned) {
      // Through void*: moving a class as bytes is intended here.
      return static_cast<pointer>(__builtin_realloc(static_cast<void*>(block), n * sizeof(_T)));
    } else {
      const pointer fresh = allocate(n);
      if (fresh != 0 && !relocate(block, block + length, fresh)) {
        deallocate(fresh);
        return 0;
      }
      if (fresh != 0) deallocate(block);
      return fresh;
    }
  }

  // Moves [first, last) into raw slots at dest; the source slots end raw.
  // Relocatable types move as bytes. Others are moved when the move cannot
  // fail (noexcept, as ISO's move_if_noexcept), and otherwise copied and
  // checked: a failed copy leaves the source as it was and answers false.
  static bool relocate(pointer first, pointer last, pointer dest) {
    if __PLINTH_CONSTEXPR (kRelocatable) {
      move_bytes(first, last, dest);
      return true;
    } else {
      if (!transfer(first, last, dest)) return false;
      destroy(first, last);
      return true;
    }
  }

  // The first half of relocating a type that is not relocatable: builds
  // [first, last) at dest by move or checked copy, leaving the sources to
  // be destroyed by the caller once every part has succeeded. A failed copy
  // destroys what this call built and answers false.
  static bool transfer(pointer first, pointer last, pointer dest) {
    typedef typename std::conditional<std::is_nothrow_move_constructible<_T>::value, _T&&,
                                      const _T&>::type source;
    pointer slot = dest;
    for (pointer from = first; from != last; ++from, ++slot) {
      if (!build(slot, static_cast<source>(*from))) {
        destroy(dest, slot);
        return false;
      }
    }
    return true;
  }

  // memmove of whole elements; the ranges may overlap, and a reversed one
  // moves nothing.
  static void move_bytes(pointer first, pointer last, pointer dest) {
    if (first < last) {
      __builtin_memmove(static_cast<void*>(dest), static_cast<const void*>(first),
                        size_t(last - first) * sizeof(_T));
    }
  }

  // Constructs a copy of source in a raw slot (a conversion when source is
  // of another type). A copy that did not succeed is destroyed again.
  template <typename _Source>
  static bool build(pointer slot, const _Source& source) {
    ::new (static_cast<void*>(slot)) _T(source);
    if __PLINTH_CONSTEXPR (kPlain) {
      return true;
    } else {
      if (copied(*slot, source)) return true;
      slot->~_T();
      return false;
    }
  }
  // Constructs from an rvalue. A noexcept move cannot fail and is not
  // checked; any other construction (a type with a copy constructor only)
  // leaves the source whole and is checked against it.
  static bool build(pointer slot, _T&& source) {
    ::new (static_cast<void*>(slot)) _T(static_cast<_T&&>(source));
    if __PLINTH_CONSTEXPR (kPlain || std::is_nothrow_move_constructible<_T>::value) {
      return true;
    } else {
      if (copied(*slot, source)) return true;
      slot->~_T();
      return false;
    }
  }

  // Constructs from any arguments. One of the element type is a copy or a
  // move, built as above; other arguments give nothing to check against.
  template <typename... _Args>
  static bool emplace(pointer slot, _Args&&... args) {
    ::new (static_cast<void*>(slot)) _T(std::forward<_Args>(args)...);
    return true;
  }
  static bool emplace(pointer slot, const _T& source) { return build(slot, source); }
  static bool emplace(pointer slot, _T& source) { return build(slot, source); }
  static bool emplace(pointer slot, _T&& source) { return build(slot, std::move(source)); }

  // Copies of value in [first, last); all or none.
  template <typename _Source>
  static bool fill(pointer first, pointer last, const _Source& value) {
    for (pointer slot = first; slot < last; ++slot) {
      if (!build(slot, value)) {
        destroy(first, slot);
        return false;
      }
    }
    return true;
  }

  // Copies of [first, last) from dest on; returns the end of the copies, or,
  // when one failed, destroys them all and returns dest.
  template <typename _InputIterator, typename _ForwardIterator>
  static _ForwardIterator copy(_InputIterator first, _InputIterator last, _ForwardIterator dest) {
    _ForwardIterator slot = dest;
    for (; first != last; ++first, ++slot) {
      if (!build(&*slot, *first)) {
        for (_ForwardIterator built = dest; built != slot; ++built) (&*built)->~_T();
        return dest;
      }
    }
    return slot;
  }
  // From elements of the same type: plain data in one memmove. A reversed
  // range copies nothing.
  static pointer copy(const _T* first, const _T* last, pointer dest) {
    if __PLINTH_CONSTEXPR (!kPlain) {
      return copy<const _T*, pointer>(first, last, dest);
    } else {
      if (!(first < last)) return dest;
      move_bytes(const_cast<pointer>(first), const_cast<pointer>(last), dest);
      return dest + (last - first);
    }
  }
  static pointer copy(pointer first, pointer last, pointer dest) {
    return copy(static_cast<const _T*>(first), static_cast<const _T*>(last), dest);
  }

  // In slot order; plain data is never destroyed.
  static void destroy(pointer first, pointer last) {
    if __PLINTH_CONSTEXPR (!kPlain) {
      for (; first != last; ++first) first->~_T();
    }
  }

  // Closes the gap [first, last) among the elements that end at end.
  // Relocatable elements: the removed ones are destroyed and the tail moves
  // down as bytes, so nothing is assigned and nothing allocates. Others: the
  // tail is assigned down front to back (moved when the type can) and the
  // slots left over are destroyed in slot order.
  static void close_gap(pointer first, pointer last, pointer end) {
    if __PLINTH_CONSTEXPR (kRelocatable) {
      destroy(first, last);
      move_bytes(last, end, first);
    } else {
      pointer to = first;
      for (pointer from = last; from != end; ++from, ++to) *to = static_cast<_T&&>(*from);
      destroy(to, end);
    }
  }

 private:
  static bool copied(const _T& copy, const _T& source) {
    return copy_check<_T>::succeeded(copy, source);
  }
  // Converted from another type: no source copy to compare against.
  template <typename _Source>
  static bool copied(const _T&, const _Source&) {
    return true;
  }
};

// The element that vector<_T>::at() hands out out of range; _Const 1 is the
// const overloads' own, which nothing writes. Its storage is constant-
// initialised (zero bytes, which is the value-initialised state of plain
// data) and any other type is built in it on first use and never destroyed,
// so it is usable from any static constructor or destructor in any unit,
// whatever the order in which they run. The first use from several threads
// at once builds it once; the others wait.
template <typename _T, int _Const>
class __dummy {
 public:
  static _T& get() {
    if (!std::is_pod<_T>::value && __atomic_load_n(&sState, __ATOMIC_ACQUIRE) != kBuilt) build();
    return *static_cast<_T*>(static_cast<void*>(sStorage));
  }

 private:
  __attribute__((__noinline__, __cold__)) static void build() {
    int expected = kUnbuilt;
    if (__atomic_compare_exchange_n(&sState, &expected, kBuilding, false, __ATOMIC_ACQUIRE,
                                    __ATOMIC_ACQUIRE)) {
      ::new (static_cast<void*>(sStorage)) _T();
      __atomic_store_n(&sState, kBuilt, __ATOMIC_RELEASE);
      return;
    }
    while (__atomic_load_n(&sState, __ATOMIC_ACQUIRE) != kBuilt) {
    }
  }

  static const int kUnbuilt = 0;
  static const int kBuilding = 1;
  static const int kBuilt = 2;
  alignas(_T) static unsigned char sStorage[sizeof(_T)];
  static int sState;
};

template <typename _T, int _Const>
alignas(_T) unsigned char __dummy<_T, _Const>::sStorage[sizeof(_T)];
template <typename _T, int _Const>
int __dummy<_T, _Const>::sState;

}  // namespace kestrel

#endif  // PLINTH___ELEMENTS_H

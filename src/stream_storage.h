// Static storage for a standard stream or its buffer: zero bytes with no
// constructor or destructor, so the program file holds none of it (.bss),
// nothing runs for it at start-up and nothing is registered for exit.
// ios_base::Init builds the object in it, once; nothing destroys it, so the
// stream stays usable in every static destructor.
#ifndef PLINTH_SRC_STREAM_STORAGE_H
#define PLINTH_SRC_STREAM_STORAGE_H

namespace kestrel {

template <typename _T>
struct __stream_storage {
  alignas(_T) unsigned char mBytes[sizeof(_T)];
};

}  // namespace kestrel

// Defines std::NAME, a std::TYPE, as such storage: std::NAME is an alias
// of storage with a symbol of its own, so that every unit, the defining one
// included, sees the stream with its own type. (The alias is the storage's
// only use, which clang does not count as one.)
#define PLINTH_STANDARD_STREAM(TYPE, NAME)                                            \
  namespace kestrel {                                                                 \
  namespace {                                                                         \
  __attribute__((__unused__)) __stream_storage<std::TYPE> __##NAME##_storage __asm__( \
      "__plinth_" #NAME);                                                             \
  }                                                                                   \
  }                                                                                   \
  namespace std {                                                                     \
  extern TYPE NAME __attribute__((__alias__("__plinth_" #NAME)));                     \
  }

#endif  // PLINTH_SRC_STREAM_STORAGE_H

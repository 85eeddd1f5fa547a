// Storage for a standard stream's buffer: constant-initialised, so the
// stream that points into it is usable before any constructor runs.
// ios_base::Init builds the buffer in it, once, and nothing destroys it.
#ifndef PLINTH_SRC_BUFFER_STORAGE_H
#define PLINTH_SRC_BUFFER_STORAGE_H

namespace kestrel {

template <typename _Buffer>
union __buffer_storage {
  constexpr __buffer_storage() : mNone() {}
  ~__buffer_storage() {}

  char mNone;
  _Buffer mBuffer;
};

}  // namespace kestrel

#endif  // PLINTH_SRC_BUFFER_STORAGE_H

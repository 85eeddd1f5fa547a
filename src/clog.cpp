// std::clog, in a unit of its own: ios_base::Init builds it (over cerr's
// buffer) and flushes it at exit only when a unit of the program names it.
#include <ostream>

#include "stream_storage.h"

PLINTH_STANDARD_STREAM(ostream, clog)

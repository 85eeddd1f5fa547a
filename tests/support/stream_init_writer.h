// A static object of the stream_init program: it writes 1.5 and then
// lowers the precision, so the first writer prints 1.500000e+00 and every
// later one 1.50e+00, whichever unit starts first.
#ifndef PLINTH_TESTS_STREAM_INIT_WRITER_H
#define PLINTH_TESTS_STREAM_INIT_WRITER_H

#include <iostream>

namespace kestrel {

struct InitWriter {
  InitWriter() {
    std::cout << 1.5 << ' ';
    std::cout.precision(2);
  }
};

}  // namespace kestrel

#endif  // PLINTH_TESTS_STREAM_INIT_WRITER_H

// Differential fuzzing of std::string and std::vector against a reference
// model of their documented behaviour. The entry points (fuzz_main.cpp for
// replay and the pseudo-random run, fuzz_libfuzzer.cpp for libFuzzer) only
// feed bytes to run().
#ifndef PLINTH_TESTS_FUZZ_CONTAINERS_H
#define PLINTH_TESTS_FUZZ_CONTAINERS_H

#include <stddef.h>
#include <stdint.h>

namespace kestrel {
namespace fuzz {

// Decodes `data` into operations on a few strings and vectors, applies each
// to the library and to the model, and compares them after every step. The
// first difference is reported on stderr and aborts. Returns the number of
// operations applied.
size_t run(const uint8_t* data, size_t size);

}  // namespace fuzz
}  // namespace kestrel

#endif  // PLINTH_TESTS_FUZZ_CONTAINERS_H

// libFuzzer entry point; see scripts/fuzz.sh.
#include "fuzz/fuzz_containers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kestrel::fuzz::run(data, size);
  return 0;
}

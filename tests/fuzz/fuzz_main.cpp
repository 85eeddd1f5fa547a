// Replays inputs, or runs a bounded pseudo-random campaign:
//   fuzz_containers FILE...
//   fuzz_containers --random SEED OPERATIONS
// and prints one line with the number of inputs and operations.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "fuzz/fuzz_containers.h"

namespace {

const size_t kMaxInput = 1 << 16;
uint8_t sBuffer[kMaxInput];

size_t read_file(const char* path) {
  FILE* file = fopen(path, "rb");
  if (file == 0) {
    fprintf(stderr, "fuzz: cannot read %s\n", path);
    exit(2);
  }
  const size_t size = fread(sBuffer, 1, kMaxInput, file);
  fclose(file);
  return size;
}

// xorshift32: the same inputs on every target.
uint32_t next(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

// Inputs of 64 to 1023 bytes, about 50 operations each.
size_t random_run(uint32_t seed, size_t operations, size_t& inputs) {
  uint32_t state = seed != 0 ? seed : 1;
  size_t done = 0;
  for (inputs = 0; done < operations; ++inputs) {
    const size_t size = 64 + next(state) % 960;
    for (size_t i = 0; i < size; ++i) sBuffer[i] = uint8_t(next(state) >> 24);
    done += kestrel::fuzz::run(sBuffer, size);
  }
  return done;
}

}  // namespace

int main(int argc, char** argv) {
  size_t inputs = 0, operations = 0;
  if (argc == 4 && strcmp(argv[1], "--random") == 0) {
    operations = random_run(uint32_t(strtoul(argv[2], 0, 10)), strtoul(argv[3], 0, 10), inputs);
  } else {
    for (inputs = 1; int(inputs) < argc; ++inputs)
      operations += kestrel::fuzz::run(sBuffer, read_file(argv[inputs]));
    --inputs;
  }
  printf("%zu inputs, %zu operations\n", inputs, operations);
  return 0;
}

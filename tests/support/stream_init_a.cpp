// With stream_init_b.cpp: two units including <iostream>, so two Init
// objects run at start-up. The streams must be built once only: a second
// build would reset the precision one unit's static writer leaves behind.
#include <iostream>

#include "stream_init_writer.h"

namespace {

const kestrel::InitWriter kWriter;

}  // namespace

int main() {
  // A further Init after start-up builds nothing either.
  const std::ios_base::Init again;
  std::cout << 1.5 << (std::ios_base::Init::done() ? " done" : " not done") << '\n';
  return 0;
}

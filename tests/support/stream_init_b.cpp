// The second unit of the stream_init program: see stream_init_a.cpp.
#include <iostream>

#include "stream_init_writer.h"

namespace {

const kestrel::InitWriter kWriter;

}  // namespace

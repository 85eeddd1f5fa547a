// Storage of the standard streams and their buffers. It is plain bytes, so
// no constructor or destructor of these objects runs at start-up or exit:
// ios_base::Init builds them in place, and they are never destroyed. This
// unit must not include <iostream>, which declares cout and cerr with their
// class types.
#include <ostream>
#include <stdio_filebuf>

namespace std {

typedef char stdio_filebuf_mem[sizeof(kestrel::stdio_filebuf)];
typedef char ostream_mem[sizeof(ostream)];

alignas(kestrel::stdio_filebuf) stdio_filebuf_mem stdio_filebuf_cout;
alignas(kestrel::stdio_filebuf) stdio_filebuf_mem stdio_filebuf_cerr;
alignas(ostream) ostream_mem cout;
alignas(ostream) ostream_mem cerr;

}  // namespace std

#include <basic_ios>

namespace std {

basic_ios::basic_ios() : mStreambuf(0) {}

basic_ios::~basic_ios() {}

streambuf* basic_ios::rdbuf(streambuf* sb) {
  streambuf* previous = mStreambuf;
  mStreambuf = sb;
  return previous;
}

}  // namespace std

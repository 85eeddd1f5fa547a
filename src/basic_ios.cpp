#include <basic_ios>

namespace std {

basic_ios::~basic_ios() {}

streambuf* basic_ios::rdbuf(streambuf* sb) {
  streambuf* previous = mStreambuf;
  mStreambuf = sb;
  clear();
  return previous;
}

void basic_ios::init(streambuf* sb) {
  flags(skipws | dec);
  precision(6);
  width(0);
  mStreambuf = sb;
  mTie = 0;
  mFill = ' ';
  clear();
}

}  // namespace std

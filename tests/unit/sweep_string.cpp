// Every allocating operation of std::string with each of its allocations
// refused in turn (support/sweep.h): growth changes nothing, construction
// and the assign family give the empty string, and nothing leaks.
#include <string>

#include "support/sweep.h"

namespace {

using sweep::Case;
using sweep::kEmptied;
using sweep::kRefused;
using sweep::kUnchanged;

const char kText[] = "some text";

// The target is full (capacity == length), so any growth allocates. Members
// returning string& claim success by returning the target.
struct Strings {
  Strings() : mTarget("abc"), mSource("source text") {}
  std::string& target() { return mTarget; }
  // A constructor's result replaces the target.
  bool adopt(std::string& made) {
    mTarget.swap(made);
    return true;
  }
  std::string mTarget;
  std::string mSource;
};

// Room to spare: shrinking reallocates.
struct RoomyStrings : Strings {
  RoomyStrings() { mTarget.reserve(10); }
};

const Case<Strings> kCases[] = {
    {"string(const string&)", kEmptied,
     [](Strings& f) {
       std::string made(f.mSource);
       return f.adopt(made);
     }},
    {"string(str, pos, n)", kEmptied,
     [](Strings& f) {
       std::string made(f.mSource, 2, 5);
       return f.adopt(made);
     }},
    {"string(str, pos)", kEmptied,
     [](Strings& f) {
       std::string made(f.mSource, 2);
       return f.adopt(made);
     }},
    {"string(const char*)", kEmptied,
     [](Strings& f) {
       std::string made(kText);
       return f.adopt(made);
     }},
    {"string(const char*, n)", kEmptied,
     [](Strings& f) {
       std::string made(kText, 4);
       return f.adopt(made);
     }},
    {"string(n, c)", kEmptied,
     [](Strings& f) {
       std::string made(5, 'x');
       return f.adopt(made);
     }},
    {"string(begin, end)", kEmptied,
     [](Strings& f) {
       std::string made(kText + 1, kText + 6);
       return f.adopt(made);
     }},
    {"substr", kEmptied,
     [](Strings& f) {
       std::string made = f.mSource.substr(2, 5);
       return f.adopt(made);
     }},
    {"assign(const string&)", kEmptied,
     [](Strings& f) { return &f.mTarget.assign(f.mSource) == &f.mTarget; }},
    {"operator=(const string&)", kEmptied,
     [](Strings& f) { return &(f.mTarget = f.mSource) == &f.mTarget; }},
    // From the string's own bytes, a failure must not lose them.
    {"assign(its own part)", kUnchanged,
     [](Strings& f) { return &f.mTarget.assign(f.mTarget, 1, 2) == &f.mTarget; }},
    {"operator=(its own bytes)", kUnchanged,
     [](Strings& f) { return &(f.mTarget = f.mTarget.c_str() + 1) == &f.mTarget; }},
    {"assign(str, pos, n)", kEmptied,
     [](Strings& f) { return &f.mTarget.assign(f.mSource, 1, 4) == &f.mTarget; }},
    {"assign(const char*)", kEmptied,
     [](Strings& f) { return &f.mTarget.assign(kText) == &f.mTarget; }},
    {"operator=(const char*)", kEmptied,
     [](Strings& f) { return &(f.mTarget = kText) == &f.mTarget; }},
    {"assign(const char*, n)", kEmptied,
     [](Strings& f) { return &f.mTarget.assign(kText, 4) == &f.mTarget; }},
    {"operator=(char)", kEmptied, [](Strings& f) { return &(f.mTarget = 'x') == &f.mTarget; }},
    {"reserve, growing", kUnchanged,
     [](Strings& f) {
       f.mTarget.reserve(10);
       return true;
     }},
    {"append(const char*)", kUnchanged,
     [](Strings& f) { return &f.mTarget.append(kText) == &f.mTarget; }},
    {"append(const char*, n)", kUnchanged,
     [](Strings& f) { return &f.mTarget.append(kText, 4) == &f.mTarget; }},
    {"append(const char*, pos, n)", kUnchanged,
     [](Strings& f) { return &f.mTarget.append(kText, 2, 3) == &f.mTarget; }},
    {"append(const string&)", kUnchanged,
     [](Strings& f) { return &f.mTarget.append(f.mSource) == &f.mTarget; }},
    {"append(iterator, iterator)", kUnchanged,
     [](Strings& f) {
       return &f.mTarget.append(f.mSource.begin() + 1, f.mSource.end()) == &f.mTarget;
     }},
    {"append(const_iterator, const_iterator)", kUnchanged,
     [](Strings& f) {
       const std::string& source = f.mSource;
       return &f.mTarget.append(source.begin(), source.end() - 1) == &f.mTarget;
     }},
    {"append(itself)", kUnchanged,
     [](Strings& f) { return &f.mTarget.append(f.mTarget) == &f.mTarget; }},
    {"append(its own bytes)", kUnchanged,
     [](Strings& f) { return &f.mTarget.append(f.mTarget.c_str() + 1) == &f.mTarget; }},
    {"operator+=(const string&)", kUnchanged,
     [](Strings& f) { return &(f.mTarget += f.mSource) == &f.mTarget; }},
    {"operator+=(const char*)", kUnchanged,
     [](Strings& f) { return &(f.mTarget += kText) == &f.mTarget; }},
    {"operator+=(char)", kUnchanged, [](Strings& f) { return &(f.mTarget += 'x') == &f.mTarget; }},
    {"push_back", kUnchanged,
     [](Strings& f) {
       f.mTarget.push_back('x');
       return true;
     }},
    {"insert(pos, str)", kUnchanged,
     [](Strings& f) { return &f.mTarget.insert(1, f.mSource) == &f.mTarget; }},
    {"insert(pos, itself)", kUnchanged,
     [](Strings& f) { return &f.mTarget.insert(1, f.mTarget) == &f.mTarget; }},
    {"replace(pos, n, its own bytes), growing", kUnchanged,
     [](Strings& f) { return &f.mTarget.replace(0, 1, f.mTarget.c_str(), 3) == &f.mTarget; }},
    {"replace(iterators, n, c)", kUnchanged,
     [](Strings& f) {
       return &f.mTarget.replace(f.mTarget.begin(), f.mTarget.end(), 5, 'x') == &f.mTarget;
     }},
    {"append(n, c)", kUnchanged,
     [](Strings& f) { return &f.mTarget.append(4, 'x') == &f.mTarget; }},
    {"append(str, pos, n)", kUnchanged,
     [](Strings& f) { return &f.mTarget.append(f.mSource, 2, 3) == &f.mTarget; }},
    {"resize, growing", kUnchanged,
     [](Strings& f) {
       f.mTarget.resize(8, 'x');
       return true;
     }},
    {"insert(iterator, n, c)", kRefused,
     [](Strings& f) {
       return f.mTarget.insert(f.mTarget.begin() + 1, 2, 'x').base() == f.mTarget.c_str() + 1;
     }},
    {"assign(n, c)", kEmptied, [](Strings& f) { return &f.mTarget.assign(4, 'x') == &f.mTarget; }},
    {"operator+", kEmptied,
     [](Strings& f) {
       std::string made = f.mSource + "!";
       return f.adopt(made);
     }},
    {"to_string", kEmptied,
     [](Strings& f) {
       std::string made = std::to_string(-12345);
       return f.adopt(made);
     }},
    // A range of single-pass iterators is read into a block of its own first.
    {"append(input range)", kUnchanged,
     [](Strings& f) {
       return &f.mTarget.append(unit::input_chars(kText), unit::input_chars(kText + 9)) ==
              &f.mTarget;
     }},
    {"insert(iterator, input range)", kRefused,
     [](Strings& f) {
       return f.mTarget.insert(f.mTarget.begin(), unit::input_chars(kText),
                               unit::input_chars(kText + 3)) == f.mTarget.begin();
     }},
    {"string(input range)", kEmptied,
     [](Strings& f) {
       std::string made(unit::input_chars(kText), unit::input_chars(kText + 9));
       return f.adopt(made);
     }},
    {"assign(input range)", kEmptied,
     [](Strings& f) {
       return &f.mTarget.assign(unit::input_chars(kText), unit::input_chars(kText + 4)) ==
              &f.mTarget;
     }},
    {"insert", kRefused,
     [](Strings& f) {
       // On failure the result is the dummy, not a position in the target.
       return f.mTarget.insert(f.mTarget.begin() + 1, 'x').base() == f.mTarget.c_str() + 1;
     }},
};

const Case<RoomyStrings> kShrinkingCases[] = {
    {"reserve(0), shrinking", kUnchanged,
     [](RoomyStrings& f) {
       f.mTarget.reserve(0);
       return true;
     }},
    {"shrink_to_fit", kUnchanged,
     [](RoomyStrings& f) {
       f.mTarget.shrink_to_fit();
       return true;
     }},
    {"reserve(n), shrinking", kUnchanged,
     [](RoomyStrings& f) {
       f.mTarget.reserve(5);
       return true;
     }},
};

TEST(every_allocation_of_every_string_operation_can_fail) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  const unsigned pairs = sweep::sweep_all(kCases) + sweep::sweep_all(kShrinkingCases);
  const size_t operations = sweep::count_of(kCases) + sweep::count_of(kShrinkingCases);
  printf("string sweep: %u (operation, failure point) pairs over %zu operations\n", pairs,
         operations);
}

}  // namespace

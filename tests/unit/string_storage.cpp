// std::string construction, capacity and swap, also when memory runs out.
#include <stdint.h>

#include <string>

#include "support/checks.h"

namespace {

const char* const kNull = 0;

using unit::empty_without_block;

TEST(construction_copies_exactly_and_empty_strings_never_allocate) {
  const bool counting = failalloc::active();
  const unsigned requests = failalloc::requests();
  std::string none, literal(""), null(kNull), counted(kNull, 5), s("a string"), nul("a\0b", 3);
  EXPECT(*none.c_str() == '\0' && empty_without_block(literal) && empty_without_block(null));
  EXPECT(empty_without_block(counted) && (!counting || failalloc::requests() == requests + 2));
  // A literal 0 is a count, with a null pointer too.
  EXPECT(empty_without_block(std::string("abc", 0)) && empty_without_block(std::string(kNull, 0)));
  const char* p = s.c_str();
  EXPECT(std::string(s, 2) == "string" && std::string(s, 6, 10) == "ng" && nul.size() == 3);
  EXPECT(empty_without_block(std::string(s, 8)) && std::string(p + 2, p + 5) == "str");
  EXPECT(std::string(5, 'x') == "xxxxx");
#ifndef PLINTH_HARDENED  // where a reversed range stops the program
  EXPECT(empty_without_block(std::string(p + 5, p + 2)));
#endif
  s.reserve(100);
  EXPECT(std::string(s) == s && std::string(s).capacity() == 8);
}

// The only shrinking operation; lengths reaching npos are refused outright.
TEST(reserve_sets_capacity_exactly_and_swap_moves_blocks) {
  std::string s("abcdefgh"), empty;
  s.reserve(40);
  s.reserve(5);
  EXPECT(s.capacity() == 40);
  s.reserve(20);
  EXPECT(s.capacity() == 20);
  s.reserve(0);
  s.reserve(std::string::npos);
  s.append(s.c_str(), std::string::npos - 8).append(s.c_str(), std::string::npos - 7);
  EXPECT(s == "abcdefgh" && s.size() == 8 && s.capacity() == 8);
  empty.reserve(10);
  std::swap(s, empty);
  EXPECT(s.capacity() == 10 && *s.c_str() == '\0' && empty.capacity() == 8);
  s.reserve(0);
  empty.clear();
  EXPECT(empty_without_block(s) && empty_without_block(empty));
}

// Every request past max_size() is refused before the allocator is asked,
// so no size reaches malloc that end() - begin() could not represent.
TEST(lengths_past_max_size_never_reach_the_allocator) {
  std::string s("abc");
  const size_t max = s.max_size();
  EXPECT(max == size_t(PTRDIFF_MAX) - 1);
  const unsigned requests = failalloc::requests();
  std::string fill(max + 1, 'x'), counted(s.c_str(), max + 1);
  s.reserve(max + 1);
  s.append(s.c_str(), max - 2);
  EXPECT(empty_without_block(fill) && empty_without_block(counted));
  EXPECT(s == "abc" && s.capacity() == 3 && failalloc::requests() == requests);
}

// A move hands the block over and leaves the empty string; it cannot fail.
TEST(moves_take_the_block_and_leave_the_empty_string) {
  std::string a("a string"), c("old");
  const char* block = a.c_str();
  const unsigned requests = failalloc::requests();
  failalloc::fail_all();
  std::string b(static_cast<std::string&&>(a));
  const bool constructed = b.c_str() == block && b == "a string" && empty_without_block(a);
  c = static_cast<std::string&&>(b);
  const bool assigned = c.c_str() == block && c.capacity() == 8 && empty_without_block(b);
  c = static_cast<std::string&&>(c);
  failalloc::disarm();
  EXPECT(constructed && assigned && c.c_str() == block && c == "a string");
  EXPECT(failalloc::requests() == requests);
}

FAILURE_TEST(failed_allocation_gives_empty_strings_and_undone_growth) {
  std::string source("source"), assigned("old"), grown("abc"), empty;
  failalloc::fail_all();
  std::string copy(source), text("abc"), fill(3, 'x'), sub(source, 1, 2);
  assigned.assign(source, 1, 3);
  grown.reserve(100);
  grown.append("defg").push_back('d');
  grown += grown;
  std::string::iterator it = grown.insert(grown.begin(), 'x');
  empty.push_back('x');
  failalloc::disarm();
  EXPECT(empty_without_block(copy) && empty_without_block(text) && empty_without_block(fill));
  EXPECT(empty_without_block(sub) && empty_without_block(assigned) && empty_without_block(empty));
  EXPECT(grown == "abc" && grown.size() == 3 && grown.capacity() == 3 && it != grown.begin());
}

}  // namespace

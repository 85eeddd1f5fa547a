// std::string editing, assignment, comparison, access and search.
#include <string>

#include "support/failalloc.h"
#include "support/unit.h"

namespace {

const char* const kNull = 0;
const size_t npos = std::string::npos;

TEST(appending_grows_exactly_and_ignores_reversed_ranges) {
  std::string s, t("str2");
  s.push_back('a');
  s += 'b';
  t.append("str1").append(kNull).append(kNull, 3).append(kNull, 1, 2).append("xyz", size_t(0));
  EXPECT(s == "ab" && s.capacity() == 2 && t == "str2str1" && t.capacity() == 8);
  t.append("a\0b", 3).append("wxyz", 1, 2).append(s.begin(), s.begin() + 1);
  EXPECT(t == std::string("str2str1a\0bxya", 14) && t.capacity() == 14);
#ifndef PLINTH_HARDENED  // where a reversed range stops the program
  const unsigned requests = failalloc::requests();
  s.append(t.end(), t.begin());
  s.append(s.end(), s.begin());
  EXPECT(s == "ab" && s.capacity() == 2 && failalloc::requests() == requests);
#endif
}

// push_back fills spare room in place; at exact capacity it must grow, and a
// refused growth changes nothing.
TEST(push_back_uses_spare_room_and_grows_only_when_full) {
  std::string s;
  s.reserve(3);
  const unsigned requests = failalloc::requests();
  s.push_back('a');
  s += 'b';
  s.push_back('c');
  EXPECT(s == "abc" && s.c_str()[3] == '\0' && s.capacity() == 3);
  EXPECT(failalloc::requests() == requests);
  if (failalloc::active()) {
    failalloc::fail_all();
    s.push_back('d');
    failalloc::disarm();
    EXPECT(s == "abc" && s.size() == 3 && s.capacity() == 3);
  }
  s.push_back('d');
  EXPECT(s == "abcd" && s.capacity() == 4);
}

TEST(insert_and_erase_move_the_tail) {
  std::string s("str1");
  std::string::iterator it = s.insert(s.begin(), 'x');
  EXPECT(it == s.begin() && s == "xstr1" && s.capacity() == 5);
  EXPECT(*s.insert(s.begin() + 2, 'z') == 'z' && *s.insert(s.end(), 'y') == 'y');
#ifndef PLINTH_HARDENED  // where an iterator outside the string stops the program
  std::string::iterator past = s.insert(s.end() + 1, 'q'), before = s.insert(s.begin() - 1, 'q');
  EXPECT(s == "xsztr1y" && past == before && (past < s.begin() || past > s.end()));
#endif
  s.erase(1, 2).erase(5, 1).erase(0, 0);
  EXPECT(s == "xtr1y" && s.capacity() == 7 && s.erase(2) == "xt" && s.capacity() == 7);
}

TEST(assign_copies_exactly_or_changes_nothing) {
  std::string first("first"), s("keep");
  s.assign(first, 1, 10).assign(first, 5, 0).assign(first, 5, npos);
  s.assign(kNull).assign(kNull, 3).assign("abc", 0);
  EXPECT(s == "keep" && s.assign(first, 1, 4) == "irst" && s.capacity() == 4);
  EXPECT(s.assign(first, 2, npos) == "rst" && s.assign(first, 3) == "st" && s.capacity() == 2);
  s = 'c';
  EXPECT(s == "c" && s.capacity() == 1);
  s.reserve(50);
  s = first;
  EXPECT(s == "first" && s.capacity() == 5 && s.assign(first, 1, 0).capacity() == 0);
}

// Each source lies in the target's own block, which the operation replaces
// or moves; AddressSanitizer reports any read of the released block.
TEST(self_reference_behaves_as_a_copy) {
  std::string s("abc");
  const std::string& same = s;
  s = same;
  s.append(same);
  s.append(s.c_str() + 3);
  s += same;
  s.append(s.begin(), s.begin() + 2);
  EXPECT(s == "abcabcabcabcabcabcab" && s.capacity() == 20);
  s.assign(same, 3, 3);
  s = s.c_str() + 1;
  EXPECT(s == "bc" && s.capacity() == 2);
}

// s = s and s.assign(s) keep the block as it is: no copy, no allocation,
// nothing to lose when memory is short.
TEST(self_assignment_changes_nothing_and_never_allocates) {
  std::string s("some text");
  s.reserve(20);
  const char* block = s.c_str();
  const std::string& same = s;
  const unsigned requests = failalloc::requests();
  failalloc::fail_all();
  s = same;
  s.assign(same);
  failalloc::disarm();
  EXPECT(s == "some text" && s.c_str() == block && s.capacity() == 20);
  EXPECT(failalloc::requests() == requests);
}

// The const at() must not write: its dummy is another, constant one.
TEST(const_at_out_of_range_writes_nothing) {
  std::string s("abc");
  const std::string& view = s;
  char& dummy = s.at(5);
  dummy = 'q';
  EXPECT(view.at(5) == 'X' && view.at(3) == 'X' && &view.at(5) != &dummy && dummy == 'q');
}

TEST(ordering_is_length_first_but_c_strings_use_strcmp) {
  std::string str1("str1"), longer("a string"), third("third"), thirs("thirs");
  EXPECT(str1 < longer && str1 <= longer && longer > str1 && longer >= str1 && !(longer < str1));
  EXPECT(str1.compare(longer) == -1 && longer.compare(str1) == 1 && third.compare(third) == 0);
  EXPECT(third < thirs && std::string("\x01") < std::string("\xff") && !(third > third));
  EXPECT(third.compare("fourth") > 0 && third.compare(kNull) == 1);
  std::string nul("ab\0c", 4), same("ab\0c", 4), differs("ab\0d", 4);
  EXPECT(nul == same && nul != differs && nul != std::string("ab"));
  EXPECT(nul == "ab" && "ab" == nul && nul != "abc" && !(nul == kNull) && kNull != nul);
}

TEST(access_and_search_report_positions_dummy_or_npos) {
  std::string s("a string"), empty, third("third"), nul("a\0b", 3);
  char& dummy = s.at(8);
  dummy = 'q';
  EXPECT(&s.at(7) == &s[7] && s[8] == '\0' && static_cast<const std::string&>(s).at(9) == 'X');
  EXPECT(s.find("str") == 2 && s.find("str", 3) == npos && s.find(std::string("ing")) == 5);
  EXPECT(s.find("", 8) == 8 && s.find("", 9) == npos && s.find(kNull) == npos);
  EXPECT(empty.find("a") == npos && s.find('s') == 2 && s.rfind('s', 1) == npos);
  EXPECT(third.find_first_of('i') == 2 && third.find_first_of('i', 3) == npos);
  EXPECT(third.find_last_of('d') == 4 && third.find_last_of('d', 3) == npos);
  EXPECT(third.find_first_not_of('t') == 1 && third.find_last_not_of('d') == 3);
  EXPECT(third.find_last_not_of('t', 0) == npos && empty.find_last_of('x') == npos);
  EXPECT(nul.find_first_of('b') == 2 && nul.find_last_of('\0') == 1 && nul.find("b") == npos);
  // The string needle is matched whole, NULs included; the C string stops at its NUL.
  std::string hay("ab\0c\0d", 6);
  EXPECT(hay.find(std::string("\0c", 2)) == 2 && hay.find(std::string("\0d", 2)) == 4);
  EXPECT(hay.find(std::string("\0e", 2)) == npos && hay.find(std::string("c\0d", 3), 4) == npos);
  EXPECT(hay.find("\0e", 0, 2) == npos && hay.find("c\0d", 0, 3) == 3 && hay.find("x", 6, 0) == 6);
  EXPECT(s.substr(8, 1).empty() && s.substr(2) == "string" && s == "a string");
}

}  // namespace

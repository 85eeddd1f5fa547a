// Type classification, numeric_limits and char_traits<char>.
#include <char_traits>
#include <iterator>
#include <limits>
#include <type_traits>

#include "../common.h"
#include "support/unit.h"

namespace {

enum Colour { kRed = 10, kGreen };
struct Plain {
  int x;
};
struct Box {};
typedef std::__wrapper_iterator<int*, Box> Iterator;

}  // namespace

TEST(integral_constants_carry_their_value) {
  EXPECT(std::true_type::value);
  EXPECT(!std::false_type::value);
  EXPECT((std::integral_constant<int, 7>::value == 7));
}

TEST(is_integral_covers_every_builtin_integer_and_nothing_else) {
  EXPECT(std::is_integral<bool>::value);
  EXPECT(std::is_integral<char>::value);
  EXPECT(std::is_integral<signed char>::value);
  EXPECT(std::is_integral<unsigned char>::value);
  EXPECT(std::is_integral<short>::value);
  EXPECT(std::is_integral<unsigned short>::value);
  EXPECT(std::is_integral<const int>::value);
  EXPECT(std::is_integral<unsigned>::value);
  EXPECT(std::is_integral<long>::value);
  EXPECT(std::is_integral<unsigned long>::value);
  EXPECT(std::is_integral<long long>::value);
  EXPECT(std::is_integral<unsigned long long>::value);
  EXPECT(!std::is_integral<float>::value);
  EXPECT(!std::is_integral<int*>::value);
  EXPECT(!std::is_integral<Colour>::value);
  EXPECT(!std::is_integral<Iterator>::value);
  // The tag is usable for dispatch: a default object converts to the base.
  std::false_type tag = std::is_integral<Iterator>();
  (void)tag;
}

TEST(is_pod_separates_plain_data_from_classes_with_special_members) {
  EXPECT(std::is_pod<int>::value);
  EXPECT(std::is_pod<unsigned short>::value);
  EXPECT(std::is_pod<float>::value);
  EXPECT(std::is_pod<Colour>::value);
  EXPECT(std::is_pod<int*>::value);
  EXPECT(std::is_pod<Plain>::value);
  EXPECT(!std::is_pod<CopyCounter>::value);  // user-written constructors, no destructor
  EXPECT(!std::is_pod<CtorDtorCounter>::value);
  EXPECT(!std::is_pod<B>::value);  // virtual destructor
  EXPECT(!std::is_pod<A<B> >::value);
}

TEST(is_scalar_excludes_enumerations) {
  EXPECT(std::is_scalar<int>::value);
  EXPECT(std::is_scalar<float>::value);
  EXPECT(std::is_scalar<double*>::value);
  EXPECT(!std::is_scalar<Colour>::value);
  EXPECT(!std::is_scalar<Plain>::value);
}

TEST(numeric_limits_of_int) {
  typedef std::numeric_limits<int> L;
  EXPECT(L::is_specialized);
  EXPECT(L::max() == 2147483647);
  EXPECT(L::min() == -2147483647 - 1);
  EXPECT(L::is_signed);
  EXPECT(L::is_integer);
  EXPECT(L::digits == 32);    // the sign bit counts
  EXPECT(L::digits10 == 10);  // the digits of max()
}

TEST(numeric_limits_of_the_other_integers) {
  EXPECT(std::numeric_limits<unsigned short>::max() == 65535);
  EXPECT(std::numeric_limits<unsigned short>::min() == 0);
  EXPECT(!std::numeric_limits<unsigned short>::is_signed);
  EXPECT(std::numeric_limits<signed char>::min() == -128);
  EXPECT(std::numeric_limits<char>::is_signed == (char(-1) < 0));
  EXPECT(std::numeric_limits<long long>::max() == 9223372036854775807LL);
  EXPECT(std::numeric_limits<unsigned long long>::max() == ~0ULL);
  EXPECT(std::numeric_limits<unsigned long long>::digits10 == 20);
  EXPECT(std::numeric_limits<long>::max() == long(~0UL >> 1));
  EXPECT(std::numeric_limits<ptrdiff_t>::max() == ptrdiff_t(size_t(-1) >> 1));
  EXPECT(std::numeric_limits<bool>::max());
  EXPECT(std::numeric_limits<float>::is_specialized && !std::numeric_limits<int*>::is_specialized);
}

TEST(char_traits_compare_and_length) {
  typedef std::char_traits<char> T;
  EXPECT(T::length("") == 0);
  EXPECT(T::length("str1") == 4);
  EXPECT(T::compare(0, 0, 0) == 0);
  EXPECT(T::compare("abc", "abd", 3) < 0);
  EXPECT(T::compare("abc", "abd", 2) == 0);
  EXPECT(T::compare("\x80", "\x01", 1) > 0);  // bytes compare unsigned
  EXPECT(T::lt('\x01', '\x80'));
}

TEST(char_traits_int_type_never_meets_eof) {
  typedef std::char_traits<char> T;
  EXPECT(T::to_int_type('\x80') == 128);
  EXPECT(T::to_int_type('\xFF') == 255);
  EXPECT(!T::eq_int_type(T::to_int_type('\xFF'), T::eof()));
  EXPECT(T::eof() == -1);
  EXPECT(T::not_eof(T::eof()) != T::eof());
  EXPECT(T::not_eof('a') == 'a');
  EXPECT(T::to_char(65) == 'A');
}

TEST(char_traits_bulk_operations) {
  typedef std::char_traits<char> T;
  char buffer[8] = "abcdef";
  EXPECT(T::find(buffer, 6, 'd') == buffer + 3);
  EXPECT(T::find(buffer, 3, 'd') == 0);
  T::move(buffer + 1, buffer, 4);  // overlapping
  EXPECT(T::compare(buffer, "aabcdf", 6) == 0);
  EXPECT(T::copy(buffer, "xyz", 3) == buffer);
  EXPECT(T::compare(buffer, "xyzcdf", 6) == 0);
  T::assign(buffer, 2, 'q');
  EXPECT(T::compare(buffer, "qqzcdf", 6) == 0);
  char c = 'a';
  T::assign(c, 'b');
  EXPECT(T::eq(c, 'b'));
}

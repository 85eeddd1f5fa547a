// -*- C++ -*-
// Integer-to-text conversion shared by the streams and std::to_string:
// the same text as snprintf's %u, %llu, %o and %x, without a format
// string. Each function writes backwards so that the text ends just
// before `end`, and returns where it begins; nothing is terminated.
#ifndef PLINTH___INT_TEXT_H
#define PLINTH___INT_TEXT_H

namespace kestrel {

// Room for any integer of up to 64 bits with its sign or base prefix:
// "-9223372036854775808", "01777777777777777777777", "0x" and 16 digits.
const int __int_text_size = 24;

// Decimal digits, in pairs from a table.
char* __uint_text(char* end, unsigned int val);
char* __uint_text(char* end, unsigned long long val);
// Base 8 or 16 (in capitals when `upper`), without a prefix: shifts only,
// so each width gets its own copy.
template <typename _U>
inline char* __uint_text(char* end, _U val, int base, bool upper) {
  const char* const digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  const int shift = base == 16 ? 4 : 3;
  do {
    *--end = digits[static_cast<unsigned>(val) & static_cast<unsigned>(base - 1)];
    val >>= shift;
  } while (val != 0);
  return end;
}

}  // namespace kestrel

#endif  // PLINTH___INT_TEXT_H

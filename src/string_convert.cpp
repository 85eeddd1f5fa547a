// Number conversions of <string>: std::to_string and the sto* family, in
// an object of their own so that programs that never convert do not link
// the C library's formatting and parsing.
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

namespace {

// A floating-point value in the C library's "%f" form.
template <typename _T>
std::string Fixed(const char* format, _T value) {
  char text[64];
  const int n = snprintf(text, sizeof text, format, value);
  if (n >= 0 && size_t(n) < sizeof text) return std::string(text, size_t(n));
  // Only a double above about 1e60 needs more room than the buffer.
  std::string result(size_t(n), '\0');
  if (result.size() == size_t(n)) snprintf(&result[0], size_t(n) + 1, format, value);
  return result;
}

// Runs one strto* function with errno cleared: a result without digits is
// 0 with *idx = 0; out of range, errno stays ERANGE; otherwise the caller's
// errno comes back.
template <typename _T, typename _Parse>
_T Parse(const std::string& str, size_t* idx, _Parse parse) {
  const int saved = errno;
  errno = 0;
  // An invalid base leaves `end` as it was: no conversion.
  char* end = const_cast<char*>(str.c_str());
  _T value = parse(str.c_str(), &end);
  // An invalid base is no conversion, whatever the end pointer says.
  if (errno == EINVAL) end = const_cast<char*>(str.c_str());
  if (end == str.c_str()) value = 0;
  if (idx != 0) *idx = size_t(end - str.c_str());
  if (errno != ERANGE) errno = saved;
  return value;
}

}  // namespace

namespace std {

string to_string(float value) { return Fixed("%f", double(value)); }
string to_string(double value) { return Fixed("%f", value); }
string to_string(long double value) { return Fixed("%Lf", value); }

// A long that does not fit an int is out of range for stoi as well.
int stoi(const string& str, size_t* idx, int base) {
  const long value = stol(str, idx, base);
  if (value > INT_MAX || value < INT_MIN) {
    errno = ERANGE;
    return value > INT_MAX ? INT_MAX : INT_MIN;
  }
  return int(value);
}

long stol(const string& str, size_t* idx, int base) {
  return Parse<long>(str, idx, [base](const char* p, char** end) { return strtol(p, end, base); });
}

long long stoll(const string& str, size_t* idx, int base) {
  return Parse<long long>(str, idx,
                          [base](const char* p, char** end) { return strtoll(p, end, base); });
}

unsigned long stoul(const string& str, size_t* idx, int base) {
  return Parse<unsigned long>(str, idx,
                              [base](const char* p, char** end) { return strtoul(p, end, base); });
}

unsigned long long stoull(const string& str, size_t* idx, int base) {
  return Parse<unsigned long long>(
      str, idx, [base](const char* p, char** end) { return strtoull(p, end, base); });
}

float stof(const string& str, size_t* idx) { return Parse<float>(str, idx, strtof); }

double stod(const string& str, size_t* idx) { return Parse<double>(str, idx, strtod); }

long double stold(const string& str, size_t* idx) { return Parse<long double>(str, idx, strtold); }

}  // namespace std

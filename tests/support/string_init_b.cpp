// The second unit of the string_init program: see string_init_a.cpp.
#include <string>

std::string gLate;

// The entry point of every unit-test program: runs the registered tests.
#include "unit.h"

int main() { return unit::run_all(); }

// The assertion and reporting layer of the unit tests, the sweeps and the
// fuzzer. TEST(name) registers a test, EXPECT(expr) records a failure with
// its file and line and carries on. The runner (unit_main.cpp) runs the
// tests in the order they are defined and ends with the line
// "N passed, N failed, N skipped"; the exit status is 1 when any test
// failed. The fuzzer has entry points of its own and stops at the first
// failure.
#ifndef PLINTH_TESTS_UNIT_H
#define PLINTH_TESTS_UNIT_H

namespace unit {

typedef void (*TestFn)();

struct Registrar {
  Registrar(const char* name, TestFn fn);
};

void fail(const char* file, int line, const char* text);

// Marks the running test as skipped (for example: allocation failure cannot
// be injected under valgrind or a sanitizer).
void skip(const char* why);

// Says where a failure happened (the sweep's operation and refused
// allocation, the fuzzer's step): called on stderr before each failure line
// until replaced; 0 for none.
typedef void (*Context)();
void set_context(Context context);

// From now on the first failure ends the program (abort): for the fuzzer,
// whose later checks rely on the earlier ones, and whose fuzzing engine
// keeps the input that made the program crash.
void abort_on_failure();

// Runs every registered test and prints the summary line; returns the exit
// status.
int run_all();

}  // namespace unit

#define TEST(name)                                            \
  static void name();                                         \
  static const unit::Registrar name##_registrar(#name, name); \
  static void name()

#define EXPECT(expr) ((expr) ? (void)0 : unit::fail(__FILE__, __LINE__, #expr))

#endif  // PLINTH_TESTS_UNIT_H

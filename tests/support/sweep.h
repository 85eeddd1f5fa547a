// Allocation-failure sweeps. A case names one operation, the outcome its
// failure must have, and a fixture that builds the objects it works on. The
// driver runs the case once without failure (the reference), then again and
// again with the 1st, 2nd, ... allocation of the operation refused, until a
// run meets no failure. After every run it checks the invariants; after a
// failure the documented outcome; after a success the reference result; and,
// once the fixture is gone, that every block was freed and every element
// constructed was destroyed.
#ifndef PLINTH_TESTS_SWEEP_H
#define PLINTH_TESTS_SWEEP_H

#include <stdio.h>

#include <string>
#include <utility>
#include <vector>

#include "support/checks.h"

namespace sweep {

using unit::Snapshot;

enum Outcome {
  kUnchanged,  // the object is exactly as before: block, size, capacity, contents
  kRefused,    // unchanged, and the result says so (reserve's false, insert's dummy)
  kEmptied,    // empty without a block (constructors, the string assign family)
};

// The invariants: a terminated buffer, size <= capacity, and the shared
// empty buffer exactly when the capacity is 0; a vector without a block has
// neither size nor capacity, and its elements are aligned for their type.
inline bool sound(int) { return true; }
inline bool sound(const CtorDtorCounter&) { return true; }
inline bool sound(const std::string& s) {
  return s.c_str()[s.size()] == '\0' && s.size() <= s.capacity() &&
         (s.capacity() == 0) == (s.c_str() == unit::shared_empty_buffer());
}
template <typename _T1, typename _T2>
bool sound(const std::pair<_T1, _T2>& p) {
  return sound(p.first) && sound(p.second);
}
template <typename _T>
bool sound(const std::vector<_T>& v) {
  const _T* block = v.begin().base();
  if (v.size() > v.capacity() || (block == 0 && v.capacity() != 0)) return false;
  if (reinterpret_cast<size_t>(block) % alignof(_T) != 0) return false;
  for (size_t i = 0; i < v.size(); ++i)
    if (!sound(v[i])) return false;
  return true;
}

// One run of a case: arms the failure around the operation and checks what
// it left.
class Probe {
 public:
  // fail_at 0 is the reference run, whose result later successes must equal.
  Probe(const char* name, unsigned fail_at, const Snapshot* reference)
      : mName(name), mFailAt(fail_at), mFailed(false), mReference(reference), mResult() {}

  // `operate` returns what the operation's result claims: true for success
  // (and for operations whose result says nothing).
  template <typename _Object, typename _Operate>
  void run(_Object& object, Outcome outcome, _Operate operate) {
    const Snapshot before = unit::snapshot(object);
    const unit::FailedAllocation failure(mFailAt);
    const bool claimed = operate();
    mFailed = failure.end();
    const Snapshot after = unit::snapshot(object);
    expect(sound(object), "the invariants hold");
    if (!mFailed) {
      expect(claimed, "a success is reported as one");
      if (mReference != 0)
        expect(after.same_content(*mReference), "the same result as without failure");
      mResult = after;
    } else if (outcome == kEmptied) {
      expect(unit::empty_without_block(object), "empty without a block");
    } else {
      expect(after == before, "unchanged");
      if (outcome == kRefused) expect(!claimed, "the failure is reported");
    }
  }

  void expect(bool ok, const char* what) const {
    if (ok) return;
    fprintf(stderr, "%s, allocation %u refused: ", mName, mFailAt);
    unit::fail(__FILE__, __LINE__, what);
  }

  bool failed() const { return mFailed; }
  const Snapshot& result() const { return mResult; }

 private:
  const char* mName;
  unsigned mFailAt;
  bool mFailed;
  const Snapshot* mReference;
  Snapshot mResult;
};

// One allocating operation. The fixture owns the objects; target() is the
// one the outcome is about.
template <typename _Fixture>
struct Case {
  typedef bool (*Operate)(_Fixture&);  // returns what the result claims
  const char* mName;
  Outcome mOutcome;
  Operate mOperate;
};

template <typename _Fixture>
void attempt(const Case<_Fixture>& c, Probe& probe) {
  _Fixture fixture;
  probe.run(fixture.target(), c.mOutcome, [&] { return c.mOperate(fixture); });
}

// Returns the number of failure points the case met.
template <typename _Fixture>
unsigned sweep_case(const Case<_Fixture>& c) {
  const unsigned kLimit = 1000;
  Probe reference(c.mName, 0, 0);
  attempt(c, reference);
  unsigned n = 1;
  for (; n < kLimit; ++n) {
    const long blocks = failalloc::live_blocks();
    CtorDtorCounter::reset();
    Probe probe(c.mName, n, &reference.result());
    attempt(c, probe);
    probe.expect(failalloc::live_blocks() == blocks, "every block freed");
    probe.expect(CtorDtorCounter::mCtorCount + CtorDtorCounter::mCopyCtorCount ==
                     CtorDtorCounter::mDtorCount,
                 "every element destroyed");
    if (!probe.failed()) break;
  }
  reference.expect(n > 1 && n < kLimit, "the operation allocates, and finally succeeds");
  return n - 1;
}

// Sweeps every case of a table; returns the (operation, failure point)
// pairs exercised.
template <typename _Fixture>
unsigned sweep_all(const Case<_Fixture>* cases, size_t count) {
  unsigned pairs = 0;
  for (size_t i = 0; i < count; ++i) pairs += sweep_case(cases[i]);
  return pairs;
}

template <typename _Fixture, size_t _N>
unsigned sweep_all(const Case<_Fixture> (&cases)[_N]) {
  return sweep_all(cases, _N);
}

template <typename _T, size_t _N>
size_t count_of(const _T (&)[_N]) {
  return _N;
}

}  // namespace sweep

#endif  // PLINTH_TESTS_SWEEP_H

// Every allocating operation of std::vector, for plain data, a counted class
// and std::string elements, with each allocation refused in turn
// (support/sweep.h). Constructors give no block; reserve reports false and,
// like push_back, resize and copy assignment, leaves the vector unchanged; a
// string element whose copy ran out of memory fails the operation too.
#include <string>
#include <vector>

#include "support/sweep.h"

namespace {

using sweep::Case;
using sweep::kEmptied;
using sweep::kRefused;
using sweep::kUnchanged;

template <typename _T>
_T make(int i);
template <>
int make<int>(int i) {
  return i;
}
template <>
CtorDtorCounter make<CtorDtorCounter>(int) {
  return CtorDtorCounter();
}
template <>
std::string make<std::string>(int i) {
  return std::string(size_t(5 + i), char('a' + i));
}

// The target is full (capacity == size), so any growth allocates.
template <typename _T>
struct Vectors {
  Vectors() : mTarget(4, make<_T>(1)), mSource(3, make<_T>(2)) {}
  std::vector<_T>& target() { return mTarget; }
  // A constructor's result replaces the target.
  bool adopt(std::vector<_T>& made) {
    mTarget.swap(made);
    return true;
  }
  std::vector<_T> mTarget;
  std::vector<_T> mSource;
};

// Room to spare: shrinking allocates; filling the room copies elements.
template <typename _T>
struct RoomyVectors : Vectors<_T> {
  RoomyVectors() { this->mTarget.reserve(8); }
};

template <typename _T>
struct Tables {
  typedef Vectors<_T> Full;
  typedef RoomyVectors<_T> Roomy;

  static const Case<Full>* growth(size_t& count) {
    static const Case<Full> kCases[] = {
        {"vector(n)", kEmptied,
         [](Full& f) {
           std::vector<_T> made(5);
           return f.adopt(made);
         }},
        {"vector(n, value)", kEmptied,
         [](Full& f) {
           std::vector<_T> made(5, f.mSource[0]);
           return f.adopt(made);
         }},
        {"vector(iterator, iterator)", kEmptied,
         [](Full& f) {
           std::vector<_T> made(f.mSource.begin(), f.mSource.end());
           return f.adopt(made);
         }},
        {"vector(const_iterator, const_iterator)", kEmptied,
         [](Full& f) {
           const std::vector<_T>& source = f.mSource;
           std::vector<_T> made(source.begin() + 1, source.end());
           return f.adopt(made);
         }},
        {"vector(const vector&)", kEmptied,
         [](Full& f) {
           std::vector<_T> made(f.mSource);
           return f.adopt(made);
         }},
        {"operator=", kUnchanged, [](Full& f) { return &(f.mTarget = f.mSource) == &f.mTarget; }},
        {"reserve, growing", kRefused, [](Full& f) { return f.mTarget.reserve(10); }},
        {"reserve(capacity), rebuilding", kRefused, [](Full& f) { return f.mTarget.reserve(4); }},
        {"push_back", kUnchanged,
         [](Full& f) {
           f.mTarget.push_back(f.mSource[0]);
           return true;
         }},
        {"push_back(own element)", kUnchanged,
         [](Full& f) {
           f.mTarget.push_back(f.mTarget[1]);
           return true;
         }},
        {"resize(n, value), growing", kUnchanged,
         [](Full& f) {
           f.mTarget.resize(9, f.mSource[0]);
           return true;
         }},
        {"resize(n), growing", kUnchanged,
         [](Full& f) {
           f.mTarget.resize(9);
           return true;
         }},
    };
    count = sizeof kCases / sizeof kCases[0];
    return kCases;
  }

  static const Case<Roomy>* shrinking(size_t& count) {
    static const Case<Roomy> kCases[] = {
        {"reserve(0), shrinking", kRefused, [](Roomy& f) { return f.mTarget.reserve(0); }},
        {"reserve(n), shrinking", kRefused, [](Roomy& f) { return f.mTarget.reserve(6); }},
    };
    count = sizeof kCases / sizeof kCases[0];
    return kCases;
  }
};

// Within the capacity only element copies allocate: strings.
const Case<RoomyVectors<std::string> > kStringCopyCases[] = {
    {"push_back, string element, room to spare", kUnchanged,
     [](RoomyVectors<std::string>& f) {
       f.mTarget.push_back(f.mSource[0]);
       return true;
     }},
    {"resize(n, value), string elements, room to spare", kUnchanged,
     [](RoomyVectors<std::string>& f) {
       f.mTarget.resize(7, f.mSource[0]);
       return true;
     }},
};

// Two ints are a count and a value.
const Case<Vectors<int> > kIntegralCases[] = {
    {"vector(int, int)", kEmptied,
     [](Vectors<int>& f) {
       std::vector<int> made(5, 7);
       return f.adopt(made);
     }},
};

template <typename _T>
unsigned sweep_type(size_t& operations) {
  size_t growing = 0, shrinking = 0;
  const Case<Vectors<_T> >* grow = Tables<_T>::growth(growing);
  const Case<RoomyVectors<_T> >* shrink = Tables<_T>::shrinking(shrinking);
  operations += growing + shrinking;
  return sweep::sweep_all(grow, growing) + sweep::sweep_all(shrink, shrinking);
}

TEST(every_allocation_of_every_vector_operation_can_fail) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  size_t ints = sweep::count_of(kIntegralCases), counters = 0;
  size_t strings = sweep::count_of(kStringCopyCases);
  const unsigned int_pairs = sweep_type<int>(ints) + sweep::sweep_all(kIntegralCases);
  const unsigned counter_pairs = sweep_type<CtorDtorCounter>(counters);
  const unsigned string_pairs =
      sweep_type<std::string>(strings) + sweep::sweep_all(kStringCopyCases);
  printf(
      "vector sweep: %u (operation, failure point) pairs: int %u/%zu operations, "
      "CtorDtorCounter %u/%zu, std::string %u/%zu\n",
      int_pairs + counter_pairs + string_pairs, int_pairs, ints, counter_pairs, counters,
      string_pairs, strings);
}

}  // namespace

// Every allocating operation of std::vector, for plain data, a counted class,
// std::string, nested vectors, pairs holding a string and an over-aligned
// type, with each allocation refused in turn (support/sweep.h). Constructors give no block; reserve
// reports false and, like push_back, resize and copy assignment, leaves the
// vector unchanged; an element (string or inner vector) whose copy ran out of
// memory fails the operation too.
#include <string>
#include <utility>
#include <vector>

#include "support/sweep.h"

namespace {

using sweep::Case;
using sweep::kEmptied;
using sweep::kRefused;
using sweep::kUnchanged;

// Over-aligned plain data: its blocks are aligned by hand and grow by
// allocate, copy and free (sweep::sound checks the alignment).
struct Wide {
  alignas(64) int mValue;
};
unsigned long digest_of(const Wide& w) { return unsigned(w.mValue); }
bool sound(const Wide&) { return true; }

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
template <>
Wide make<Wide>(int i) {
  const Wide w = {i};
  return w;
}
template <>
std::vector<int> make<std::vector<int> >(int i) {
  return std::vector<int>(size_t(2 + i), i);
}
template <>
std::vector<std::string> make<std::vector<std::string> >(int i) {
  return std::vector<std::string>(size_t(1 + i), make<std::string>(i));
}
// Relocatable through its members; a string member whose copy ran out of
// memory fails the pair's copy (a const member is checked as a string).
typedef std::pair<const std::string, int> Entry;
template <>
Entry make<Entry>(int i) {
  return Entry(make<std::string>(i), i);
}

// Whether an insert succeeded: its answer is not end(), read afterwards.
template <typename _T>
bool inserted(std::vector<_T>& v, typename std::vector<_T>::iterator result) {
  return result != v.end();
}

// The target is full (capacity == size), so any growth allocates.
template <typename _T>
struct Vectors {
  Vectors() : mTarget(4, make<_T>(1)), mSource(3, make<_T>(2)), mSpare(make<_T>(3)) {}
  std::vector<_T>& target() { return mTarget; }
  // A constructor's result replaces the target.
  bool adopt(std::vector<_T>& made) {
    mTarget.swap(made);
    return true;
  }
  std::vector<_T> mTarget;
  std::vector<_T> mSource;
  _T mSpare;  // moved from by the operations that take an rvalue
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
        {"push_back(T&&)", kUnchanged,
         [](Full& f) {
           f.mTarget.push_back(std::move(f.mSpare));
           return true;
         }},
        {"emplace_back(own element)", kUnchanged,
         [](Full& f) {
           f.mTarget.emplace_back(f.mTarget[3]);
           return true;
         }},
        {"assign(n, value)", kUnchanged,
         [](Full& f) {
           f.mTarget.assign(5, f.mSource[0]);
           return true;
         }},
        {"assign(own range)", kUnchanged,
         [](Full& f) {
           f.mTarget.assign(f.mTarget.begin() + 1, f.mTarget.end());
           return true;
         }},
        {"insert(pos, own element)", kRefused,
         [](Full& f) {
           return inserted(f.mTarget, f.mTarget.insert(f.mTarget.begin(), f.mTarget[2]));
         }},
        {"insert(pos, n, value)", kRefused,
         [](Full& f) {
           return inserted(f.mTarget, f.mTarget.insert(f.mTarget.begin() + 2, 3, f.mSource[0]));
         }},
        {"insert(pos, own range)", kRefused,
         [](Full& f) {
           return inserted(f.mTarget, f.mTarget.insert(f.mTarget.begin() + 1, f.mTarget.begin(),
                                                       f.mTarget.end()));
         }},
        {"emplace(pos, T&&)", kRefused,
         [](Full& f) {
           return inserted(f.mTarget,
                           f.mTarget.emplace(f.mTarget.begin() + 1, std::move(f.mSpare)));
         }},
    };
    count = sizeof kCases / sizeof kCases[0];
    return kCases;
  }

  static const Case<Roomy>* shrinking(size_t& count) {
    static const Case<Roomy> kCases[] = {
        {"reserve(0), shrinking", kRefused, [](Roomy& f) { return f.mTarget.reserve(0); }},
        {"reserve(n), shrinking", kRefused, [](Roomy& f) { return f.mTarget.reserve(6); }},
        {"shrink_to_fit", kUnchanged,
         [](Roomy& f) {
           f.mTarget.shrink_to_fit();
           return true;
         }},
        {"insert(pos, value), room to spare", kRefused,
         [](Roomy& f) {
           return inserted(f.mTarget, f.mTarget.insert(f.mTarget.begin() + 1, f.mSource[0]));
         }},
    };
    // Plain data inserts into room without memory: the last case is not theirs.
    count = sizeof kCases / sizeof kCases[0] - (std::is_pod<_T>::value ? 1 : 0);
    return kCases;
  }
};

// Within the capacity only element copies allocate: strings and vectors.
template <typename _T>
struct CopyCases {
  static const Case<RoomyVectors<_T> > kCases[4];
};

template <typename _T>
const Case<RoomyVectors<_T> > CopyCases<_T>::kCases[4] = {
    {"push_back, allocating element, room to spare", kUnchanged,
     [](RoomyVectors<_T>& f) {
       f.mTarget.push_back(f.mSource[0]);
       return true;
     }},
    {"resize(n, value), allocating elements, room to spare", kUnchanged,
     [](RoomyVectors<_T>& f) {
       f.mTarget.resize(7, f.mSource[0]);
       return true;
     }},
    {"emplace_back, allocating element, room to spare", kUnchanged,
     [](RoomyVectors<_T>& f) {
       f.mTarget.emplace_back(f.mSource[0]);
       return true;
     }},
    {"insert(end(), n, value), allocating elements, room to spare", kRefused,
     [](RoomyVectors<_T>& f) {
       const size_t size = f.mTarget.size();
       f.mTarget.insert(f.mTarget.end(), 2, f.mSource[0]);
       return f.mTarget.size() == size + 2;
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

// Every table for one type; copies_allocate adds the cases within capacity.
template <typename _T>
unsigned sweep_all_of(size_t& operations, bool copies_allocate) {
  unsigned pairs = sweep_type<_T>(operations);
  if (copies_allocate) {
    operations += sweep::count_of(CopyCases<_T>::kCases);
    pairs += sweep::sweep_all(CopyCases<_T>::kCases);
  }
  return pairs;
}

TEST(every_allocation_of_every_vector_operation_can_fail) {
  if (!failalloc::active()) return unit::skip("allocation failure cannot be injected");
  size_t ops[7] = {sweep::count_of(kIntegralCases), 0, 0, 0, 0, 0, 0};
  const unsigned pairs[7] = {
      sweep_all_of<int>(ops[0], false) + sweep::sweep_all(kIntegralCases),
      sweep_all_of<CtorDtorCounter>(ops[1], false),
      sweep_all_of<std::string>(ops[2], true),
      sweep_all_of<Wide>(ops[3], false),
      sweep_all_of<std::vector<int> >(ops[4], true),
      sweep_all_of<std::vector<std::string> >(ops[5], true),
      sweep_all_of<Entry>(ops[6], true),
  };
  printf(
      "vector sweep: %u (operation, failure point) pairs: int %u/%zu operations, "
      "CtorDtorCounter %u/%zu, std::string %u/%zu, over-aligned %u/%zu, vector<int> %u/%zu, "
      "vector<string> %u/%zu, pair<const string, int> %u/%zu\n",
      pairs[0] + pairs[1] + pairs[2] + pairs[3] + pairs[4] + pairs[5] + pairs[6], pairs[0], ops[0],
      pairs[1], ops[1], pairs[2], ops[2], pairs[3], ops[3], pairs[4], ops[4], pairs[5], ops[5],
      pairs[6], ops[6]);
}

}  // namespace

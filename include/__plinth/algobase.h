// -*- C++ -*-
// The core of <algorithm>: copy, copy_backward, fill, fill_n, min, max,
// equal and lexicographical_compare, with std::swap from <utility>. Light
// enough for a container that needs one of them to include it instead of
// <algorithm> (today's containers need none of them).
#ifndef PLINTH_ALGOBASE_H
#define PLINTH_ALGOBASE_H

#include <iterator>
#include <type_traits>
#include <utility>

namespace std {

// Container iterators are unwrapped to the pointers they hold, so that one
// loop serves a container's iterators and raw pointers alike.
template <typename _Iterator>
auto __unwrap(_Iterator it)
    -> decltype(kestrel::iter<_Iterator, __is_wrapper_iterator<_Iterator>::value>::base(it)) {
  return kestrel::iter<_Iterator, __is_wrapper_iterator<_Iterator>::value>::base(it);
}

// Element loop for any category: one assignment per element, front to back.
template <typename _IteratorTag>
struct copy_move {
  template <typename _InputIterator, typename _OutputIterator>
  static _OutputIterator __copy_move(_InputIterator first, _InputIterator last,
                                     _OutputIterator res) {
    for (; first != last; ++first, ++res) *res = *first;
    return res;
  }
};

// Counted loop. Front to back, so it is correct when the destination starts
// before the source in the same array (how erase moves a tail down); a
// reversed range copies nothing.
template <>
struct copy_move<random_access_iterator_tag> {
  template <typename _InputIterator, typename _OutputIterator>
  static _OutputIterator __copy_move(_InputIterator first, _InputIterator last,
                                     _OutputIterator res) {
    typedef typename iterator_traits<_InputIterator>::difference_type difference_type;
    for (difference_type n = last - first; n > 0; --n, ++first, ++res) *res = *first;
    return res;
  }
};

template <typename _InputIterator, typename _OutputIterator>
_OutputIterator copy(_InputIterator first, _InputIterator last, _OutputIterator res) {
  typedef typename iterator_traits<_InputIterator>::iterator_category category;
  return copy_move<category>::__copy_move(__unwrap(first), __unwrap(last), res);
}

// Back to front, so the destination may end after the source's end in the
// same array (how an insertion opens a gap); a reversed range copies nothing.
template <typename _BidirectionalIterator1, typename _BidirectionalIterator2>
_BidirectionalIterator2 copy_backward(_BidirectionalIterator1 first, _BidirectionalIterator1 last,
                                      _BidirectionalIterator2 res) {
  typedef typename iterator_traits<_BidirectionalIterator1>::difference_type difference_type;
  for (difference_type n = std::distance(first, last); n > 0; --n) *--res = *--last;
  return res;
}

// How a fill holds its value: a plain value is read once into a parameter
// (the loop keeps it in a register, and it keeps its value even when it is an
// element of the range); a class value is read through its reference.
template <typename _T, bool = is_scalar<_T>::value>
struct __fill_value {
  typedef const _T& type;
};

template <typename _T>
struct __fill_value<_T, true> {
  typedef _T type;
};

template <typename _OutputIterator, typename _Size, typename _Value>
_OutputIterator __fill_n(_OutputIterator first, _Size n, _Value value) {
  for (; n > 0; --n, ++first) *first = value;
  return first;
}

template <typename _ForwardIterator, typename _Value>
void __fill(_ForwardIterator first, _ForwardIterator last, _Value value, forward_iterator_tag) {
  for (; first != last; ++first) *first = value;
}

// Counted, so a reversed range is treated as empty.
template <typename _RandomAccessIterator, typename _Value>
void __fill(_RandomAccessIterator first, _RandomAccessIterator last, _Value value,
            random_access_iterator_tag) {
  __fill_n<_RandomAccessIterator, typename iterator_traits<_RandomAccessIterator>::difference_type,
           _Value>(first, last - first, value);
}

template <typename _ForwardIterator, typename _T>
void fill(_ForwardIterator first, _ForwardIterator last, const _T& value) {
  typedef typename __fill_value<_T>::type value_type;
  __fill<decltype(__unwrap(first)), value_type>(__unwrap(first), __unwrap(last), value,
                                                kestrel::iterator_category(first));
}

// A count of zero or less assigns nothing and returns first.
template <typename _OutputIterator, typename _Size, typename _T>
_OutputIterator fill_n(_OutputIterator first, _Size n, const _T& value) {
  return __fill_n<_OutputIterator, _Size, typename __fill_value<_T>::type>(first, n, value);
}

template <typename _T>
const _T& min(const _T& left, const _T& right) {
  return right < left ? right : left;
}

template <typename _T, typename _Compare>
const _T& min(const _T& left, const _T& right, _Compare comp) {
  return comp(right, left) ? right : left;
}

template <typename _T>
const _T& max(const _T& left, const _T& right) {
  return left < right ? right : left;
}

template <typename _T, typename _Compare>
const _T& max(const _T& left, const _T& right, _Compare comp) {
  return comp(left, right) ? right : left;
}

// The orderings and equality the algorithms use when none is given.
struct __less {
  template <typename _T, typename _U>
  bool operator()(const _T& left, const _U& right) const {
    return left < right;
  }
};

struct __equal_to {
  template <typename _T, typename _U>
  bool operator()(const _T& left, const _U& right) const {
    return left == right;
  }
};

template <typename _InputIterator1, typename _InputIterator2, typename _BinaryPredicate>
bool equal(_InputIterator1 first1, _InputIterator1 last1, _InputIterator2 first2,
           _BinaryPredicate pred) {
  for (; first1 != last1; ++first1, ++first2)
    if (!pred(*first1, *first2)) return false;
  return true;
}

template <typename _InputIterator1, typename _InputIterator2>
bool equal(_InputIterator1 first1, _InputIterator1 last1, _InputIterator2 first2) {
  return std::equal(first1, last1, first2, __equal_to());
}

// Dictionary order: the first pair that differs decides, and a proper
// prefix orders first.
template <typename _InputIterator1, typename _InputIterator2, typename _Compare>
bool lexicographical_compare(_InputIterator1 first1, _InputIterator1 last1, _InputIterator2 first2,
                             _InputIterator2 last2, _Compare comp) {
  for (; first2 != last2; ++first1, ++first2) {
    if (first1 == last1 || comp(*first1, *first2)) return true;
    if (comp(*first2, *first1)) return false;
  }
  return false;
}

template <typename _InputIterator1, typename _InputIterator2>
bool lexicographical_compare(_InputIterator1 first1, _InputIterator1 last1, _InputIterator2 first2,
                             _InputIterator2 last2) {
  return std::lexicographical_compare(first1, last1, first2, last2, __less());
}

}  // namespace std

#endif  // PLINTH_ALGOBASE_H

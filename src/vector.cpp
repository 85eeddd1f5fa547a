// std::vector's growth policy, compiled once here rather than in every unit
// that grows a vector: see vector::grow().
#include <vector>

namespace kestrel {

size_t __grown_capacity(size_t capacity, size_t length, size_t num, size_t max, size_t factor,
                        size_t limit, size_t increment) {
  if (num <= capacity - length) return capacity;
  if (num > max - length) return 0;
  size_t grown;
  if (capacity > limit) {
    grown = capacity + increment;
  } else if (capacity != 0) {
    grown = capacity * factor;
  } else {
    grown = factor;  // as if grown from one slot
  }
  if (grown < capacity || grown > max) grown = max;
  return grown < length + num ? length + num : grown;
}

}  // namespace kestrel

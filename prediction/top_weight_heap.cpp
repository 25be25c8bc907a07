#include "prediction/top_weight_heap.h"

#include <bit>
#include <utility>

namespace tessary {

size_t TopWeightHeap::Partner(size_t n) {
  const int h = std::bit_width(n) - 1;  // the highest set bit
  return n ^ (size_t{1} << (h - 1));
}

bool TopWeightHeap::InMaxHalf(size_t n) {
  const int h = std::bit_width(n) - 1;
  return (n >> (h - 1) & 1) != 0;
}

void TopWeightHeap::Place(size_t n, DictEntry entry) {
  slots_[n] = std::move(entry);
  if (next_ <= 3) return;  // one entry
  size_t j = Partner(n);
  const bool max = InMaxHalf(n);
  if (max && InUse(2 * j)) {
    // The heaviest of the partner and its children: two tests one after the other, so a
    // heavier second child is found also when the first is as heavy as the partner.
    const size_t c = 2 * j;
    if (W(j) < W(c)) j = c;
    if (InUse(c + 1) && W(c) < W(c + 1)) j = c + 1;
  } else if (!max && !InUse(j)) {
    j /= 2;
  }
  size_t s = n;
  if ((max && !(W(n) > W(j))) || (!max && W(j) < W(n))) {
    std::swap(slots_[n], slots_[j]);
    s = j;
  }
  while (s > 3) {
    const size_t p = s / 2;
    const bool exchange = InMaxHalf(s) ? !(W(s) < W(p)) : W(s) < W(p);
    if (!exchange) break;
    std::swap(slots_[s], slots_[p]);
    s = p;
  }
}

void TopWeightHeap::Insert(const DictEntry& entry) {
  if (full()) return;
  ++next_;
  Place(next_ - 1, entry);
}

void TopWeightHeap::DeleteMin() {
  if (empty()) return;
  size_t hole = 2;
  if (size() >= 3) {
    do {
      size_t c = 2 * hole;
      if (InUse(c + 1) && W(c + 1) < W(c)) ++c;
      slots_[hole] = slots_[c];
      hole = c;
    } while (2 * hole < next_);
  }
  --next_;
  Place(hole, std::move(slots_[next_]));
}

void TopWeightHeap::DeleteMax() {
  if (empty()) return;
  if (size() <= 2) {
    --next_;
    return;
  }
  size_t hole = 3;
  if (size() >= 5) {
    do {
      size_t c = 2 * hole;
      if (InUse(c + 1) && W(c) < W(c + 1)) ++c;
      slots_[hole] = slots_[c];
      hole = c;
    } while (2 * hole < next_);
  }
  --next_;
  Place(hole == next_ ? hole / 2 : hole, std::move(slots_[next_]));
}

}  // namespace tessary

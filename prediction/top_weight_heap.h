#pragma once
// A double-ended heap (deap) of dictionary entries by weight: the min half under slot 2,
// the max half under slot 3, the children of slot s at 2s and 2s + 1. Its exchanges on
// equal weights fix the order in which words of equal weight are offered.
#include <cstdint>
#include <string>
#include <vector>

namespace tessary {

struct DictEntry {
  std::string jamo;     // JamoCode
  uint32_t weight = 0;  // larger ranks first; user words 0xFFFFFFFF
  bool operator==(const DictEntry&) const = default;
};

class TopWeightHeap {
 public:
  // The storage for `capacity` entries is allocated here, once.
  explicit TopWeightHeap(size_t capacity) : slots_(capacity + 2), next_(2) {}

  size_t size() const { return next_ - 2; }
  bool empty() const { return next_ == 2; }
  bool full() const { return next_ == slots_.size(); }
  // The lightest and heaviest entries; the heap must not be empty.
  const DictEntry& Min() const { return slots_[2]; }
  const DictEntry& Max() const { return size() >= 2 ? slots_[3] : slots_[2]; }

  void Insert(const DictEntry& entry);  // the heap must not be full
  void DeleteMin();
  void DeleteMax();

  // Slot n's entry, for tests of the layout (2 <= n < size() + 2).
  const DictEntry& Slot(size_t n) const { return slots_[n]; }

 private:
  static size_t Partner(size_t n);
  static bool InMaxHalf(size_t n);
  uint32_t W(size_t n) const { return slots_[n].weight; }
  bool InUse(size_t n) const { return n < next_; }
  void Place(size_t n, DictEntry entry);

  std::vector<DictEntry> slots_;
  size_t next_;
};

}  // namespace tessary

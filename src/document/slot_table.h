#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <vector>

namespace tellwright {

namespace slot_table {

// What both kinds of table share: an index outside the table is a
// programming error, and a slot never written reads as this value.
inline void CheckIndex(int index, int capacity) {
  if (index < 0 || index >= capacity) throw std::out_of_range("slot index outside the table");
}
template <typename T>
const T& Empty() {
  static const T kEmpty{};
  return kEmpty;
}

}  // namespace slot_table

// A table of `Capacity` numbered slots. Only the slots up to the highest one
// ever written are stored; every other slot reads as a default-constructed
// (empty) value. This keeps the documented slot rules while an empty document
// costs almost nothing.
template <typename T, int Capacity>
class SlotTable {
 public:
  static constexpr int kCapacity = Capacity;

  // Reads slot `index`; slots that were never written read as empty.
  const T& operator[](int index) const {
    checkIndex(index);
    if (index < static_cast<int>(items_.size())) return items_[index];
    return empty();
  }

  // Gives write access to slot `index`, storing it (and the ones before it)
  // on first use. Storing a higher slot may move the stored ones, so a
  // reference from slot() is good only until the next slot() call. Callers validate indexes; an index outside the table is a
  // programming error and throws std::out_of_range.
  T& slot(int index) {
    checkIndex(index);
    int size = static_cast<int>(items_.size());
    if (index == size) return items_.emplace_back();  // filling in order, as the readers do
    if (index > size) items_.resize(index + 1);
    return items_[index];
  }

  // Number of slots actually stored; slots from here on are empty.
  int stored() const { return static_cast<int>(items_.size()); }

  void reserve(int count) { items_.reserve(count); }

  // Slots in use up to the last one that is not empty.
  int used() const {
    int n = stored();
    while (n > 0 && items_[n - 1] == empty()) --n;
    return n;
  }

  // Replaces the `count` slots from `first` with `items`; the slots after
  // them move along. Slots moved past the end of the table are dropped.
  void splice(int first, int count, const std::vector<T>& items) {
    checkIndex(first);
    if (first + count > stored()) items_.resize(first + count);
    items_.erase(items_.begin() + first, items_.begin() + first + count);
    items_.insert(items_.begin() + first, items.begin(), items.end());
    if (stored() > Capacity) items_.resize(Capacity);
    items_.resize(used());
  }

  // Resets every slot to empty.
  void clear() {
    items_.clear();
    items_.shrink_to_fit();
  }

  friend bool operator==(const SlotTable& a, const SlotTable& b) {
    int n = std::max(a.stored(), b.stored());
    for (int i = 0; i < n; ++i)
      if (!(a[i] == b[i])) return false;
    return true;
  }

 private:
  static void checkIndex(int index) { slot_table::CheckIndex(index, Capacity); }
  static const T& empty() { return slot_table::Empty<T>(); }

  std::vector<T> items_;
};

// A SlotTable whose slots are shared between copies until written: copying
// the table copies a pointer per stored slot, and slot() gives a slot of its
// own (a copy of the shared one) before it is written. Copies can go to
// other threads while this one goes on writing its own.
//
// A reference from operator[] reads what the slot held when it was taken:
// after slot() on the same index it may read the slot's old value (which a
// copy of the table still holds) rather than the new one, so take it again
// after writing.
template <typename T, int Capacity>
class SharedSlotTable {
 public:
  static constexpr int kCapacity = Capacity;

  const T& operator[](int index) const {
    checkIndex(index);
    if (index < static_cast<int>(items_.size())) return *items_[index];
    return empty();
  }

  // Write access to slot `index`, stored on first use and made this
  // table's own when another copy shares it. The reference is good until
  // the next slot() call or copy of the table.
  T& slot(int index) {
    checkIndex(index);
    int size = static_cast<int>(items_.size());
    for (; size <= index; ++size) items_.push_back(std::make_shared<T>());
    std::shared_ptr<T>& item = items_[index];
    // A count of one cannot grow behind our back: only a copy of this
    // table, made on this thread, shares the slot.
    if (item.use_count() > 1) item = std::make_shared<T>(*item);
    return *item;
  }

  int stored() const { return static_cast<int>(items_.size()); }
  void reserve(int count) { items_.reserve(count); }

  // Slots in use up to the last one that is not empty.
  int used() const {
    int n = stored();
    while (n > 0 && *items_[n - 1] == empty()) --n;
    return n;
  }

  void clear() {
    items_.clear();
    items_.shrink_to_fit();
  }

  // True when slot `index` of both tables is one shared value: equal
  // without comparing it.
  bool sharesSlot(const SharedSlotTable& other, int index) const {
    return index < stored() && index < other.stored() && items_[index] == other.items_[index];
  }

  friend bool operator==(const SharedSlotTable& a, const SharedSlotTable& b) {
    int n = std::max(a.stored(), b.stored());
    for (int i = 0; i < n; ++i)
      if (!a.sharesSlot(b, i) && !(a[i] == b[i])) return false;
    return true;
  }

 private:
  static void checkIndex(int index) { slot_table::CheckIndex(index, Capacity); }
  static const T& empty() { return slot_table::Empty<T>(); }

  std::vector<std::shared_ptr<T>> items_;
};

}  // namespace tellwright

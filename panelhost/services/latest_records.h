// The latest records of a kind a module's calls leave, at most a fixed number: a ring over storage
// reserved once, so that keeping one more (and dropping the oldest) allocates nothing, and a slot
// taken over is assigned to, so a text kept there reuses the room the old one had.
#pragma once

#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <utility>
#include <vector>

namespace panelhost {

template <typename Record>
class LatestRecords {
 public:
  using value_type = Record;

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Record;
    using difference_type = std::ptrdiff_t;
    using pointer = const Record*;
    using reference = const Record&;

    const_iterator(const LatestRecords* records, std::size_t index)
        : records_(records), index_(index) {}
    reference operator*() const { return (*records_)[index_]; }
    pointer operator->() const { return &(*records_)[index_]; }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++index_;
      return before;
    }
    bool operator==(const const_iterator& o) const { return index_ == o.index_; }
    bool operator!=(const const_iterator& o) const { return index_ != o.index_; }

   private:
    const LatestRecords* records_;
    std::size_t index_;
  };
  using iterator = const_iterator;

  explicit LatestRecords(std::size_t capacity) : capacity_(capacity) { slots_.reserve(capacity); }

  // Keeps `record` as the latest, dropping the oldest when full.
  void push_back(Record record) {
    if (slots_.size() < capacity_) {
      slots_.push_back(std::move(record));
      return;
    }
    slots_[oldest_] = std::move(record);
    oldest_ = (oldest_ + 1) % capacity_;
  }
  // The same for a record made from `from`, assigned into the slot it takes over.
  template <typename From>
  void keep(const From& from) {
    if (slots_.size() < capacity_) {
      slots_.emplace_back(from);
      return;
    }
    slots_[oldest_] = from;
    oldest_ = (oldest_ + 1) % capacity_;
  }

  std::size_t size() const { return slots_.size(); }
  bool empty() const { return slots_.empty(); }
  std::size_t capacity() const { return capacity_; }
  // 0 is the oldest kept.
  const Record& operator[](std::size_t i) const { return slots_[(oldest_ + i) % slots_.size()]; }
  const Record& at(std::size_t i) const {
    if (i >= size()) throw std::out_of_range("LatestRecords::at");
    return (*this)[i];
  }
  const Record& back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }
  void clear() {
    slots_.clear();
    oldest_ = 0;
  }

 private:
  std::size_t capacity_;
  std::vector<Record> slots_;
  std::size_t oldest_ = 0;
};

}  // namespace panelhost

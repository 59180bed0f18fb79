#pragma once

#include <cstddef>
#include <iterator>
#include <vector>

#include "tools/find_replace.h"

namespace tellwright {

// The matches of a search, kept in the batches they came in: a batch of a
// hundred thousand matches is taken whole, none of them moved, however many
// came before. Read by index, in the order found.
class FoundMatches {
 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Match;
    using difference_type = std::ptrdiff_t;
    using pointer = const Match*;
    using reference = const Match&;
    const_iterator() = default;
    const_iterator(const FoundMatches* matches, size_t index) : matches_(matches), index_(index) {}
    reference operator*() const { return (*matches_)[index_]; }
    pointer operator->() const { return &**this; }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    const_iterator operator++(int) { return {matches_, index_++}; }
    friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.index_ == b.index_; }

   private:
    const FoundMatches* matches_ = nullptr;
    size_t index_ = 0;
  };

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const Match& operator[](size_t index) const;
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size_}; }

  // Takes the next matches found, after those there are.
  void append(std::vector<Match> batch);
  void clear();

 private:
  std::vector<std::vector<Match>> batches_;
  std::vector<size_t> starts_;  // the index of each batch's first match
  size_t size_ = 0;
};

}  // namespace tellwright

#include "editors/found_matches.h"

#include <algorithm>
#include <utility>

namespace tellwright {

const Match& FoundMatches::operator[](size_t index) const {
  // The last batch that starts at or before the index holds it.
  size_t batch = static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), index) - starts_.begin()) - 1;
  return batches_[batch][index - starts_[batch]];
}

void FoundMatches::append(std::vector<Match> batch) {
  if (batch.empty()) return;
  starts_.push_back(size_);
  size_ += batch.size();
  batches_.push_back(std::move(batch));
}

void FoundMatches::clear() {
  batches_.clear();
  starts_.clear();
  size_ = 0;
}

}  // namespace tellwright

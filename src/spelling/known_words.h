#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "document/dialogue_document.h"

namespace tellwright {

// The words a project knows besides the dictionary: the names it gives (real
// names, entity names, branch names), its word list, what the writer chose to
// ignore. Compared without letter case, so a name at the start of a shouted
// line is known too, and with a possessive "'s" taken off ("Guybrush's").
class KnownWords {
 public:
  void add(std::string_view word);
  void add(const std::vector<std::string>& words);
  // Every word of the characters' real and entity names and the branch names.
  void addNamesOf(const DialogueDocument& document);

  bool contains(std::string_view word) const;
  bool empty() const { return folded_.empty(); }

 private:
  std::unordered_set<std::string> folded_;
};

}  // namespace tellwright

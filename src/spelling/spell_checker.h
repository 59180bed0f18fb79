#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "spelling/installed_dictionaries.h"

namespace tellwright {

class SpellChecker;

struct SpellCheckerOpening {
  Status status;
  std::unique_ptr<SpellChecker> checker;  // null when status failed
};

// One Hunspell dictionary, asked about words in Windows-1252 (the document's
// encoding) whatever the dictionary's own. Safe to use from several threads:
// each question holds the dictionary for one word only, so the editor's
// typing never waits for a whole check running elsewhere.
class SpellChecker {
 public:
  // Reads the dictionary's files (a tenth of a second for a large one).
  static SpellCheckerOpening Open(const InstalledDictionary& dictionary);
  ~SpellChecker();
  SpellChecker(const SpellChecker&) = delete;
  SpellChecker& operator=(const SpellChecker&) = delete;

  const std::string& language() const { return language_; }

  // Whether the dictionary knows `word` (Windows-1252).
  bool knows(std::string_view word) const;

  // At most `most` suggestions for `word`, best first, in Windows-1252 (those
  // Windows-1252 cannot write are left out).
  std::vector<std::string> suggestions(std::string_view word, size_t most = 7) const;

 private:
  struct Engine;
  SpellChecker(std::string language, std::unique_ptr<Engine> engine);

  std::string language_;
  std::unique_ptr<Engine> engine_;
  mutable std::mutex mutex_;
};

}  // namespace tellwright

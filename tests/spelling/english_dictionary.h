#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "spelling/installed_dictionaries.h"
#include "spelling/spell_checker.h"

namespace tellwright::testing {

// Debian's English dictionary (hunspell-en-us, which scripts/install-deps.sh
// installs), opened once for every test.
inline const SpellChecker& EnglishDictionary() {
  static const std::unique_ptr<SpellChecker> checker = [] {
    std::optional<InstalledDictionary> english =
        DictionaryOf(FindInstalledDictionaries({"/usr/share/hunspell"}), "en_US");
    if (!english) {
      ADD_FAILURE() << "no en_US dictionary in /usr/share/hunspell: run scripts/install-deps.sh";
      std::abort();
    }
    SpellCheckerOpening opening = SpellChecker::Open(*english);
    if (!opening.status) {
      ADD_FAILURE() << opening.status.message;
      std::abort();
    }
    return std::move(opening.checker);
  }();
  return *checker;
}

}  // namespace tellwright::testing

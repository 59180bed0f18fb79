#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/user_folders.h"

namespace tellwright {

// A Hunspell dictionary on this computer: the pair LANGUAGE.aff and
// LANGUAGE.dic in one folder, such as en_US from Debian's hunspell-en-us.
struct InstalledDictionary {
  std::string language;  // the files' name without extension, "en_US"
  std::string affFile;
  std::string dicFile;
};

// The folders dictionaries are looked for in, the first one winning for a
// language: each folder of $DICPATH (Hunspell's own variable, ':' between
// them), the user's <data home>/hunspell, then the system's
// /usr/local/share/hunspell and /usr/share/hunspell.
std::vector<std::string> DictionaryFolders(const EnvironmentLookup& environment);

// Every dictionary in `folders`, one per language, ordered by language.
std::vector<InstalledDictionary> FindInstalledDictionaries(const std::vector<std::string>& folders);

// The dictionary of `language` among `installed`; nothing when it is not there.
std::optional<InstalledDictionary> DictionaryOf(const std::vector<InstalledDictionary>& installed,
                                                std::string_view language);

}  // namespace tellwright

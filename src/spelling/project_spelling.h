#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "document/dialogue_document.h"
#include "os/user_folders.h"
#include "spelling/known_words.h"
#include "spelling/spell_checker.h"

namespace tellwright {

// Opens the installed dictionary of `language` ("en_US"), looked for where
// DictionaryFolders says. Without one, the fault names the languages that
// are installed and the Debian package that brings the one asked for.
SpellCheckerOpening OpenInstalledDictionary(std::string_view language, const EnvironmentLookup& environment);

// The Debian package with the dictionary of `language`: "hunspell-de-de" for
// "de_DE".
std::string DictionaryPackage(std::string_view language);

// Adds what the project knows: its names and, when it has been saved, the
// words of the project dictionary beside `projectFile` (empty for a project
// never saved). A word list that cannot be read is the fault returned; the
// names are known all the same.
Status AddProjectWords(KnownWords& known, const DialogueDocument& document, const std::string& projectFile);

}  // namespace tellwright

#include "spelling/project_spelling.h"

#include "spelling/installed_dictionaries.h"
#include "spelling/project_dictionary.h"

namespace tellwright {

SpellCheckerOpening OpenInstalledDictionary(std::string_view language, const EnvironmentLookup& environment) {
  std::vector<InstalledDictionary> installed = FindInstalledDictionaries(DictionaryFolders(environment));
  if (std::optional<InstalledDictionary> dictionary = DictionaryOf(installed, language))
    return SpellChecker::Open(*dictionary);
  std::string names;
  for (const InstalledDictionary& dictionary : installed) names += (names.empty() ? "" : ", ") + dictionary.language;
  return {Status::Error("no dictionary for '" + std::string(language) + "' is installed (installed: " +
                        (names.empty() ? "none" : names) + "); on Debian install it with apt-get install " +
                        DictionaryPackage(language)),
          nullptr};
}

std::string DictionaryPackage(std::string_view language) {
  std::string package = "hunspell-";
  for (char c : language) {
    if (c == '_')
      package += '-';
    else
      package += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return package;
}

Status AddProjectWords(KnownWords& known, const DialogueDocument& document, const std::string& projectFile) {
  known.addNamesOf(document);
  if (projectFile.empty()) return Status::Ok();
  WordListReading list = ReadWordList(ProjectWordListFile(projectFile));
  known.add(list.words);
  return list.status;
}

}  // namespace tellwright

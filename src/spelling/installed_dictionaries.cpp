#include "spelling/installed_dictionaries.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "os/file_names.h"

namespace tellwright {

namespace {

void AddFolder(std::vector<std::string>& folders, std::string folder) {
  if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
    folders.push_back(std::move(folder));
}

// The .aff files of a folder that have their .dic beside them.
void AddDictionariesOf(const std::string& folder, std::vector<InstalledDictionary>& found) {
  std::error_code error;
  std::filesystem::directory_iterator entries(FileSystemPath(folder), error);
  if (error) return;
  for (const std::filesystem::directory_entry& entry : entries) {
    const std::filesystem::path& aff = entry.path();
    if (aff.extension() != ".aff") continue;
    std::filesystem::path dic = aff;
    dic.replace_extension(".dic");
    if (!std::filesystem::is_regular_file(dic, error)) continue;
    std::string language = FileNameString(aff.stem());
    bool known = std::any_of(found.begin(), found.end(),
                             [&](const InstalledDictionary& other) { return other.language == language; });
    if (!known) found.push_back({language, FileNameString(aff), FileNameString(dic)});
  }
}

}  // namespace

std::vector<std::string> DictionaryFolders(const EnvironmentLookup& environment) {
  std::vector<std::string> folders;
  if (std::optional<std::string> path = environment("DICPATH")) {
    size_t start = 0;
    while (start <= path->size()) {
      size_t end = path->find(':', start);
      if (end == std::string::npos) end = path->size();
      AddFolder(folders, path->substr(start, end - start));
      start = end + 1;
    }
  }
  if (std::optional<std::string> data = DataHome(environment)) AddFolder(folders, *data + "/hunspell");
  AddFolder(folders, "/usr/local/share/hunspell");
  AddFolder(folders, "/usr/share/hunspell");
  return folders;
}

std::vector<InstalledDictionary> FindInstalledDictionaries(const std::vector<std::string>& folders) {
  std::vector<InstalledDictionary> found;
  for (const std::string& folder : folders) AddDictionariesOf(folder, found);
  std::sort(found.begin(), found.end(),
            [](const InstalledDictionary& a, const InstalledDictionary& b) { return a.language < b.language; });
  return found;
}

std::optional<InstalledDictionary> DictionaryOf(const std::vector<InstalledDictionary>& installed,
                                                std::string_view language) {
  for (const InstalledDictionary& dictionary : installed)
    if (dictionary.language == language) return dictionary;
  return std::nullopt;
}

}  // namespace tellwright

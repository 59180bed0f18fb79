#include "settings/settings.h"

#include "os/file_names.h"

namespace tellwright {

std::string RecentFileValueName(int index) { return "LastFile" + std::to_string(index + 1); }

Settings ReadSettings(Registry& registry) {
  constexpr RegistryRoot kRoot = RegistryRoot::CurrentUser;
  Settings settings;
  // The engine project path is a document text; the registry holds it as
  // the system names files, as it holds the recent files.
  std::string currentProject = registry.RegReadValue(kRoot, kSettingsKey, kCurrentProjectValue);
  settings.currentProject = DocumentTextFromFileName(currentProject).value_or("");
  for (int i = 0; i < kRecentFileCount; ++i) {
    settings.recentFiles[static_cast<size_t>(i)] = registry.RegReadValue(kRoot, kSettingsKey, RecentFileValueName(i));
  }
  return settings;
}

bool WriteSettings(Registry& registry, const Settings& settings) {
  constexpr RegistryRoot kRoot = RegistryRoot::CurrentUser;
  registry.RegCreateKey(kRoot, kSettingsParentKey);
  registry.RegCreateKey(kRoot, kSettingsKey);
  bool allWritten = registry.RegWriteValue(kRoot, kSettingsKey, kCurrentProjectValue,
                                          FileNameFromDocumentText(settings.currentProject), kRegSz);
  for (int i = 0; i < kRecentFileCount; ++i) {
    const std::string& path = settings.recentFiles[static_cast<size_t>(i)];
    allWritten = registry.RegWriteValue(kRoot, kSettingsKey, RecentFileValueName(i), path, kRegSz) && allWritten;
  }
  return allWritten;
}

}  // namespace tellwright

#include "settings/settings.h"

namespace tellwright {

std::string RecentFileValueName(int index) { return "LastFile" + std::to_string(index + 1); }

Settings ReadSettings(Registry& registry) {
  constexpr RegistryRoot kRoot = RegistryRoot::CurrentUser;
  Settings settings;
  settings.currentProject = registry.RegReadValue(kRoot, kSettingsKey, kCurrentProjectValue);
  for (int i = 0; i < kRecentFileCount; ++i) {
    settings.recentFiles[static_cast<size_t>(i)] = registry.RegReadValue(kRoot, kSettingsKey, RecentFileValueName(i));
  }
  return settings;
}

bool WriteSettings(Registry& registry, const Settings& settings) {
  constexpr RegistryRoot kRoot = RegistryRoot::CurrentUser;
  registry.RegCreateKey(kRoot, kSettingsParentKey);
  registry.RegCreateKey(kRoot, kSettingsKey);
  bool allWritten = registry.RegWriteValue(kRoot, kSettingsKey, kCurrentProjectValue, settings.currentProject, kRegSz);
  for (int i = 0; i < kRecentFileCount; ++i) {
    const std::string& path = settings.recentFiles[static_cast<size_t>(i)];
    allWritten = registry.RegWriteValue(kRoot, kSettingsKey, RecentFileValueName(i), path, kRegSz) && allWritten;
  }
  return allWritten;
}

}  // namespace tellwright

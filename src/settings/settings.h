#pragma once

#include <string>
#include <string_view>

#include "settings/recent_files.h"
#include "settings/registry.h"

namespace tellwright {

// Below HKEY_CURRENT_USER.
inline constexpr std::string_view kSettingsParentKey = "Software\\Korvane";
inline constexpr std::string_view kSettingsKey = "Software\\Korvane\\Tellwright";
inline constexpr std::string_view kCurrentProjectValue = "CurrentProject";

// The name of recent file `index` (0-based): "LastFile1" .. "LastFile5".
std::string RecentFileValueName(int index);

struct Settings {
  std::string currentProject;  // the engine project path
  RecentFiles recentFiles;
};

// Anything missing or unreadable reads as "", and so does an engine project
// path with a character the document's Windows-1252 has no byte for.
Settings ReadSettings(Registry& registry);

// Creates the keys, then writes "CurrentProject" and "LastFile1" ..
// "LastFile5" in that order, all as strings. A value whose key cannot be
// opened is reported once; the rest are still written. True when all six
// values were written.
bool WriteSettings(Registry& registry, const Settings& settings);

}  // namespace tellwright

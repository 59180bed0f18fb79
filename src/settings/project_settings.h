#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace tellwright {

// What the editor keeps for one project beside its file rather than in it
// (the project file stays as the engine's tools read it): the prefix of the
// string-table keys it gives, and the translation files to check. The file
// is NAME.tlwdlg.settings, UTF-8, a "Name=value" a line; lines it does not
// know are kept as they are, so an older editor loses nothing of a newer
// one's settings.
struct ProjectSettings {
  std::string keyPrefix;                      // "" until one was chosen
  std::vector<std::string> translationFiles;  // as written: relative to the project's folder, or absolute
  std::vector<std::string> otherLines;        // kept verbatim, in order
};

// The settings file of the project saved as `projectPath`.
std::string ProjectSettingsPath(std::string_view projectPath);

// A missing file gives empty settings; a file that cannot be read, or a line
// that is neither "Name=value" nor a comment (';') nor empty, is an error
// with its line.
Status ReadProjectSettings(const std::string& projectPath, ProjectSettings& settings);
std::string ProjectSettingsText(const ProjectSettings& settings);
Status WriteProjectSettings(const std::string& projectPath, const ProjectSettings& settings);

// A translation file as the settings name it, found from the project's
// folder; `projectPath` may use "/" or "\".
std::string TranslationFilePath(std::string_view projectPath, std::string_view named);
// How the settings name a chosen file: relative to the project's folder when
// it lies within it, so that the setting travels with the project.
std::string NamedTranslationFile(std::string_view projectPath, std::string_view chosen);

}  // namespace tellwright

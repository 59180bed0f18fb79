#include "settings/project_settings.h"

#include <filesystem>

#include "base/path_names.h"
#include "os/atomic_write.h"
#include "os/file_names.h"

namespace tellwright {

namespace {

constexpr std::string_view kKeyPrefixName = "KeyPrefix";
constexpr std::string_view kTranslationFileName = "TranslationFile";

bool IsAbsolutePath(std::string_view path) {
  return (!path.empty() && (path.front() == '/' || path.front() == '\\')) ||
         (path.size() >= 2 && path[1] == ':');
}

}  // namespace

std::string ProjectSettingsPath(std::string_view projectPath) { return std::string(projectPath) + ".settings"; }

Status ReadProjectSettings(const std::string& projectPath, ProjectSettings& settings) {
  settings = {};
  std::string path = ProjectSettingsPath(projectPath);
  std::error_code error;
  if (!std::filesystem::exists(FileSystemPath(path), error)) return Status::Ok();
  std::string bytes;
  if (Status status = ReadWholeFile(path, bytes); !status) return status;
  int lineNumber = 0;
  for (size_t start = 0; start < bytes.size();) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == ';') continue;
    size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0)
      return Status::Error("a setting must read Name=value, not \"" + line + "\"", lineNumber);
    std::string_view name = std::string_view(line).substr(0, equals);
    std::string value = line.substr(equals + 1);
    if (name == kKeyPrefixName) {
      settings.keyPrefix = value;
    } else if (name == kTranslationFileName) {
      if (!value.empty()) settings.translationFiles.push_back(value);
    } else {
      settings.otherLines.push_back(line);
    }
  }
  return Status::Ok();
}

std::string ProjectSettingsText(const ProjectSettings& settings) {
  std::string text = "; Tellwright's settings for the project beside this file\n";
  if (!settings.keyPrefix.empty()) text += std::string(kKeyPrefixName) + "=" + settings.keyPrefix + "\n";
  for (const std::string& file : settings.translationFiles)
    text += std::string(kTranslationFileName) + "=" + file + "\n";
  for (const std::string& line : settings.otherLines) text += line + "\n";
  return text;
}

Status WriteProjectSettings(const std::string& projectPath, const ProjectSettings& settings) {
  return WriteFileAtomically(ProjectSettingsPath(projectPath), ProjectSettingsText(settings));
}

std::string TranslationFilePath(std::string_view projectPath, std::string_view named) {
  if (IsAbsolutePath(named)) return std::string(named);
  return std::string(FolderPart(projectPath)) + std::string(named);
}

std::string NamedTranslationFile(std::string_view projectPath, std::string_view chosen) {
  std::string_view folder = FolderPart(projectPath);
  if (!folder.empty() && chosen.size() > folder.size() && chosen.substr(0, folder.size()) == folder)
    return std::string(chosen.substr(folder.size()));
  return std::string(chosen);
}

}  // namespace tellwright

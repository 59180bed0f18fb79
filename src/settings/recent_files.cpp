#include "settings/recent_files.h"

#include <algorithm>

#include "base/path_names.h"
#include "document/character_list_file.h"

namespace tellwright {

void AddRecentFile(RecentFiles& recentFiles, std::string_view path) {
  if (std::find(recentFiles.begin(), recentFiles.end(), path) != recentFiles.end()) return;
  std::move_backward(recentFiles.begin(), recentFiles.end() - 1, recentFiles.end());
  recentFiles.front() = std::string(path);
}

RecentFileMenu BuildRecentFileMenu(const RecentFiles& recentFiles) {
  RecentFileMenu menu;
  if (recentFiles.front().empty()) return menu;
  menu.separator = true;
  for (int i = 0; i < kRecentFileCount; ++i) {
    const std::string& path = recentFiles[static_cast<size_t>(i)];
    if (path.empty()) continue;
    menu.items.push_back({kFirstRecentFileCommand + i, i, "..\\" + std::string(FileNamePart(path))});
  }
  return menu;
}

RecentFileAction RecentFileKind(std::string_view path) {
  return EndsWithExtension(path, kCharacterListExtension) ? RecentFileAction::OpenAsCharacterList
                                                          : RecentFileAction::OpenAsProject;
}

std::string DefaultRequesterPath(std::string_view currentFile, const RecentFiles& recentFiles,
                                 std::string_view startupCurrentProject) {
  if (!currentFile.empty()) return std::string(currentFile);
  if (!recentFiles.front().empty()) return recentFiles.front();
  return std::string(startupCurrentProject);
}

}  // namespace tellwright

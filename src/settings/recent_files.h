#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tellwright {

inline constexpr int kRecentFileCount = 5;
// Menu command of recent file i (0-based) is kFirstRecentFileCommand + i.
inline constexpr int kFirstRecentFileCommand = 17;

// Most recent first; "" marks an empty entry.
using RecentFiles = std::array<std::string, kRecentFileCount>;

// A path already in the list (exact, case-sensitive match) leaves the list
// as it is, order included; otherwise it goes to the front and the last
// entry drops out.
void AddRecentFile(RecentFiles& recentFiles, std::string_view path);

struct RecentFileMenuItem {
  int command = 0;
  int index = 0;  // into RecentFiles
  std::string label;
};

// The recent-file block of the File menu: when entry 0 is empty there is no
// block at all; otherwise a separator, then an item for every non-empty
// entry, labelled "..\" and the file name part.
struct RecentFileMenu {
  bool separator = false;
  std::vector<RecentFileMenuItem> items;
};

RecentFileMenu BuildRecentFileMenu(const RecentFiles& recentFiles);

// What choosing a recent entry does: character lists are in the list too,
// and loading one as a project would replace the dialogue with a misread file
// that a later save writes over the character list.
enum class RecentFileAction { OpenAsProject, OpenAsCharacterList };

RecentFileAction RecentFileKind(std::string_view path);

// Where the open and save requesters for projects and character lists start:
// the open project's file, else the first recent file, else the engine
// project path read at start-up.
std::string DefaultRequesterPath(std::string_view currentFile, const RecentFiles& recentFiles,
                                 std::string_view startupCurrentProject);

}  // namespace tellwright

#pragma once

#include <string>

#include "editing/line_clipboard.h"
#include "settings/recent_files.h"

namespace tellwright {

// What the editor keeps for its whole run beside the document (which the
// session owns), owned by the program (or a test) and handed to the session
// by reference.
struct EditorState {
  LineClipboard clipboard;  // New and loading leave it alone
  RecentFiles recentFiles;
  // The engine project path as the settings held it at start-up: the last
  // fallback folder of the project and character-list requesters.
  std::string startupCurrentProject;
  bool quit = false;
};

}  // namespace tellwright

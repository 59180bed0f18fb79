#pragma once

#include <QString>
#include <string>

namespace tellwright {

class EditorSession;

// The File menu: new, open, save and save as, character lists, recent
// files and quitting, with the ask-to-save step before anything that would
// drop the open project.
class FileCommands {
 public:
  explicit FileCommands(EditorSession& session) : session_(session) {}

  void newProject();
  void loadDialogue();
  // True when the project was saved.
  bool save();
  bool saveAs();
  void loadCharacterList();
  void saveCharacterList();
  void openRecentFile(int index);
  // Quit: asks to save, writes the settings and closes the window.
  void quit();
  // The close box: as quit, but the window closes itself. False keeps it open.
  bool quitting();

  // Opens the project at `path` (in the system's path encoding); a file that
  // cannot be read is reported and changes nothing. True when opened.
  bool openProject(const std::string& path, bool addToRecentFiles);

  // Asks whether to save unsaved changes. Yes saves (a cancelled requester
  // or a failed save answers false), No drops them, Cancel answers false:
  // the command that asked stops then and nothing changes.
  bool AskSaveChanges();

 private:
  QString defaultRequesterPath() const;
  bool saveTo(const std::string& path);
  bool loadCharacterListFrom(const std::string& path, bool addToRecentFiles);

  EditorSession& session_;
};

}  // namespace tellwright

#pragma once

#include <QString>
#include <string_view>

namespace tellwright {

class EditorSession;

// The commands that change the dialogue from the main window: lines, the
// line clipboard, characters, branches and the current project. Each runs
// its change down the session's one road.
class EditCommands {
 public:
  explicit EditCommands(EditorSession& session) : session_(session) {}

  void insertLine(std::string_view kind);
  void cut();
  void copy();
  void paste();
  void deleteLines();
  void moveUp();
  void moveDown();

  // Double-click on row `pickerRow` of the character list box.
  void assignCharacter(int pickerRow);
  void deleteCharacter();

  void selectBranch(int index);
  void addBranch();
  void renameBranch(const QString& name);

  void chooseProject();
  // Stores what was typed into the current-project field, if it differs.
  void commitProjectField();

 private:
  void setProjectPath(const QString& path);

  EditorSession& session_;
};

}  // namespace tellwright

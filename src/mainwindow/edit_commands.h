#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string_view>

#include "editing/edit_result.h"
#include "editing/line_commands.h"

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

  // A double-click on a cell of the line list: edits it in place, or opens
  // the responseblock editor for the selected responseblock lines.
  void doubleClickLine(int row, int column);
  // The in-place editor's commit: stores `text` in the line at `row`, in
  // the field the column shows. False when the text was refused.
  bool storeCell(int row, int column, const QString& text);
  // The browse button of a sound-file cell: the picked file, relative to
  // the engine project's folder, as the field's new text.
  std::optional<QString> browseSoundFile(const QString& current);

  void chooseProject();
  // Stores what was typed into the current-project field, if it differs.
  void commitProjectField();

 private:
  using SelectedLinesChange = std::function<EditResult(DialogueDocument&, const RowSelection&, const LineListState&)>;
  // A change of the selected lines of the current branch.
  void changeSelectedLines(const QString& name, const SelectedLinesChange& change);
  void setProjectPath(const QString& path);

  EditorSession& session_;
};

}  // namespace tellwright

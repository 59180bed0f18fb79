#include "mainwindow/edit_commands.h"

#include <QLineEdit>
#include <string>

#include "editing/branch_commands.h"
#include "editing/character_commands.h"
#include "editing/line_commands.h"
#include "mainwindow/document_text.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/main_window.h"
#include "mainwindow/user_dialogs.h"

namespace tellwright {

namespace {

LineListState ListState(MainWindow& window) { return {window.lineListHasFocus(), false}; }

}  // namespace

void EditCommands::insertLine(std::string_view kind) {
  RowSelection rows = session_.window().selectedLineRows();
  std::string lineKind(kind);
  session_.apply({QStringLiteral("Insert %1").arg(TextToQString(kind)), kPartLines,
                  [lineKind, rows](DialogueDocument& document) { return InsertLine(document, lineKind, rows); }});
}

void EditCommands::cut() {
  RowSelection rows = session_.window().selectedLineRows();
  LineListState state = ListState(session_.window());
  LineClipboard& clipboard = session_.state().clipboard;
  session_.apply({QStringLiteral("Cut"), kPartLines, [rows, state, &clipboard](DialogueDocument& document) {
                    return CutLines(document, rows, state, clipboard);
                  }});
}

void EditCommands::copy() {
  session_.commitOpenEdits();
  CopyLines(session_.document(), session_.window().selectedLineRows(), ListState(session_.window()),
            session_.state().clipboard);
  session_.updateActions();
}

void EditCommands::paste() {
  RowSelection rows = session_.window().selectedLineRows();
  LineListState state = ListState(session_.window());
  const LineClipboard& clipboard = session_.state().clipboard;
  session_.apply({QStringLiteral("Paste"), kPartLines, [rows, state, &clipboard](DialogueDocument& document) {
                    return PasteLines(document, rows, state, clipboard);
                  }});
}

void EditCommands::deleteLines() {
  RowSelection rows = session_.window().selectedLineRows();
  LineListState state = ListState(session_.window());
  session_.apply({QStringLiteral("Delete"), kPartLines,
                  [rows, state](DialogueDocument& document) { return DeleteLines(document, rows, state); }});
}

void EditCommands::moveUp() {
  RowSelection rows = session_.window().selectedLineRows();
  LineListState state = ListState(session_.window());
  session_.apply({QStringLiteral("Move lines up"), kPartLines,
                  [rows, state](DialogueDocument& document) { return MoveLinesUp(document, rows, state); }});
}

void EditCommands::moveDown() {
  RowSelection rows = session_.window().selectedLineRows();
  LineListState state = ListState(session_.window());
  session_.apply({QStringLiteral("Move lines down"), kPartLines,
                  [rows, state](DialogueDocument& document) { return MoveLinesDown(document, rows, state); }});
}

void EditCommands::assignCharacter(int pickerRow) {
  RowSelection rows = session_.window().selectedLineRows();
  session_.apply({QStringLiteral("Assign character"), kPartLines, [pickerRow, rows](DialogueDocument& document) {
                    return AssignCharacter(document, pickerRow, rows);
                  }});
}

void EditCommands::deleteCharacter() {
  session_.commitOpenEdits();
  int row = session_.window().selectedCharacterRow();
  const Character* character = CharacterAtRow(session_.document().characters, row);
  if (!character) return;
  if (!session_.dialogs().askYesNo(TextToQString(kDeleteCharacterTitle),
                                   TextToQString(DeleteCharacterQuestion(character->realName))))
    return;
  session_.apply({QStringLiteral("Delete character"), kPartCharacters,
                  [row](DialogueDocument& document) { return DeleteCharacter(document, row); }});
}

void EditCommands::selectBranch(int index) {
  if (index == session_.document().currentBranch) return;
  session_.apply({QStringLiteral("Select branch"), kPartShownBranch,
                  [index](DialogueDocument& document) { return SelectBranch(document, index); }});
}

void EditCommands::addBranch() {
  session_.apply({QStringLiteral("Add dialogue branch"), kPartBranchNames | kPartShownBranch,
                  [](DialogueDocument& document) { return AddBranch(document); }});
}

void EditCommands::renameBranch(const QString& name) {
  session_.commitOpenEdits();
  EncodedText encoded = EncodeText(name);
  if (!encoded.ok()) {
    session_.showError(encoded.fault);
    return;
  }
  session_.apply({QStringLiteral("Rename branch"), kPartBranchNames, [bytes = encoded.bytes](DialogueDocument& document) {
                    return RenameCurrentBranch(document, bytes);
                  }});
}

void EditCommands::chooseProject() {
  session_.commitOpenEdits();
  std::optional<QString> chosen = session_.dialogs().chooseOpenFile(
      QStringLiteral("Choose a project file"), session_.window().projectField()->text(),
      QStringLiteral("WME project|*.wpr|Vexa project|*.vexapro"));
  if (chosen) setProjectPath(*chosen);
}

void EditCommands::commitProjectField() {
  QString typed = session_.window().projectField()->text();
  if (typed != TextToQString(session_.document().engineProjectPath)) setProjectPath(typed);
}

void EditCommands::setProjectPath(const QString& path) {
  EncodedText encoded = EncodeText(path);
  if (!encoded.ok()) {
    session_.window().showProjectPath();  // the field shows again what is stored
    session_.showError(encoded.fault);
    return;
  }
  session_.apply({QStringLiteral("Choose project"), kPartProjectPath, [bytes = encoded.bytes](DialogueDocument& document) {
                    if (document.engineProjectPath == bytes) return EditResult::Unchanged();
                    document.engineProjectPath = bytes;
                    return EditResult::Changed();
                  }});
}

}  // namespace tellwright

#include "mainwindow/edit_commands.h"

#include <QLineEdit>
#include <string>

#include "editing/branch_commands.h"
#include "editing/cell_rules.h"
#include "editing/character_commands.h"
#include "editing/line_commands.h"
#include "editing/line_slots.h"
#include "editors/cell_editor.h"
#include "editors/editor_commands.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/main_window.h"
#include "settings/relative_path.h"
#include "tools/string_keys.h"
#include "ui/document_text.h"
#include "ui/user_dialogs.h"

namespace tellwright {

namespace {

LineListState ListState(EditorSession& session) {
  return {session.window().lineListHasFocus(), session.cellEditor().isOpen()};
}

}  // namespace

void EditCommands::insertLine(std::string_view kind) {
  std::string lineKind(kind);
  // A responseblock line comes with a new block.
  unsigned parts = kind == kResponseblock ? kPartLines | kPartBlocks : kPartLines;
  session_.apply(
      {QStringLiteral("Insert %1").arg(TextToQString(kind)), parts, [this, lineKind](DialogueDocument& document) {
         return InsertLine(document, lineKind, session_.window().selectedLineRows());
       }});
}

void EditCommands::cut() {
  LineClipboard& clipboard = session_.state().clipboard;
  changeSelectedLines(QStringLiteral("Cut"),
                      [&clipboard](DialogueDocument& document, const RowSelection& rows, const LineListState& state) {
                        return CutLines(document, rows, state, clipboard);
                      });
}

void EditCommands::copy() {
  if (!session_.commitOpenEdits()) return;
  CopyLines(session_.document(), session_.window().selectedLineRows(), ListState(session_), session_.state().clipboard);
  session_.updateActions();
}

void EditCommands::paste() {
  const LineClipboard& clipboard = session_.state().clipboard;
  std::string prefix = session_.keyPrefix();
  changeSelectedLines(QStringLiteral("Paste"), [&clipboard, prefix](DialogueDocument& document, const RowSelection& rows,
                                                                    const LineListState& state) {
    // A pasted copy of a keyed line gets a key of its own: two texts with
    // one key show the same text in every language.
    LineClipboard pasted{RekeyForPaste(document, clipboard.lines, prefix).lines};
    return PasteLines(document, rows, state, pasted);
  });
}

void EditCommands::deleteLines() { changeSelectedLines(QStringLiteral("Delete"), DeleteLines); }

void EditCommands::moveUp() { changeSelectedLines(QStringLiteral("Move lines up"), MoveLinesUp); }

void EditCommands::moveDown() { changeSelectedLines(QStringLiteral("Move lines down"), MoveLinesDown); }

void EditCommands::changeSelectedLines(const QString& name, const SelectedLinesChange& change) {
  // The selection and the list's state are read when the change runs: an
  // open cell edit is committed and closed by then, and the command acts on
  // the lines as a menu click finds them.
  session_.apply({name, kPartLines, [this, change](DialogueDocument& document) {
                    return change(document, session_.window().selectedLineRows(), ListState(session_));
                  }});
}

void EditCommands::assignCharacter(int pickerRow) {
  session_.apply({QStringLiteral("Assign character"), kPartLines, [this, pickerRow](DialogueDocument& document) {
                    return AssignCharacter(document, pickerRow, session_.window().selectedLineRows());
                  }});
}

void EditCommands::deleteCharacter() {
  if (!session_.commitOpenEdits()) return;
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
  if (!session_.commitOpenEdits()) return;
  EncodedText encoded = EncodeText(name);
  if (!encoded.ok()) {
    session_.showError(encoded.fault);
    return;
  }
  session_.apply(
      {QStringLiteral("Rename branch"), kPartBranchNames | kPartBlocks,  // the links follow the name
       [bytes = encoded.bytes](DialogueDocument& document) { return RenameCurrentBranch(document, bytes); }});
}

void EditCommands::doubleClickLine(int row, int column) {
  const DialogueBranch* branch = CurrentBranch(session_.document());
  if (!branch || row < 0 || row >= LinesInUse(*branch)) return;
  if (CellEditMode(branch->lines[row].kind, column) != CellEdit::None) {
    session_.cellEditor().open(row, column);
    return;
  }
  OpenResponseBlockEditors(session_, session_.window().selectedLineRows());
}

bool EditCommands::storeCell(int row, int column, const QString& text) {
  EncodedText encoded = EncodeText(text);
  if (!encoded.ok()) {
    session_.showError(encoded.fault);
    return false;
  }
  QString name = column == 2 ? QStringLiteral("Edit text") : QStringLiteral("Edit soundfile");
  session_.apply({name, kPartLines, [row, column, bytes = encoded.bytes](DialogueDocument& document) {
                    DialogueBranch* branch = EditCurrentBranch(document);
                    if (!branch || row < 0 || row >= LinesInUse(*branch)) return EditResult::Unchanged();
                    DialogueLine& line = branch->lines.slot(row);
                    Text& field = column == 2 ? line.text : line.soundFile;
                    // The list shows a talkline's text without its key; the key stays.
                    std::string stored = column == 2 && KindOf(line.kind) == LineKind::Talk
                                             ? WithKeptKey(line.text, bytes)
                                             : std::string(bytes);
                    if (field == stored) return EditResult::Unchanged();
                    field = stored;
                    return EditResult::Changed({row});  // the edited line stays selected
                  }});
  return true;
}

std::optional<QString> EditCommands::browseSoundFile(const QString& current) {
  std::optional<QString> chosen = session_.dialogs().chooseOpenFile(
      QStringLiteral("Browse for voice-over soundfile"), current,
      QStringLiteral(
          "WME soundfiles (*.wav, *.ogg)|*.wav;*.ogg|Vexa soundfiles (*.wav, *.ogg, *.mp3)|*.wav;*.ogg;*.mp3"));
  if (!chosen) return std::nullopt;
  EncodedText picked = EncodeText(*chosen);
  if (!picked.ok()) {
    session_.showError(picked.fault);
    return std::nullopt;
  }
  // Choosing a file counts as a change even when the edit is then cancelled.
  session_.markUnsaved();
  return TextToQString(RelativeSoundPath(picked.bytes, session_.document().engineProjectPath));
}

void EditCommands::chooseProject() {
  if (!session_.commitOpenEdits()) return;
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
  session_.apply(
      {QStringLiteral("Choose project"), kPartProjectPath, [bytes = encoded.bytes](DialogueDocument& document) {
         if (document.engineProjectPath == bytes) return EditResult::Unchanged();
         document.engineProjectPath = bytes;
         return EditResult::Changed();
       }});
}

}  // namespace tellwright

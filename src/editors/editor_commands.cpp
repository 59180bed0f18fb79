#include "editors/editor_commands.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "editing/character_commands.h"
#include "editing/response_commands.h"
#include "editors/character_editor.h"
#include "editors/response_block_editor.h"
#include "mainwindow/document_change.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/main_window.h"

namespace tellwright {

QPoint OnScreenPosition(QPoint wanted, QSize frameSize, const QRect& available) {
  int x = std::max(std::min(wanted.x(), available.right() + 1 - frameSize.width()), available.left());
  int y = std::max(std::min(wanted.y(), available.bottom() + 1 - frameSize.height()), available.top());
  return {x, y};
}

void OpenResponseBlockEditors(EditorSession& session, const RowSelection& rows) {
  session.commitOpenEdits();
  for (int blockSlot : BlocksOfSelectedLines(session.document(), rows)) {
    ResponseBlockEditor editor(session, blockSlot, &session.window());
    editor.exec();
  }
}

void OpenResponseBlockEditor(EditorSession& session, int blockSlot, int selectResponse) {
  if (!session.commitOpenEdits()) return;
  if (blockSlot < 0 || blockSlot >= kBlockSlots || !session.document().responseBlocks[blockSlot].inUse()) return;
  ResponseBlockEditor editor(session, blockSlot, &session.window());
  if (selectResponse >= 0 && selectResponse < editor.list()->rowCount()) editor.list()->selectRow(selectResponse);
  editor.exec();
}

void AddCharacterWithEditor(EditorSession& session) {
  session.commitOpenEdits();
  CharacterEditor editor(session, &session.window());
  editor.setOnOk([&session](const std::string& realName, const std::string& entityName) {
    session.apply({QStringLiteral("Add character"), kPartCharacters,
                   [&](DialogueDocument& document) { return AddCharacter(document, realName, entityName); }});
  });
  editor.exec();
}

void EditCharacterWithEditor(EditorSession& session, int pickerRow) {
  session.commitOpenEdits();
  const Character* character = CharacterAtRow(session.document().characters, pickerRow);
  if (!character) return;
  CharacterEditor editor(session, &session.window());
  editor.load(character->realName, character->entityName);
  editor.setOnOk([&session, pickerRow](const std::string& realName, const std::string& entityName) {
    session.apply({QStringLiteral("Edit character"), kPartCharacters, [&](DialogueDocument& document) {
                     return EditCharacter(document, pickerRow, realName, entityName);
                   }});
  });
  editor.exec();
}

void MoveToOpeningPosition(QWidget* window, QPoint wanted) {
  QWidget* parent = window->parentWidget() ? window->parentWidget()->window() : nullptr;
  QScreen* screen = parent ? parent->screen() : window->screen();
  // The window has no frame before it is shown; it gets one like its parent's.
  QSize frame = window->size();
  if (parent && parent->isVisible()) frame += parent->frameGeometry().size() - parent->size();
  window->move(screen ? OnScreenPosition(wanted, frame, screen->availableGeometry()) : wanted);
}

}  // namespace tellwright

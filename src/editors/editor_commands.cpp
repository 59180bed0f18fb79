#include "editors/editor_commands.h"

#include "editing/character_commands.h"
#include "editing/response_commands.h"
#include "editors/character_editor.h"
#include "editors/response_block_editor.h"
#include "ui/document_change.h"
#include "ui/editor_context.h"

namespace tellwright {

void OpenResponseBlockEditors(EditorContext& context, const RowSelection& rows) {
  if (!context.commitOpenEdits()) return;
  for (int blockSlot : BlocksOfSelectedLines(context.document(), rows)) {
    ResponseBlockEditor editor(context, blockSlot, context.mainWindow());
    editor.exec();
  }
}

void OpenResponseBlockEditor(EditorContext& context, int blockSlot, int selectResponse) {
  if (!context.commitOpenEdits()) return;
  if (blockSlot < 0 || blockSlot >= kBlockSlots || !context.document().responseBlocks[blockSlot].inUse()) return;
  ResponseBlockEditor editor(context, blockSlot, context.mainWindow());
  if (selectResponse >= 0 && selectResponse < editor.list()->rowCount()) editor.list()->selectRow(selectResponse);
  editor.exec();
}

void AddCharacterWithEditor(EditorContext& context) {
  if (!context.commitOpenEdits()) return;
  CharacterEditor editor(context, context.mainWindow());
  editor.setOnOk([&context](const std::string& realName, const std::string& entityName) {
    context.apply({QStringLiteral("Add character"), kPartCharacters,
                   [&](DialogueDocument& document) { return AddCharacter(document, realName, entityName); }});
  });
  editor.exec();
}

void EditCharacterWithEditor(EditorContext& context, int pickerRow) {
  if (!context.commitOpenEdits()) return;
  const Character* character = CharacterAtRow(context.document().characters, pickerRow);
  if (!character) return;
  CharacterEditor editor(context, context.mainWindow());
  editor.load(character->realName, character->entityName);
  editor.setOnOk([&context, pickerRow](const std::string& realName, const std::string& entityName) {
    context.apply({QStringLiteral("Edit character"), kPartCharacters, [&](DialogueDocument& document) {
                     return EditCharacter(document, pickerRow, realName, entityName);
                   }});
  });
  editor.exec();
}

}  // namespace tellwright

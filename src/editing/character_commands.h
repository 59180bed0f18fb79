#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/character.h"
#include "document/dialogue_document.h"
#include "editing/edit_result.h"

namespace tellwright {

// The character buttons Add, Edit and Del. The character list box shows
// "None" in row 0 and character k-1 in row k (PickerEntries); a character is
// named by its row there, never by its entry text, which two characters can
// share when their names hold parentheses. Renaming or deleting a character
// leaves the dialogue lines as they are: they keep the real name they were
// given.

inline constexpr std::string_view kNoRealNameMessage = "You have to give the character a real name.";
inline constexpr std::string_view kNoEntityNameMessage = "You have to define a WME entity name for the character.";
inline constexpr std::string_view kDuplicateRealNameMessage = "A characters real name can only exist once.";
inline constexpr std::string_view kDeleteCharacterTitle = "Delete character";

// Row 0 of the character list box.
inline constexpr int kNoCharacterRow = 0;

// The character shown in row `pickerRow` of the character list box, or
// nullptr for "None" and rows that show no character.
const Character* CharacterAtRow(const std::vector<Character>& characters, int pickerRow);

// Appends a character after the checks, in this order: empty real name,
// empty entity name, real name already in use (exact comparison).
EditResult AddCharacter(DialogueDocument& document, const Text& realName, const Text& entityName);

// Gives the character in `pickerRow`, and every other character with the
// same two names, the new names, after the same checks as AddCharacter,
// where the uniqueness check ignores those characters; the same names again
// change nothing. "None" and a row
// without a character do nothing, so the window need not open the editor
// for them (CharacterAtRow tells).
EditResult EditCharacter(DialogueDocument& document, int pickerRow, const Text& newRealName,
                         const Text& newEntityName);

// The question asked before Del: "Are you sure you want to delete
// character '<realName>'?" (title kDeleteCharacterTitle).
std::string DeleteCharacterQuestion(std::string_view realName);

// Deletes the character in `pickerRow` and every other character with the
// same two names (after the user said Yes). "None" and a row without a
// character do nothing; ask the question only when CharacterAtRow finds one.
EditResult DeleteCharacter(DialogueDocument& document, int pickerRow);

}  // namespace tellwright

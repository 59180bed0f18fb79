#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/character.h"
#include "document/dialogue_document.h"
#include "editing/edit_result.h"

namespace tellwright {

// The character buttons Add, Edit and Del. A character is named by its entry
// in the character picker ("None", then realName + " (" + entityName + ")").
// Renaming or deleting a character leaves the dialogue lines as they are:
// they keep the real name they were given.

inline constexpr std::string_view kNoRealNameMessage = "You have to give the character a real name.";
inline constexpr std::string_view kNoEntityNameMessage = "You have to define a WME entity name for the character.";
inline constexpr std::string_view kDuplicateRealNameMessage = "A characters real name can only exist once.";
inline constexpr std::string_view kDeleteCharacterTitle = "Delete character";

// The names of the character a picker entry stands for, or nothing for the
// "None" entry or an entry no character shows. A character is found by its
// whole entry, which for ordinary names is the same as parsing the entry
// (real name before the first " (", entity name up to the first ")") but also
// finds a character whose real name holds " (" or whose entity name holds
// ")", which parsing would cut short and never find.
std::optional<PickerNames> PickedCharacter(const std::vector<Character>& characters, std::string_view entry);

// The real name a picked entry puts into lines: the picked character's real
// name, or for an entry no character shows, the text before the first " (".
// "" for "None".
std::string RealNameOfPickedCharacter(const std::vector<Character>& characters, std::string_view entry);

// Appends a character after the checks, in this order: empty real name,
// empty entity name, real name already in use (exact comparison).
EditResult AddCharacter(DialogueDocument& document, const std::string& realName, const std::string& entityName);

// Gives every character with the picked entry's two names the new names,
// after the same checks as AddCharacter, where the uniqueness check ignores
// those characters. "None" and an entry no character shows do nothing, so
// the window need not open the editor for them (PickedCharacter tells).
EditResult EditCharacter(DialogueDocument& document, std::string_view entry, const std::string& newRealName,
                         const std::string& newEntityName);

// The question asked before Del: "Are you sure you want to delete
// character '<realName>'?" (title kDeleteCharacterTitle).
std::string DeleteCharacterQuestion(std::string_view realName);

// Deletes every character with the picked entry's two names (after the user
// said Yes). "None" and an entry no character shows do nothing; ask the
// question only when PickedCharacter finds one.
EditResult DeleteCharacter(DialogueDocument& document, std::string_view entry);

}  // namespace tellwright

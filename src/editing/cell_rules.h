#pragma once

#include <string_view>

namespace tellwright {

// Which cells of the line list edit in place, by the line's kind and the
// column (0 "Command", 1 "Character", 2 "Text / Code / Remark",
// 3 "Soundfile").
enum class CellEdit {
  None,                 // not editable; a responseblock line opens its editor instead
  Field,                // an edit field
  FieldWithBrowse,      // an edit field with a button that picks a voice-over file
};

CellEdit CellEditMode(std::string_view kind, int column);

}  // namespace tellwright

#include "ui/ui_text_table.h"

#include <cstring>
#include <string_view>

#include "ui/document_text.h"

namespace tellwright {

namespace {

// The texts, in index order, each ended by a zero byte (the last by the
// array's own).
constexpr char kTextBlock[] =
    // 0
    "File\0"
    "New\0"
    "Load dialogue\0"
    "Save dialogue\0"
    "Save as ...\0"
    "Load character list\0"
    "Save character list\0"
    "Export WME script\0"
    "Export text\0"
    "Quit\0"
    // 10
    "Edit\0"
    "Cut\0"
    "Copy\0"
    "Paste\0"
    "Delete\0"
    "Help\0"
    "Help\0"
    "About\0"
    "Commands\0"
    "Talkline\0"
    // 20
    "Insert a talk command line (A character says something)\0"
    "Codeline\0"
    "Insert a codeline (Any line of wme code)\0"
    "Remark\0"
    "Insert a remark line (For descriptions in the compiled code)\0"
    "Responseblock\0"
    "Insert a responseblock (The lines you can click on in the game)\0"
    "Characters\0"
    "Doubleclick on a character to insert him to the currently selected dialogue line\0"
    "Add\0"
    // 30
    "Add a new character to the list\0"
    "Edit\0"
    "Edit the selected character\0"
    "Del\0"
    "Delete the selected character\0"
    "Dialogue branches\0"
    "Command\0"
    "Character\0"
    "Text / Code / Remark\0"
    "Soundfile\0"
    // 40
    "Add dialogue branch\0"
    "...\0"
    "Text to say:\0"
    "Soundfile:\0"
    "Cancel\0"
    "OK\0"
    "Codeline:\0"
    "Cancel\0"
    "OK\0"
    "Remark:\0"
    // 50
    "Cancel\0"
    "OK\0"
    "Response\0"
    "Visibility\0"
    "Conditions\0"
    "Link to branch\0"
    "Add response\0"
    "Add a response to the responseblock\0"
    "Delete response\0"
    "Delete the selected response from the block\0"
    // 60
    "Close\0"
    "Response:\0"
    "Link to branch:\0"
    "Conditions:\0"
    "Always\0"
    "Once\0"
    "Once Game\0"
    "Flags:\0"
    "Leave loop if clicked\0"
    "Let character say response if clicked\0"
    // 70
    "OK\0"
    "Cancel\0"
    "Character real name:\0"
    "WME entity name:\0"
    "Cancel\0"
    "OK\0"
    "Tellwright V1.2                       "
    "A dialogue editor for point-and-click adventures                       "
    "Written by the Tellwright developers\0"
    "Export Vexa Script\0"
    "Add a new dialogue branch\0"
    "Associate files\0"
    // 80
    "Current project\0"
    "Choose project\0"
    "Choose a project file for referencing file paths to";

constexpr int CountTexts(const char* block, size_t size) {
  int count = 0;
  for (size_t i = 0; i < size; ++i)
    if (block[i] == '\0') ++count;
  return count;
}

static_assert(CountTexts(kTextBlock, sizeof kTextBlock) == UiTextTable::kCount,
              "the text block must hold exactly one text per index");

}  // namespace

UiTextTable::UiTextTable() {
  const char* next = kTextBlock;
  for (QString& text : texts_) {
    std::string_view bytes(next);
    text = TextToQString(bytes);
    next += bytes.size() + 1;
  }
}

}  // namespace tellwright

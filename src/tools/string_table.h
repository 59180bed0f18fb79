#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/dialogue_document.h"
#include "play/dialogue_player.h"

namespace tellwright {

// The engine's string table file ("string.tab"), as the engine reads it:
// - one entry a line: the key, a tab (or, in a line without a tab, the
//   first blank), the text; a line starting with ';' is a comment, an empty
//   line or one without a separator is skipped;
// - '|' in a text is a line break;
// - lines end in CR LF: the engine drops the last byte before each LF (and
//   of a last line without one), so a line without its CR loses its last
//   character;
// - a UTF-8 byte-order mark makes the game read every text as UTF-8;
//   without one, texts are Windows-1252;
// - keys are compared without letter case; of two entries with one key the
//   engine reports "Duplicate definition of string" and keeps the later.

enum class TableEncoding { Utf8, Windows1252 };

inline constexpr std::string_view kStringTableExtension = ".tab";

struct StringTableEntry {
  std::string key;   // as written, UTF-8
  std::string text;  // UTF-8, '|' read as a line break, not cut
  int line = 0;      // line of the file, from 1
  bool cut = false;  // the line lacks its CR: the engine drops the text's last byte
};

// Something the engine reads otherwise than it looks.
struct TableNote {
  enum Kind {
    kDuplicate,    // a key defined again; this later entry wins
    kCut,          // a line without CR before its LF
    kNoSeparator,  // neither tab nor blank: the engine skips the line
    kEmptyKey,     // the line starts with its separator
    kBadUtf8,      // a table with the byte-order mark holding bytes that are no UTF-8
    kLooksUtf8,    // a table without the byte-order mark whose texts look like UTF-8
  };
  Kind kind;
  int line = 0;
  std::string key;      // the entry's key, "" where there is none
  std::string message;  // UTF-8
};

struct StringTable {
  TableEncoding encoding = TableEncoding::Windows1252;
  std::vector<StringTableEntry> entries;  // in file order, duplicates included
  std::vector<TableNote> notes;           // in file order

  // The entry the engine uses for `key` (letter case ignored): the last one
  // with that key; nullptr when there is none.
  const StringTableEntry* find(std::string_view key) const;
};

StringTable ReadStringTable(std::string_view bytes);

// What the game shows for an entry: its text, less the byte the engine cuts
// off a line without CR (a whole character in a UTF-8 table, so the text
// stays readable).
std::string ShownTableText(const StringTableEntry& entry);

// A table written as the engine wants it: CR LF line ends, the byte-order
// mark for UTF-8, line breaks in texts as '|'.
class StringTableWriter {
 public:
  explicit StringTableWriter(TableEncoding encoding);
  // A comment line "; TEXT".
  void comment(std::string_view text);
  // `key`, a tab and `text`. Key and text are UTF-8; for a Windows-1252
  // table every character must have a byte there (see TableCanHold).
  void entry(std::string_view key, std::string_view text);
  std::string take() { return std::move(out_); }

 private:
  void append(std::string_view utf8);
  TableEncoding encoding_;
  std::string out_;
};

// True when a table in `encoding` can hold the UTF-8 text as it is.
bool TableCanHold(TableEncoding encoding, std::string_view utf8);

// The lookup the player takes for a table, its texts as the game shows them
// (ShownTableText) in `textsIn`: Windows-1252 to play the document as it is
// (a character Windows-1252 does not have shows as '?'), UTF-8 to play the
// document's UTF-8 copy (DocumentInUtf8), which shows every text of a UTF-8
// table. The table must outlive the lookup.
StringLookup TableLookup(const StringTable& table, TableEncoding textsIn);

// A copy of the document with its texts and names in UTF-8, so that it
// plays with a UTF-8 table in one encoding.
DialogueDocument DocumentInUtf8(const DialogueDocument& document);

}  // namespace tellwright

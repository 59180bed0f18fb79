#pragma once

#include <string>
#include <vector>

#include "document/dialogue_document.h"
#include "lint/lint.h"
#include "tools/string_keys.h"
#include "tools/string_table.h"

namespace tellwright {

// The keyed texts of a project as a string table holds them: the base
// language, which translations are made from and checked against.

struct BaseString {
  std::string key;                // as the engine reads it (script escapes read), UTF-8
  std::string text;               // as the game shows it without a table: escapes read, UTF-8
  std::vector<KeyableText> uses;  // where the project says it, in document order
};

// A keyed text that cannot go into a table as it is.
struct BaseStringNote {
  ProblemPlace place;
  std::string message;  // UTF-8
};

struct BaseStrings {
  // One per key and text, in the order of their first use; a key with two
  // different texts is listed twice (the engine keeps the later).
  std::vector<BaseString> strings;
  std::vector<BaseStringNote> notes;
};

// Keys a table cannot hold (StringKeyFault) are left out with a note; a
// key given two different texts, and a text holding '|', which a table
// shows as a line break, are noted.
BaseStrings CollectBaseStrings(const DialogueDocument& document);

// The base table: a comment line naming each branch before its entries,
// then an entry per string, in the order of branches and lines.
std::string WriteBaseTable(const DialogueDocument& document, const BaseStrings& strings, TableEncoding encoding);

}  // namespace tellwright

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "document/dialogue_document.h"
#include "lint/lint.h"
#include "tools/po_file.h"
#include "tools/string_table.h"

namespace tellwright {

// A translation (a string table or a translated PO file) checked against
// the project's keyed texts.

enum class TranslationFault {
  Missing,        // a key of the project the translation lacks: the game shows the base text
  NotInProject,   // a key no text of the project has (any longer)
  Untranslated,   // the text equals the base text, or a PO entry's msgstr is empty
  Fuzzy,          // a PO entry marked fuzzy: not yet a translation, taken as untranslated
  Stale,          // a PO entry translated from a base text that has changed since
  Duplicate,      // a key defined again; the later entry wins
  Cut,            // a table line without CR: the engine drops its last character
  Unreadable,     // a table line the engine skips or misreads, a PO entry without a key
};

struct TranslationFinding {
  TranslationFault fault = TranslationFault::Missing;
  Severity severity = Severity::Warning;  // Error for a missing key only
  int line = 0;                           // line of the translation file; 0 for a key it lacks
  std::string key;                        // UTF-8; "" where there is none
  std::string message;                    // UTF-8, without the file and line
  // Where the project says the key's text (its first use), for going there;
  // empty for a key the project does not have.
  ProblemPlace place;
};

// Findings in the order of the translation's lines, the keys it lacks
// first (in the project's order).
std::vector<TranslationFinding> CheckStringTable(const DialogueDocument& document, const StringTable& table);
std::vector<TranslationFinding> CheckPoFile(const DialogueDocument& document, const PoFile& file);

// True when a finding is a missing key, which `strings check` exits 1 for.
bool AnyMissingKey(const std::vector<TranslationFinding>& findings);

// Reads a translation file and checks it: a PO file when its name ends in
// .po or .pot, else a string table. Not ok when the file cannot be read or
// is no PO file (with the line).
struct TranslationCheck {
  Status status;
  std::vector<TranslationFinding> findings;
};
TranslationCheck CheckTranslationFile(const DialogueDocument& document, const std::string& path);

// A translation file as the game would use it: a string table as it is, a
// translated PO file as `strings import` makes it into a UTF-8 table. Not
// ok when the file cannot be read or is no PO file (with the line).
struct TranslationTable {
  Status status;
  StringTable table;
};
TranslationTable ReadTranslationTable(const std::string& path);

// A finding as a problem of the project, for the editor's Problems list: at
// the place of the project's text with the key (no place for a key the
// project lacks), in the text's field, the message led by the translation's
// `fileName` and line ("de.tab:5: ..."), Windows-1252 as the lint's
// messages are, the rule "translation-" and the fault ("translation-stale").
Problem AsProblem(const TranslationFinding& finding, std::string_view fileName);

}  // namespace tellwright

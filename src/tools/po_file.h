#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "tools/base_strings.h"
#include "tools/string_table.h"

namespace tellwright {

// gettext PO files, the form translators' tools (Poedit, Weblate, Lokalize,
// ...) work in. A template (.pot) holds the base strings: msgctxt the key,
// msgid the base text, "#:" the branch and line, "#." the character; a
// translated file adds the msgstr. Texts are UTF-8.

inline constexpr std::string_view kPoTemplateExtension = ".pot";

struct PoEntry {
  bool hasContext = false;
  std::string context;  // msgctxt: the key
  std::string id;       // msgid: the base text it was translated from
  std::string str;      // msgstr (of a plural entry, msgstr[0])
  bool fuzzy = false;   // "#, fuzzy": the translator's tool guessed it; not yet a translation
  std::vector<std::string> references;  // "#:" words, "Start:3"
  std::vector<std::string> comments;    // "#." lines
  int line = 0;  // file line of its msgctxt, else of its msgid, from 1
};

struct PoFile {
  std::string header;  // the header entry's msgstr ("Content-Type: ...\n...")
  bool headerFuzzy = false;  // a template's header, whose fields the translator's tool fills in
  std::vector<PoEntry> entries;  // without the header and obsolete ("#~") entries
};

struct PoRead {
  Status status;  // not ok: the file is no PO file as gettext reads it, with the line
  PoFile file;
};

// Reads a PO file in UTF-8, or in the charset its header names when that is
// Windows-1252 or ISO-8859-1 (texts come back in UTF-8); other charsets are
// refused.
PoRead ReadPoFile(std::string_view bytes);

// A PO file with a header entry and `file`'s entries; strings escaped as
// gettext writes them, texts with line breaks as one quoted line each.
std::string WritePoFile(const PoFile& file);

// The template of a project's base strings (CollectBaseStrings), its
// header naming the project (`projectName`) and charset UTF-8, with the
// fields a translator's tool fills in (language, translator, date) as
// gettext's own templates leave them.
PoFile PoTemplate(const DialogueDocument& document, const BaseStrings& strings, std::string_view projectName);

// A string table of a translated PO file's translations, in the file's
// order with a comment line for each branch its references name. Entries
// without a msgctxt have no key and are left out; so are untranslated and
// fuzzy ones, which the game then shows in the base language. Refused, with
// the PO file's line, when a translation has a character the table's
// encoding cannot hold.
struct PoImport {
  Status status;
  std::string table;  // the table's bytes
  int written = 0;
  int untranslated = 0;  // empty msgstr
  int fuzzy = 0;
  int withoutKey = 0;
};
PoImport TableFromPo(const PoFile& file, TableEncoding encoding);

}  // namespace tellwright

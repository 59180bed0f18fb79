#pragma once

#include <string>
#include <string_view>

#include "base/byte_sink.h"
#include "document/dialogue_document.h"
#include "lint/lint.h"

namespace tellwright {

// The voice-over recording script: every spoken line of the dialogue as a
// table for the recording studio, in CSV as spreadsheet programs read it:
// UTF-8 with a byte-order mark, rows ended by CR LF, fields quoted as RFC
// 4180 asks (a field holding a comma, a quote, a CR or an LF is put in
// quotes, its quotes doubled).
//
// A header row, then one row per spoken line, branch by branch, line by line:
//   Branch, Line, Response, Character, Entity, Key, Text, Sound file, Words,
//   Sound file exists
// - Line counts from 1 as the line list shows it.
// - A talkline gives one row per character entity with the line's real name
//   (each of them says it in the game), or one row with an empty entity when
//   no character in the list has that name. Response is empty.
// - A responseblock line gives, after it, a row for every response of its
//   block that the character says (the say flag), with the responseblock
//   line's number, the response's number from 1, the line's character, no
//   sound file; again one row per entity. A block used by two lines is
//   listed at both: each line's character says it there.
// - Key: the text's string-table key (tools/string_keys.h), which names the
//   speech file the engine plays for a talkline without a sound file; Text
//   is the text without it.
// - Words: CountWords of the text (tools/dialogue_stats.h).
// - Sound file exists: "yes" or "no" for a sound file looked up under the
//   engine project's folder as the lint looks it up (letter case ignored,
//   "\" or "/" between folders); empty when the row has no sound file or
//   that folder is not on this machine.
inline constexpr std::string_view kRecordingScriptExtension = ".csv";

// `listFolder` lists the folders of the engine project; empty: the real file
// system.
// Written to `out` as it is made.
void WriteRecordingScript(const DialogueDocument& document, OutputBuffer& out, const FolderLookup& listFolder = {});
std::string WriteRecordingScript(const DialogueDocument& document, const FolderLookup& listFolder = {});

// One field of a CSV row as RFC 4180 writes it.
std::string CsvField(std::string_view text);

}  // namespace tellwright

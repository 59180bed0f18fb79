#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace tellwright {

// Beside a project "tale.tlwdlg" live the spelling's two files of the
// project, outside the project file so that the engine's tools never see
// them and version control shows them apart:
//   tale.words.txt  the project dictionary: UTF-8, one word a line, sorted;
//   tale.spelling   the language its texts are checked in ("en_US", or
//                   "None" for no check), one line.

// The file names for the project file `projectFile`.
std::string ProjectWordListFile(std::string_view projectFile);
std::string ProjectLanguageFile(std::string_view projectFile);

// The language value that turns the check off.
inline constexpr std::string_view kNoSpellingLanguage = "None";

struct WordListReading {
  Status status;                   // a fault names the file and its line
  std::vector<std::string> words;  // Windows-1252, as the file holds them
};

// The words of a word list; a missing file is an empty list. Blank lines
// and the spaces around a word are skipped; a line that is no UTF-8, or that
// holds a character the project's texts cannot hold, is refused.
WordListReading ReadWordList(const std::string& file);

// The file's bytes for `words`: UTF-8, sorted by their bytes, each once, each
// on a line of its own, LF line ends.
std::string WordListText(std::vector<std::string> words);

// Adds `word` (Windows-1252) to the list in `file`, writing the file anew
// (through a temporary file, so that a failed write leaves the old list
// whole). A word already there leaves the file as it is.
Status AddToWordList(const std::string& file, std::string_view word);

// The language stored beside a project; nothing when no choice was stored.
std::optional<std::string> ReadProjectLanguage(const std::string& file);
Status WriteProjectLanguage(const std::string& file, std::string_view language);

}  // namespace tellwright

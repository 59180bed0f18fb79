#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/dialogue_document.h"

namespace tellwright {

// How bad a problem is.
// Error: the generated script fails to compile or to run (or an export asks
// "Really save?" because of it). Warning: almost surely not what the writer
// meant. Note: worth a look, often fine.
enum class Severity { Error, Warning, Note };

// "error", "warning" or "note".
std::string_view SeverityName(Severity severity);

// Where a problem lives. Every index counts from 0; -1 where a part does not
// apply. A problem in a response names its block slot and response and, when
// a line uses the block, the first such line (branch and line) so the block
// can be opened from there. A problem in the character list names the
// character and, when one says something, the first line it speaks in.
struct ProblemPlace {
  int branch = -1;     // branch index (document.branch(i))
  int line = -1;       // line index in that branch
  int response = -1;   // response index in the block
  int blockSlot = -1;  // slot in document.responseBlocks
  int character = -1;  // index in document.characters

  friend bool operator==(const ProblemPlace&, const ProblemPlace&) = default;
};

// The field of the place that holds the problem; Record when it is the place
// as a whole (a line, a response, a character, a block, a branch's name).
enum class ProblemField {
  Record,
  Character,   // a line's character
  Text,        // a line's text, a response's text
  SoundFile,   // a talkline's sound file
  BlockId,     // a responseblock line's block id
  EntityName,  // a character's entity name
  Condition,   // a response's condition
  Link,        // a response's link
};

struct Problem {
  Severity severity = Severity::Error;
  ProblemPlace place;
  std::string rule;     // short kebab-case id, e.g. "branch-name-keyword"
  std::string message;  // what is wrong; Windows-1252 like the document's texts
  std::string hint;     // what to do about it; Windows-1252
  ProblemField field = ProblemField::Record;

  friend bool operator==(const Problem&, const Problem&) = default;
};

// Lists a folder: the names of its entries, or nothing when there is no such
// folder. Folder and names are Windows-1252, the folder with "/" between its
// parts.
using FolderLookup = std::function<std::optional<std::vector<std::string>>(const std::string& folder)>;

// The real file system (names converted between Windows-1252 and the
// system's encoding).
FolderLookup FileSystemFolderLookup();

struct LintOptions {
  // Look for the talklines' sound files under the engine project's folder
  // (only when that folder exists).
  bool checkSoundFiles = true;
  // How folders are listed for the sound files; empty: the real file system.
  // The lint lists each folder at most once per run.
  FolderLookup listFolder = {};
};

// Every problem of the document, in document order: what concerns the whole
// file, the character list, then branch by branch, line by line (a line's
// responses after it), then the response blocks no line uses. Reads the document only; cheap enough to
// run after every change.
std::vector<Problem> LintDialogue(const DialogueDocument& document, const LintOptions& options = {});

struct ProblemCounts {
  int errors = 0;
  int warnings = 0;
  int notes = 0;
};
ProblemCounts CountProblems(const std::vector<Problem>& problems);

// The place as a writer reads it: the branch's name and the rows of the line
// list and the responseblock editor counted from 1, such as
// "Start, line 3, response 2"; "character Guy" for the character list; ""
// when the place names nothing. Windows-1252.
std::string DescribePlace(const DialogueDocument& document, const ProblemPlace& place);

}  // namespace tellwright

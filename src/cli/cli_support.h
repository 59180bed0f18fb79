#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"
#include "document/dialogue_document.h"

namespace tellwright::cli {

// Exit codes, the same for every subcommand.
enum ExitCode : int {
  kExitOk = 0,
  kExitCheckFault = 1,  // the dialogue check found a fault
  kExitPlayFault = 1,   // play: the dialogue stopped where the game would break
  kExitDifferent = 1,   // diff: the projects differ
  kExitMergeConflict = 1,  // merge: merged, with conflicts left to resolve
  kExitError = 2,       // usage, unreadable or damaged input, a file not written
};

// "-" as an output names standard output.
inline constexpr std::string_view kStandardOutput = "-";

// Prints "FILE: SEVERITY: MESSAGE" (or "FILE:LINE: ...") on standard error.
void PrintDiagnostic(std::string_view file, std::string_view severity, std::string_view message, int line = 0);

// Loads a project; on failure prints why (with the line where known).
std::optional<DialogueDocument> LoadProjectFile(const std::string& path);

// Writes `bytes` to `target` (through a temporary file renamed over it), or
// to standard output unchanged for "-"; on failure prints why.
bool WriteOutput(const std::string& target, std::string_view bytes);

// `path` completed with `extension` as the editor's save requesters do;
// standard output stays as it is.
std::string OutputPath(const std::string& path, std::string_view extension);

// A file name as given, in UTF-8 for the output (a name that is no UTF-8
// is read as Windows-1252).
std::string FileName(const std::string& path);

// `text` (UTF-8) as a JSON string in quotes: quotes, backslashes and control
// characters escaped.
std::string JsonString(std::string_view text);

}  // namespace tellwright::cli

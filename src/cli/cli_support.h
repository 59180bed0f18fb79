#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "base/byte_sink.h"
#include "base/status.h"
#include "document/dialogue_document.h"
#include "document/load_result.h"
#include "lint/file_lines.h"

namespace tellwright::cli {

// Exit codes, the same for every subcommand.
enum ExitCode : int {
  kExitOk = 0,
  kExitCheckFault = 1,     // the dialogue check found a fault
  kExitPlayFault = 1,      // play: the dialogue stopped where the game would break
  kExitDifferent = 1,      // diff: the projects differ
  kExitMergeConflict = 1,  // merge: merged, with conflicts left to resolve
  kExitMissingKey = 1,     // strings check: a translation lacks a key of the project
  kExitError = 2,          // usage, unreadable or damaged input, a file not written
};

// "-" as an output names standard output.
inline constexpr std::string_view kStandardOutput = "-";

// A file name as given, in UTF-8 for the output (a name that is no UTF-8
// is read as Windows-1252).
std::string FileName(std::string_view path);

// Prints "FILE: SEVERITY: MESSAGE" (or "FILE:LINE: ...") on standard error,
// FILE as FileName shows it.
// MESSAGE is UTF-8: a document's texts are converted before (Cp1252ToUtf8).
void PrintDiagnostic(std::string_view file, std::string_view severity, std::string_view message, int line = 0);

// Prints the warnings of a file that loaded, one "FILE:LINE: warning: ..." each.
void PrintLoadWarnings(std::string_view file, const LoadResult& result);

// Loads a project; on failure prints why (with the line where known); prints
// the warnings of one that loaded.
std::optional<DialogueDocument> LoadProjectFile(const std::string& path);

// On POSIX, a standard stream the program was started without (closed by
// the caller) is held by a read-only /dev/null: no file the program opens
// takes its number, so output meant for it can never land in that file, and
// writing to it still fails and is reported.
void KeepStandardStreamsApart();

// Flushes standard output and standard error. When what was written to
// standard output did not all arrive (a full disk, a closed pipe or stream),
// says so once as "<stdout>: error: cannot write to standard output...".
// Returns whether both streams took everything.
bool OutputArrived();

// `exitCode`, or at least kExitError when the output did not all arrive.
// Every subcommand ends through it (main does it for all of them).
int WithOutputChecked(int exitCode);

// Keeps `owner` until the process ends and never frees it: the system takes
// a large document's memory back at once, where letting half a million
// texts and lines go one by one costs a short command a noticeable share of
// its time. Only for what a command holds to its end.
void KeepUntilExit(std::shared_ptr<const void> owner);

// `value` moved where it stays until the process ends (KeepUntilExit).
template <typename T>
T& KeptUntilExit(T&& value) {
  auto kept = std::make_shared<std::remove_reference_t<T>>(std::move(value));
  KeepUntilExit(kept);
  return *kept;
}

// What a subcommand writes, handed on as it is made, so a large output is
// never held whole.
using Produce = std::function<void(OutputBuffer& out)>;

// Writes to `target` (through a temporary file renamed over it), or to
// standard output unchanged for "-"; on failure prints why.
bool WriteOutput(const std::string& target, const Produce& produce);
bool WriteOutput(const std::string& target, std::string_view bytes);

// Writes to standard output, bytes unchanged (no CR LF translation); on
// failure prints why.
bool WriteStandardOutput(const Produce& produce);

// Why `output` cannot name the file an -o option writes ("" when it can):
// an empty name, or one that names a folder, would write a hidden file
// (".txt", "folder/.txt") the user never asked for.
std::string OutputNameFault(const std::string& output);

// The file an -o option writes: `output` completed with `extension` as the
// editor's save requesters do (standard output stays as it is). Nothing,
// with the reason printed, when that file is the project `input` itself
// (under any name) which the write would destroy.
std::optional<std::string> OutputTarget(const std::string& output, std::string_view extension,
                                        const std::string& input);

// Where the places of a loaded project stand in its file: the line of a
// field (ProjectFileLines), a line earlier in a file without the version
// line, which is read with everything a line earlier; 0 when the file holds
// none of the place.
class ProjectLines {
 public:
  ProjectLines(const std::string& path, const DialogueDocument& document);
  int lineOf(const ProblemPlace& place, ProblemField field = ProblemField::Record) const;

 private:
  ProjectFileLines lines_;
  int shift_ = 0;
};

// `text` (UTF-8) as a JSON string in quotes: quotes, backslashes and control
// characters escaped.
std::string JsonString(std::string_view text);
// The same, appended to `out`.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace tellwright::cli

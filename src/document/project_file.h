#pragma once

#include <string>
#include <string_view>

#include "base/byte_sink.h"
#include "base/status.h"
#include "document/dialogue_document.h"
#include "document/load_result.h"

namespace tellwright {

inline constexpr std::string_view kProjectVersionLine = "V1.2";
inline constexpr std::string_view kProjectExtension = ".tlwdlg";

// The bytes of a project file for `document` (LF line ends).
std::string WriteProject(const DialogueDocument& document);
// The same, handed to `out` as they are made.
void WriteProject(const DialogueDocument& document, OutputBuffer& out);

// Parses project file bytes into `out`. `out` should be a fresh document: a
// file without the version line keeps out.engineProjectPath as it is. On a
// damaged file returns the fault with its line number; `out` is then in an
// unspecified state and must be thrown away. A file that ends early loads,
// its missing fields empty, with a warning at its last line. Messages are
// UTF-8: document texts they quote are converted, like the file names.
LoadResult ReadProject(std::string_view bytes, DialogueDocument& out);

// Loads the project at `path`. Parses into a fresh document that starts from
// the open document's engine project path, and replaces `document` only when
// the whole file was read; otherwise `document` is untouched and the fault is
// returned. On success currentFile is `path`, currentBranch 0, changed 0, and
// the result's warnings tell what the user should know of the file.
LoadResult LoadProject(const std::string& path, DialogueDocument& document);

// Saves `document` to `path` through a temporary file renamed over the
// target. On failure the old file is left whole. Does not touch `document`.
Status SaveProject(const DialogueDocument& document, const std::string& path);

}  // namespace tellwright

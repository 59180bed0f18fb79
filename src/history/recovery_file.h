#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "document/dialogue_document.h"

namespace tellwright {

// A recovery file keeps the unsaved work of a running editor, so that a
// crash loses nothing: the document as a project file would hold it, the
// path of the project file it belongs to and when it was written, under a
// checksum that tells a damaged file from a whole one.
inline constexpr std::string_view kRecoveryMarker = "Tellwright recovery 1";
inline constexpr std::string_view kRecoveryExtension = ".tlwrec";

struct RecoveredWork {
  DialogueDocument document;  // changed, with currentFile set to projectPath
  std::string projectPath;    // "" for a project never saved
  int64_t savedAt = 0;        // seconds since 1970 (UTC)
};

std::string WriteRecovery(const DialogueDocument& document, int64_t savedAt);
// The same from the project file's text (WriteProject) and the document's
// currentFile: the document is needed only for the text, the rest can be
// done away from it.
std::string RecoveryBytes(std::string_view projectPath, std::string_view projectText, int64_t savedAt);

// Recovery files hold a writer's unsaved work: their folder (made with its
// parents when missing) and the files in it are open to the user alone.
Status MakeRecoveryFolder(const std::string& folder);
Status SaveRecoveryFile(const std::string& file, std::string_view bytes);

// Reads a whole recovery file. A file that is not one, is cut short, or
// does not match its checksum is refused as damaged, never read in part.
Status ReadRecovery(std::string_view bytes, RecoveredWork& out);

}  // namespace tellwright

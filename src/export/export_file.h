#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "document/dialogue_document.h"

namespace tellwright {

// Why an export must not write `path`: it is the document's own project
// file (under any name: a link, another spelling), which the export would
// destroy. "" when it may.
std::string ExportTargetFault(const DialogueDocument& document, const std::string& path);

// Writes an export of `document` to `path` through a temporary file renamed
// over it; refuses the project file itself.
Status WriteExportFile(const DialogueDocument& document, const std::string& path, std::string_view bytes);

}  // namespace tellwright

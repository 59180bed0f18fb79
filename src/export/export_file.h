#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/byte_sink.h"
#include "base/status.h"
#include "document/dialogue_document.h"

namespace tellwright {

// Why an export must not write `path`: it is the document's own project
// file (under any name: a link, another spelling), which the export would
// destroy. "" when it may.
std::string ExportTargetFault(const DialogueDocument& document, const std::string& path);

// What an export writes into its file, as it is made.
using ExportWriter = std::function<void(OutputBuffer& out)>;

// Writes an export of `document` to `path` through a temporary file renamed
// over it; refuses the project file itself. The output goes to the disk as
// `write` makes it, so it is never held whole however large it is.
Status WriteExportFile(const DialogueDocument& document, const std::string& path, const ExportWriter& write);

}  // namespace tellwright

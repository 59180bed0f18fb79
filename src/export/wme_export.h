#pragma once

#include <string>

#include "base/byte_sink.h"
#include "base/status.h"
#include "document/dialogue_document.h"

namespace tellwright {

// The whole project as one WME script: a function per branch, a response
// loop per responseblock line. CR LF line ends, texts verbatim. Written to
// `out` as it is made.
void WriteWmeScript(const DialogueDocument& document, OutputBuffer& out);
std::string ExportWmeScriptBytes(const DialogueDocument& document);

// Writes the WME script to `path` (through a temporary file renamed over it);
// reports a file that cannot be written.
Status ExportWmeScript(const DialogueDocument& document, const std::string& path);

}  // namespace tellwright

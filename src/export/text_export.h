#pragma once

#include <string>

#include "base/byte_sink.h"
#include "base/status.h"
#include "document/dialogue_document.h"

namespace tellwright {

// Width of the speaker column: a name shorter than this is padded so the
// text starts in the same column on every line.
inline constexpr int kSpeakerColumnWidth = 35;

// The dialogue as a screenplay: per branch a title, what the characters say
// (talklines and said responses) and the remarks. CR LF line ends. Written
// to `out` as it is made.
void WriteTextListing(const DialogueDocument& document, OutputBuffer& out);
std::string ExportTextBytes(const DialogueDocument& document);

// Writes the listing to `path` through a temporary file renamed over it;
// reports a file that cannot be written.
Status ExportText(const DialogueDocument& document, const std::string& path);

}  // namespace tellwright

#include "tools/recording_script.h"

namespace tellwright {

std::string WriteRecordingScript(const DialogueDocument&, const FolderLookup&) { return {}; }

std::string CsvField(std::string_view text) { return std::string(text); }

}  // namespace tellwright

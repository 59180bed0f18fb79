#include "tools/export_formats.h"

#include <stdexcept>

#include "base/path_names.h"
#include "export/export_file.h"
#include "export/file_extensions.h"
#include "export/text_export.h"
#include "export/wme_export.h"
#include "tools/recording_script.h"

namespace tellwright {

namespace {

// The voice-over script looks its sound files up on the real file system.
void WriteVoiceOverScript(const DialogueDocument& document, OutputBuffer& out) {
  WriteRecordingScript(document, out);
}

constexpr ExportFormat kFormats[] = {
    {ExportFormatId::Wme, "wme", "One WME script for the whole project.", "Script file", "Export WME script",
     "WME script|*.script", kScriptExtension, true, WriteWmeScript},
    {ExportFormatId::Vexa, "vexa", "One Vexa script per branch, named BASE_BRANCH.script.", "Base path",
     "Export Vexa script", "Vexa script|*.script", "", true, nullptr},
    {ExportFormatId::Text, "text", "A screenplay-like text listing (no dialogue check).", "Text file",
     "Export dialogue as text", "Text|*.txt", kTextExtension, false, WriteTextListing},
    {ExportFormatId::RecordingScript, "vo",
     "A voice-over recording script: every spoken line as CSV (no dialogue check).", "CSV file",
     "Export recording script", "Recording script (CSV)|*.csv", kRecordingScriptExtension, false,
     WriteVoiceOverScript},
};

}  // namespace

std::span<const ExportFormat> ExportFormats() { return kFormats; }

const ExportFormat& FindExportFormat(ExportFormatId id) {
  for (const ExportFormat& format : kFormats)
    if (format.id == id) return format;
  throw std::out_of_range("no such export format");
}

std::string ExportPath(const ExportFormat& format, std::string_view chosen) {
  if (format.extension.empty()) return std::string(chosen);
  return WithExtension(chosen, format.extension);
}

ExportOutcome RunExport(const ExportFormat& format, const DialogueDocument& document, const std::string& path) {
  ExportOutcome outcome;
  if (format.filePerBranch()) {
    VexaExportResult result = ExportVexaScript(document, path);
    outcome.written = result.written;
    outcome.skipped = std::move(result.skipped);
    return outcome;
  }
  outcome.status = WriteExportFile(document, path, [&](OutputBuffer& out) { format.write(document, out); });
  if (outcome.status) outcome.written = 1;
  return outcome;
}

}  // namespace tellwright

#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_sink.h"
#include "base/status.h"
#include "document/dialogue_document.h"
#include "export/vexa_export.h"

namespace tellwright {

// The formats a project is exported to. The command line and the editor
// both walk this table: what a format is called, how a chosen file name is
// completed, whether the dialogue check runs first, and what writes it.
enum class ExportFormatId { Wme, Vexa, Text, RecordingScript };

struct ExportFormat {
  ExportFormatId id;
  std::string_view name;            // the command line's: "wme", "vexa", "text", "vo"
  std::string_view description;     // what the command line's help says of it
  std::string_view fileKind;        // what the chosen name names: "Script file", ...
  std::string_view requesterTitle;  // the editor's save requester: "Export WME script"
  std::string_view filter;          // and its filter: "WME script|*.script"
  // Appended to a chosen name whose lower-cased end differs. "": the name is
  // used as it is (the Vexa export's base of every branch file's name).
  std::string_view extension;
  // The dialogue check runs first; on a fault the user decides whether the
  // export goes on.
  bool checkFirst;
  // Writes the one file of the format, as it is made; nullptr for the
  // Vexa export, which writes a file per branch.
  void (*write)(const DialogueDocument& document, OutputBuffer& out);

  bool filePerBranch() const { return write == nullptr; }
};

std::span<const ExportFormat> ExportFormats();
const ExportFormat& FindExportFormat(ExportFormatId id);

// The path an export writes for the name the user chose: completed with the
// format's extension as the save requesters do.
std::string ExportPath(const ExportFormat& format, std::string_view chosen);

// What an export wrote.
struct ExportOutcome {
  Status status;                           // the one file's failure
  int written = 0;                         // files written
  std::vector<VexaSkippedBranch> skipped;  // a file per branch: those not written, and why

  bool ok() const { return status.ok && skipped.empty(); }
};

// Exports `document` to `path` (already completed, see ExportPath), each
// file through a temporary file renamed over its target, never over the
// project itself. The output goes to the disk as it is made.
ExportOutcome RunExport(const ExportFormat& format, const DialogueDocument& document, const std::string& path);

}  // namespace tellwright

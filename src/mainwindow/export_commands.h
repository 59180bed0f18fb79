#pragma once

#include "tools/export_formats.h"

namespace tellwright {

class EditorSession;

// The File menu's exports: Export WME script, Export Vexa Script, Export
// text and Export recording script, each as the table of export formats
// describes it. The script exports run the dialogue check first and, on a
// fault, go on only when the user says so.
class ExportCommands {
 public:
  explicit ExportCommands(EditorSession& session) : session_(session) {}

  void run(ExportFormatId id);
  void exportWme() { run(ExportFormatId::Wme); }
  void exportVexa() { run(ExportFormatId::Vexa); }
  void exportText() { run(ExportFormatId::Text); }
  // File > Export recording script: every spoken line as a CSV table for
  // the voice-over recording.
  void exportRecordingScript() { run(ExportFormatId::RecordingScript); }

 private:
  bool checkedOrConfirmed();
  void report(const ExportFormat& format, const ExportOutcome& outcome, const std::string& path);

  EditorSession& session_;
};

}  // namespace tellwright

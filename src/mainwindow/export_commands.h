#pragma once

namespace tellwright {

class EditorSession;

// Export WME script, Export Vexa Script and Export text. The two script
// exports run the dialogue check first and, on a fault, go on only when the
// user says so.
class ExportCommands {
 public:
  explicit ExportCommands(EditorSession& session) : session_(session) {}

  void exportWme();
  void exportVexa();
  void exportText();
  // File > Export recording script: every spoken line as a CSV table for
  // the voice-over recording.
  void exportRecordingScript();

 private:
  bool checkedOrConfirmed();

  EditorSession& session_;
};

}  // namespace tellwright

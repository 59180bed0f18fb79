#include "mainwindow/export_commands.h"

#include "base/path_names.h"
#include "export/dialogue_check.h"
#include "export/export_file.h"
#include "export/file_extensions.h"
#include "export/text_export.h"
#include "export/vexa_export.h"
#include "export/wme_export.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/file_messages.h"
#include "tools/recording_script.h"
#include "ui/document_text.h"
#include "ui/user_dialogs.h"

namespace tellwright {

bool ExportCommands::checkedOrConfirmed() {
  if (!session_.commitOpenEdits()) return false;
  CheckResult check = CheckDialogue(session_.document());
  if (check) return true;
  UserDialogs& dialogs = session_.dialogs();
  dialogs.showMessage(QStringLiteral("Error:"), TextToQString(check.message));
  return dialogs.askYesNo(QStringLiteral("Really save?"),
                          QStringLiteral("Errors occured during dialogue checking. Do you really want to save to "
                                         "script (it possibly won't run)?"));
}

void ExportCommands::exportWme() {
  if (!checkedOrConfirmed()) return;
  std::optional<QString> chosen = session_.dialogs().chooseSaveFile(QStringLiteral("Export WME script"), QString(),
                                                                    QStringLiteral("WME script|*.script"));
  if (!chosen) return;
  std::string path = WithExtension(PathFromQString(*chosen), kScriptExtension);
  Status status = ExportWmeScript(session_.document(), path);
  if (!status) session_.showError(FileFaultMessage(FileFault::ExportScript, status, path));
}

void ExportCommands::exportVexa() {
  if (!checkedOrConfirmed()) return;
  std::optional<QString> chosen = session_.dialogs().chooseSaveFile(QStringLiteral("Export Vexa script"), QString(),
                                                                    QStringLiteral("Vexa script|*.script"));
  if (!chosen) return;
  // The chosen name is the base of every branch's file, used as it is.
  VexaExportResult result = ExportVexaScript(session_.document(), PathFromQString(*chosen));
  if (result.ok()) return;
  QString message = QStringLiteral("%1 of %2 branch scripts could not be written:\n")
                        .arg(result.skipped.size())
                        .arg(result.skipped.size() + static_cast<size_t>(result.written));
  for (const VexaSkippedBranch& skipped : result.skipped)
    message += QStringLiteral("\n%1: %2")
                   .arg(TextToQString(session_.document().branch(skipped.branch).name), PathToQString(skipped.reason));
  session_.showError(message);
}

void ExportCommands::exportText() {
  if (!session_.commitOpenEdits()) return;
  std::optional<QString> chosen = session_.dialogs().chooseSaveFile(QStringLiteral("Export dialogue as text"),
                                                                    QString(), QStringLiteral("Text|*.txt"));
  if (!chosen) return;
  std::string path = WithExtension(PathFromQString(*chosen), kTextExtension);
  Status status = ExportText(session_.document(), path);
  if (!status) session_.showError(FileFaultMessage(FileFault::ExportText, status, path));
}

void ExportCommands::exportRecordingScript() {
  if (!session_.commitOpenEdits()) return;
  std::optional<QString> chosen = session_.dialogs().chooseSaveFile(
      QStringLiteral("Export recording script"), QString(), QStringLiteral("Recording script (CSV)|*.csv"));
  if (!chosen) return;
  std::string path = WithExtension(PathFromQString(*chosen), kRecordingScriptExtension);
  Status status = WriteExportFile(session_.document(), path, WriteRecordingScript(session_.document()));
  if (!status) session_.showError(FileFaultMessage(FileFault::ExportRecordingScript, status, path));
}

}  // namespace tellwright

#include "mainwindow/export_commands.h"

#include "export/dialogue_check.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/file_messages.h"
#include "ui/document_text.h"
#include "ui/user_dialogs.h"

namespace tellwright {

namespace {

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

FileFault FaultOf(ExportFormatId id) {
  switch (id) {
    case ExportFormatId::Text:
      return FileFault::ExportText;
    case ExportFormatId::RecordingScript:
      return FileFault::ExportRecordingScript;
    default:
      return FileFault::ExportScript;
  }
}

}  // namespace

bool ExportCommands::checkedOrConfirmed() {
  CheckResult check = CheckDialogue(session_.document());
  if (check) return true;
  UserDialogs& dialogs = session_.dialogs();
  dialogs.showMessage(QStringLiteral("Error:"), TextToQString(check.message));
  return dialogs.askYesNo(QStringLiteral("Really save?"),
                          QStringLiteral("Errors occured during dialogue checking. Do you really want to save to "
                                         "script (it possibly won't run)?"));
}

void ExportCommands::run(ExportFormatId id) {
  const ExportFormat& format = FindExportFormat(id);
  if (!session_.commitOpenEdits()) return;
  if (format.checkFirst && !checkedOrConfirmed()) return;
  std::optional<QString> chosen =
      session_.dialogs().chooseSaveFile(Latin1(format.requesterTitle), QString(), Latin1(format.filter));
  if (!chosen) return;
  // The Vexa export takes the chosen name as the base of every branch's
  // file, as it is.
  std::string path = ExportPath(format, PathFromQString(*chosen));
  report(format, RunExport(format, session_.document(), path), path);
}

void ExportCommands::report(const ExportFormat& format, const ExportOutcome& outcome, const std::string& path) {
  if (outcome.ok()) return;
  if (!outcome.status) {
    session_.showError(FileFaultMessage(FaultOf(format.id), outcome.status, path));
    return;
  }
  QString message = QStringLiteral("%1 of %2 branch scripts could not be written:\n")
                        .arg(outcome.skipped.size())
                        .arg(outcome.skipped.size() + static_cast<size_t>(outcome.written));
  for (const VexaSkippedBranch& skipped : outcome.skipped)
    message += QStringLiteral("\n%1: %2")
                   .arg(TextToQString(session_.document().branch(skipped.branch).name), PathToQString(skipped.reason));
  session_.showError(message);
}

}  // namespace tellwright

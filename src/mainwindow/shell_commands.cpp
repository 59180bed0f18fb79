#include "mainwindow/shell_commands.h"

#include "mainwindow/editor_session.h"
#include "os/program_path.h"
#include "platform/associate_project_files.h"
#include "platform/desktop_integration.h"
#include "ui/document_text.h"
#include "ui/user_dialogs.h"

namespace tellwright {

void ShellCommands::associateFiles() {
  if (!session_.commitOpenEdits()) return;
  std::optional<std::string> program = RunningProgramPath();
  QString title = PathToQString(kAssociateTitle);
  if (!program) {
    session_.dialogs().showMessage(title, QStringLiteral("The path of the running program is not known, so no file "
                                                         "association can name it."));
    return;
  }
  AssociationRequest request;
  request.program = *program;
  Status status = AssociateProjectFiles(request, session_.registry(), session_.reporter());
  if (status) {
    session_.dialogs().showInformation(title, QStringLiteral("Dialogue projects (*.tlwdlg) now open in Tellwright."));
  } else {
    session_.dialogs().showMessage(title, PathToQString(status.message));
  }
}

}  // namespace tellwright

#include "mainwindow/recovery_offer.h"

#include <QFile>
#include <QLocale>

#include "base/path_names.h"
#include "history/recovery_file.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/recovery_keeper.h"
#include "os/atomic_write.h"
#include "ui/document_text.h"
#include "ui/user_dialogs.h"

namespace tellwright {

namespace {

const QString kTitle = QStringLiteral("Unsaved changes");

// Sets a damaged file aside under a name that is not offered again.
QString KeepAside(const QString& file) {
  QString aside = file + QStringLiteral(".damaged");
  QFile::remove(aside);
  QFile::rename(file, aside);
  return aside;
}

}  // namespace

QString RestoreQuestion(const std::string& projectPath, const QDateTime& savedAt) {
  QString name = projectPath.empty() ? QStringLiteral("a new project") : PathToQString(FileNamePart(projectPath));
  QString time = QLocale().toString(savedAt.toLocalTime(), QLocale::ShortFormat);
  return QStringLiteral("Tellwright found unsaved changes to %1 from %2. Restore them?").arg(name, time);
}

bool OfferLeftWork(EditorSession& session) {
  UserDialogs& dialogs = session.dialogs();
  for (LeftWork& left : TakeLeftWork(session.recovery().folder(), session.recovery().file())) {
    std::string bytes;
    RecoveredWork work;
    Status status = ReadWholeFile(PathFromQString(left.file), bytes);
    if (status) status = ReadRecovery(bytes, work);
    if (!status) {
      QString aside = KeepAside(left.file);
      dialogs.showMessage(kTitle, QStringLiteral("Unsaved changes were found but cannot be restored. %1\n\n"
                                                 "The file was kept as %2.")
                                      .arg(PathToQString(status.message), aside));
      continue;
    }
    Answer answer =
        dialogs.askChoice(kTitle, RestoreQuestion(work.projectPath, QDateTime::fromSecsSinceEpoch(work.savedAt)),
                          QStringLiteral("Restore"), QStringLiteral("Discard"));
    if (answer == Answer::Cancel) continue;  // kept for the next start
    QFile::remove(left.file);
    if (answer == Answer::Yes) {
      session.replaceDocument(std::move(work.document), true);
      return true;
    }
  }
  return false;
}

}  // namespace tellwright

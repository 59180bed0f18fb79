#include "mainwindow/recovery_keeper.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <memory>
#include <utility>

#include "document/project_file.h"
#include "history/recovery_file.h"
#include "ui/document_text.h"

namespace tellwright {

namespace {

QString LockFileOf(const QString& file) { return file + QStringLiteral(".lock"); }

// A lock file counts as held while the process that wrote it runs, however
// long that is.
std::unique_ptr<QLockFile> TryLock(const QString& file) {
  auto lock = std::make_unique<QLockFile>(LockFileOf(file));
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return nullptr;
  return lock;
}

QString NewRecoveryFile(const QString& folder) {
  QString name = QStringLiteral("session-%1-%2")
                     .arg(QCoreApplication::applicationPid())
                     .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
  return QDir(folder).filePath(name + QString::fromLatin1(kRecoveryExtension.data(), kRecoveryExtension.size()));
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(const DialogueDocument& document, const QString& folder)
    : document_(document), folder_(folder) {
  timer_.setSingleShot(true);
  timer_.setInterval(kDefaultDelayMs);
  connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::write);
  writer_.setMaxThreadCount(1);
  if (folder_.isEmpty()) return;
  if (Status status = MakeRecoveryFolder(PathFromQString(folder_)); !status) {
    qWarning("Recovery is off: %s", qUtf8Printable(PathToQString(status.message)));
    return;
  }
  QString file = NewRecoveryFile(folder_);
  lock_ = TryLock(file);
  if (!lock_) {
    qWarning("Recovery is off: %s cannot be locked.", qUtf8Printable(LockFileOf(file)));
    return;
  }
  file_ = file;
}

RecoveryKeeper::~RecoveryKeeper() { discard(); }

void RecoveryKeeper::scheduleWrite() {
  if (!file_.isEmpty()) timer_.start();
}

void RecoveryKeeper::discard() {
  timer_.stop();
  writer_.waitForDone();
  if (!file_.isEmpty()) QFile::remove(file_);
}

void RecoveryKeeper::write() {
  if (file_.isEmpty() || !document_.changed) return;
  // A snapshot of the document as it is (cheap: it shares the branches
  // and blocks) is taken here; the project's text is made from it, and the
  // disk written, in the background, so a large project never holds up the
  // window.
  auto snapshot = std::make_shared<const DialogueDocument>(document_);
  int64_t savedAt = QDateTime::currentSecsSinceEpoch();
  std::string file = PathFromQString(file_);
  writer_.start([this, file, snapshot, savedAt] {
    Status status = SaveRecoveryFile(file, RecoveryBytes(snapshot->currentFile, WriteProject(*snapshot), savedAt));
    QMetaObject::invokeMethod(
        this, [this, status] { emit written(status.ok, PathToQString(status.message)); }, Qt::QueuedConnection);
  });
}

std::vector<LeftWork> TakeLeftWork(const QString& folder, const QString& ownFile) {
  std::vector<LeftWork> left;
  if (folder.isEmpty()) return left;
  QString pattern = QLatin1Char('*') + QString::fromLatin1(kRecoveryExtension.data(), kRecoveryExtension.size());
  const QFileInfoList files = QDir(folder).entryInfoList({pattern}, QDir::Files, QDir::Time);  // newest first
  for (const QFileInfo& info : files) {
    QString file = info.absoluteFilePath();
    if (file == QFileInfo(ownFile).absoluteFilePath()) continue;
    if (std::unique_ptr<QLockFile> lock = TryLock(file)) left.push_back({file, std::move(lock)});
  }
  return left;
}

}  // namespace tellwright

#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <memory>
#include <vector>

#include "document/dialogue_document.h"

namespace tellwright {

// Keeps the unsaved work of this editor in a recovery file of its own in the
// per-user recovery folder: written shortly after changes stop, in the
// background, and removed once nothing is unsaved. A lock file beside it
// says that its editor is running; when that editor is gone, the next one
// to start offers the work back.
class RecoveryKeeper : public QObject {
  Q_OBJECT

 public:
  static constexpr int kDefaultDelayMs = 1500;

  // An empty folder turns recovery off.
  RecoveryKeeper(const DialogueDocument& document, const QString& folder);
  // Waits for a write under way and removes the file: only a crash leaves
  // one behind.
  ~RecoveryKeeper() override;

  // The document changed: written once changes stop for the delay, if it
  // still has unsaved changes then.
  void scheduleWrite();
  // Nothing is unsaved any more: the file goes, with any write still due.
  void discard();

  void setDelay(int milliseconds) { timer_.setInterval(milliseconds); }
  QString folder() const { return folder_; }
  QString file() const { return file_; }  // empty while recovery is off

 signals:
  // A write finished (from the event loop of the keeper's thread).
  void written(bool ok, const QString& message);

 private:
  void write();

  const DialogueDocument& document_;
  QString folder_;
  QString file_;
  std::unique_ptr<QLockFile> lock_;
  QTimer timer_;
  QThreadPool writer_;  // one thread: writes land in the order they were made
};

// A recovery file left by an editor that is no longer running, locked for
// this one while it decides what to do with it.
struct LeftWork {
  QString file;
  std::unique_ptr<QLockFile> lock;
};

// The recovery files in `folder` whose editors are gone, newest first;
// `ownFile` and the files of running editors are left alone.
std::vector<LeftWork> TakeLeftWork(const QString& folder, const QString& ownFile);

}  // namespace tellwright

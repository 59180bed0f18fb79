#include "ui/discard_elsewhere.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

namespace tellwright {

namespace {

// The thread that frees, with an object living there to receive what is
// handed over. It goes with the application, after the last thing handed
// over is freed (or, if the thread has stopped, freed as it is dropped).
class DiscardThread : public QThread {
 public:
  explicit DiscardThread(QObject* parent) : QThread(parent), receiver_(new QObject) {
    receiver_->moveToThread(this);
    start(QThread::LowPriority);
  }
  ~DiscardThread() override {
    quit();
    wait();
    delete receiver_;
  }
  QObject* receiver() const { return receiver_; }

 private:
  QObject* receiver_;
};

}  // namespace

void DiscardElsewhere(std::shared_ptr<const void> doomed) {
  if (!doomed) return;
  static QPointer<DiscardThread> thread;
  if (!thread) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) return;  // no window, nothing to hold up: freed here
    thread = new DiscardThread(application);
  }
  QMetaObject::invokeMethod(
      thread->receiver(), [doomed = std::move(doomed)]() mutable { doomed.reset(); }, Qt::QueuedConnection);
}

}  // namespace tellwright

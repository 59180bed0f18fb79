#include "ui/return_key.h"

#include <QKeyEvent>
#include <QWidget>

namespace tellwright {

namespace {

class ReturnKeyFilter : public QObject {
 public:
  ReturnKeyFilter(QWidget* widget, std::function<void()> act) : QObject(widget), act_(std::move(act)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        act_();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> act_;
};

}  // namespace

void OnReturnKey(QWidget* widget, std::function<void()> act) {
  widget->installEventFilter(new ReturnKeyFilter(widget, std::move(act)));
}

}  // namespace tellwright

#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;

namespace tellwright {

// The about text of the text table is one line in which runs of blanks mark
// the line breaks: its lines, without the blanks.
QStringList AboutLines(const QString& aboutText);

// Help > About: a small fixed-size window with the product name, the version
// and the credits, one line each. A top-level window without a parent, so
// that an editor window that is modal to the main window does not block it.
class AboutWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr QSize kClientSize{279, 117};
  static constexpr QPoint kPosition{394, 294};
  static constexpr QRect kTextRect{10, 10, 260, 100};

  explicit AboutWindow(const QString& aboutText);

  QLabel* textLabel() const { return label_; }

 private:
  QLabel* label_;
};

}  // namespace tellwright

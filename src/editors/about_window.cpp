#include "editors/about_window.h"

#include <QLabel>
#include <QRegularExpression>
#include <QShortcut>

#include "ui/fixed_layout.h"
#include "ui/gadget_font.h"
#include "ui/ui_text_table.h"

namespace tellwright {

QStringList AboutLines(const QString& aboutText) {
  static const QRegularExpression kLineBreak(QStringLiteral(" {2,}"));
  QStringList lines;
  for (const QString& part : aboutText.split(kLineBreak, Qt::SkipEmptyParts)) {
    QString line = part.trimmed();
    if (!line.isEmpty()) lines << line;
  }
  return lines;
}

namespace {

// The font in which every line stands whole on a line of its own in `box`.
QFont FontForLines(const QFont& base, const QStringList& lines, QRect box) {
  std::vector<TextBox> boxes;
  int lineHeight = box.height() / std::max<qsizetype>(1, lines.size());
  for (const QString& line : lines) boxes.push_back({line, box.width(), lineHeight, 0});
  return FitGadgetFont(base, boxes);
}

}  // namespace

AboutWindow::AboutWindow(const QString& aboutText)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      label_(new QLabel(this)) {
  setObjectName(QStringLiteral("aboutWindow"));
  setWindowTitle(QStringLiteral("About"));
  setAccessibleName(windowTitle());
  // Closing it must not keep the program running once the main window is gone.
  setAttribute(Qt::WA_QuitOnClose, false);

  QStringList lines = AboutLines(aboutText);
  label_->setObjectName(QStringLiteral("aboutText"));
  label_->setText(lines.join(QLatin1Char('\n')));
  label_->setAccessibleName(lines.join(QLatin1Char(' ')));
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // Each line fits whole in the fitted font; wrapping only keeps a line
  // readable where even the smallest font is too wide for it.
  label_->setWordWrap(true);
  setFont(FontForLines(font(), lines, kTextRect));
  PlaceControls(this, kClientSize, {{label_, kTextRect}});

  new QShortcut(QKeySequence::Cancel, this, this, &QWidget::close);
}

}  // namespace tellwright

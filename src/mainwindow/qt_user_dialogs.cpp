#include "mainwindow/qt_user_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace tellwright {

QString QtFileFilter(const QString& filter) {
  QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
  }
  return filters.join(QStringLiteral(";;"));
}

// Over the editor window that is open, else over the main window.
QWidget* QtUserDialogs::parent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return parent_ ? parent_.data() : QApplication::activeWindow();
}

namespace {
QString FirstFilter(const QString& qtFilter) { return qtFilter.section(QStringLiteral(";;"), 0, 0); }
}  // namespace

Answer QtUserDialogs::askYesNoCancel(const QString& title, const QString& text) {
  auto button = QMessageBox::question(parent(), title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                      QMessageBox::Yes);
  if (button == QMessageBox::Yes) return Answer::Yes;
  if (button == QMessageBox::No) return Answer::No;
  return Answer::Cancel;
}

bool QtUserDialogs::askYesNo(const QString& title, const QString& text) {
  return QMessageBox::question(parent(), title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
         QMessageBox::Yes;
}

Answer QtUserDialogs::askChoice(const QString& title, const QString& text, const QString& yesButton,
                                const QString& noButton) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent());
  QPushButton* yes = box.addButton(yesButton, QMessageBox::AcceptRole);
  QPushButton* no = box.addButton(noButton, QMessageBox::DestructiveRole);
  box.setDefaultButton(yes);
  box.exec();
  if (box.clickedButton() == yes) return Answer::Yes;
  if (box.clickedButton() == no) return Answer::No;
  return Answer::Cancel;
}

void QtUserDialogs::showMessage(const QString& title, const QString& text) {
  QMessageBox::warning(parent(), title, text, QMessageBox::Ok);
}

void QtUserDialogs::showInformation(const QString& title, const QString& text) {
  QMessageBox::information(parent(), title, text, QMessageBox::Ok);
}

std::optional<QString> QtUserDialogs::askText(const QString& title, const QString& label, const QString& text) {
  bool ok = false;
  QString typed = QInputDialog::getText(parent(), title, label, QLineEdit::Normal, text, &ok);
  if (!ok) return std::nullopt;
  return typed;
}

namespace {

using FileRequester = QString (*)(QWidget*, const QString&, const QString&, const QString&, QString*,
                                  QFileDialog::Options);

std::optional<QString> RunRequester(FileRequester requester, QWidget* parent, const QString& title,
                                    const QString& defaultPath, const QString& filter) {
  QString qtFilter = QtFileFilter(filter);
  QString selected = FirstFilter(qtFilter);
  QString path = requester(parent, title, defaultPath, qtFilter, &selected, {});
  if (path.isEmpty()) return std::nullopt;
  // Qt gives "/" on every system. On Windows the paths the editor keeps (the
  // engine project, whose folder is cut from sound files, the recent files,
  // the project path) are written as Windows writes them, with "\".
  return QDir::toNativeSeparators(path);
}

}  // namespace

std::optional<QString> QtUserDialogs::chooseOpenFile(const QString& title, const QString& defaultPath,
                                                     const QString& filter) {
  return RunRequester(&QFileDialog::getOpenFileName, parent(), title, defaultPath, filter);
}

// The commands complete the extension and ask nothing more, as the requester
// itself asks before replacing a file.
std::optional<QString> QtUserDialogs::chooseSaveFile(const QString& title, const QString& defaultPath,
                                                     const QString& filter) {
  return RunRequester(&QFileDialog::getSaveFileName, parent(), title, defaultPath, filter);
}

}  // namespace tellwright

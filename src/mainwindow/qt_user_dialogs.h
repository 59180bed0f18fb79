#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/user_dialogs.h"

namespace tellwright {

// Message boxes and file requesters of Qt, over `parent` (the main window,
// set once it exists).
class QtUserDialogs : public UserDialogs {
 public:
  void setParent(QWidget* parent) { parent_ = parent; }
  QWidget* parent() const;

  Answer askYesNoCancel(const QString& title, const QString& text) override;
  bool askYesNo(const QString& title, const QString& text) override;
  Answer askChoice(const QString& title, const QString& text, const QString& yesButton,
                   const QString& noButton) override;
  void showMessage(const QString& title, const QString& text) override;
  void showInformation(const QString& title, const QString& text) override;
  std::optional<QString> askText(const QString& title, const QString& label, const QString& text) override;
  std::optional<QString> chooseOpenFile(const QString& title, const QString& defaultPath,
                                        const QString& filter) override;
  std::optional<QString> chooseSaveFile(const QString& title, const QString& defaultPath,
                                        const QString& filter) override;

 private:
  QPointer<QWidget> parent_;
};

// "Dialogues|*.tlwdlg|All|*.a;*.b" as Qt names filters:
// "Dialogues (*.tlwdlg);;All (*.a *.b)".
QString QtFileFilter(const QString& filter);

}  // namespace tellwright

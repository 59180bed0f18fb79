#pragma once

#include <QString>
#include <optional>

namespace tellwright {

enum class Answer { Yes, No, Cancel };

// Everything the commands ask or tell the user: questions, messages and
// file requesters. The program shows real dialogs; tests answer from a
// script. Filters are given as description, "|", patterns ("*.a;*.b"),
// repeated: "Dialogues|*.tlwdlg".
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  virtual Answer askYesNoCancel(const QString& title, const QString& text) = 0;
  virtual bool askYesNo(const QString& title, const QString& text) = 0;
  // A question with two buttons of its own: Yes for the first, No for the
  // second, Cancel when the box is closed without either.
  virtual Answer askChoice(const QString& title, const QString& text, const QString& yesButton,
                           const QString& noButton) = 0;
  // A fault or refusal, with an OK button.
  virtual void showMessage(const QString& title, const QString& text) = 0;
  // News that is no fault (a command that has no other visible result).
  virtual void showInformation(const QString& title, const QString& text) = 0;
  // A line of text typed into a field that starts with `text`; nothing when
  // the box was cancelled.
  virtual std::optional<QString> askText(const QString& title, const QString& label, const QString& text) = 0;
  // The chosen file, or nothing when the requester was cancelled.
  virtual std::optional<QString> chooseOpenFile(const QString& title, const QString& defaultPath,
                                                const QString& filter) = 0;
  virtual std::optional<QString> chooseSaveFile(const QString& title, const QString& defaultPath,
                                                const QString& filter) = 0;
};

}  // namespace tellwright

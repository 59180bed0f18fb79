#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "document/response_block.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace tellwright {

class EditorContext;

// The "Responseline Editor": the six fields of one response. It shows a
// response (load) and, on OK, hands the response its controls hold to the
// caller, who checks and stores it; Cancel, Escape and the close box leave
// everything as it was.
class ResponseEditor : public QDialog {
  Q_OBJECT

 public:
  ResponseEditor(EditorContext& context, QWidget* parent);

  // Fills the controls from `response`: the link drop-down holds an empty
  // entry and every branch name, with the link's entry chosen (letter case
  // ignored) or none.
  void load(const Response& response);

  // Runs on OK, once every typed text can be stored, before the window
  // closes: the response the controls hold. Visibility stays as loaded when
  // no option button is set.
  void setOnOk(std::function<void(const Response&)> onOk) { onOk_ = std::move(onOk); }

  // The response read back on OK.
  const Response& response() const { return response_; }

 public slots:
  // OK: a text Windows-1252 cannot store is refused in an "Error" box and
  // the window stays open with the text as typed.
  void accept() override;

 private:
  EditorContext& context_;
  Response loaded_;
  Response response_;
  std::vector<std::string> linkEntries_;
  std::function<void(const Response&)> onOk_;
  QLineEdit* text_;
  QComboBox* link_;
  QLineEdit* conditions_;
  QRadioButton* always_;
  QRadioButton* once_;
  QRadioButton* onceGame_;
  QButtonGroup* visibility_;
  QCheckBox* leaveLoop_;
  QCheckBox* sayResponse_;
};

}  // namespace tellwright

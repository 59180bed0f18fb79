#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;

namespace tellwright {

class EditorContext;

// The "Character Editor": a character's real name and WME entity name. On
// OK it hands the two names to the caller, who checks and stores them;
// Cancel, Escape and the close box leave everything as it was.
class CharacterEditor : public QDialog {
  Q_OBJECT

 public:
  CharacterEditor(EditorContext& context, QWidget* parent);

  // The names shown in the fields (document bytes).
  void load(std::string_view realName, std::string_view entityName);

  // Runs on OK, once both names can be stored, before the window closes.
  void setOnOk(std::function<void(const std::string& realName, const std::string& entityName)> onOk) {
    onOk_ = std::move(onOk);
  }

 public slots:
  // OK: a name Windows-1252 cannot store is refused in an "Error" box and
  // the window stays open with the name as typed.
  void accept() override;

 private:
  EditorContext& context_;
  std::function<void(const std::string&, const std::string&)> onOk_;
  QLineEdit* realName_;
  QLineEdit* entityName_;
};

}  // namespace tellwright

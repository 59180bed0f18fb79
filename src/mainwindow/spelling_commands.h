#pragma once

#include <QObject>
#include <QString>
#include <string_view>

class QMenu;

namespace tellwright {

class EditorSession;
class Spelling;

// The user's last choice of language, below the settings key: the language
// of a project that has no choice of its own.
inline constexpr std::string_view kSpellingLanguageValue = "SpellingLanguage";

// Dialogue > Spelling: the installed dictionaries and "None". The choice is
// the project's, kept beside it (never in the project file), and becomes
// the user's last choice.
class SpellingCommands : public QObject {
  Q_OBJECT

 public:
  SpellingCommands(EditorSession& session, Spelling& spelling, QMenu* dialogueMenu);

  // A project opened (or a new one): its word list, and its language or
  // else the user's last choice.
  void projectOpened();
  // The project was saved under `path`: the word list and language there.
  void projectSaved();

  // An entry of the menu: a language, or "None".
  void choose(const QString& language);
  QMenu* menu() const { return menu_; }

 private:
  void fillMenu();
  QString lastChoice();
  void apply(const QString& language);

  EditorSession& session_;
  Spelling& spelling_;
  QMenu* menu_;
};

}  // namespace tellwright

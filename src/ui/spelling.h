#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "lint/lint.h"
#include "spelling/known_words.h"
#include "spelling/spell_checker.h"
#include "spelling/spelling_check.h"

class QLineEdit;
class QMenu;
class QWidget;

namespace tellwright {

// The editor's spelling: the language of the open project, the words it
// knows, the words marked where the writer types, and the whole project
// checked on a thread of its own after each change so that typing never
// waits for it. Its notes join the Problems list.
class Spelling : public QObject {
  Q_OBJECT

 public:
  explicit Spelling(const DialogueDocument& document);
  ~Spelling() override;

  // The languages of the installed dictionaries ("en_US", ...).
  static QStringList installedLanguages();

  // Turns the check to `language`; "" or "None" turns it off. False (and the
  // check off) when the dictionary cannot be opened; `fault` says why.
  bool setLanguage(const QString& language, QString* fault = nullptr);
  QString language() const;
  bool active() const { return checker_ != nullptr; }

  // The project's file ("" for one never saved): its word list is read
  // again. A list that cannot be read is the fault returned.
  QString setProjectFile(const std::string& projectFile);
  const std::string& projectFile() const { return projectFile_; }

  // The misspelled words of a text as typed (UTF-16 positions): a spoken
  // text (talklines, responses) read as the game reads it, or a remark.
  struct Mark {
    int start = 0;
    int length = 0;
    QString word;
  };
  std::vector<Mark> misspelled(const QString& text, bool spoken = true);
  QStringList suggestions(const QString& word, int most = 7) const;

  // "Add to project dictionary": the word goes into the list beside the
  // project; the fault when it cannot be written.
  QString addToProjectDictionary(const QString& word);
  // "Ignore": the word is known until the editor ends.
  void ignore(const QString& word);

  // The document changed (or its names): a new check after a short pause.
  void schedule();
  // The notes of the last check whose places are still in the document.
  std::vector<Problem> notes() const;
  // True while a check runs or waits.
  bool checking() const { return running_ || timer_.isActive(); }

 signals:
  // A whole check ended: notes() has its result.
  void checked();
  // The words that count as known, or the language, changed: marks afresh.
  void wordsChanged();
  // A word could not be added to the project dictionary: why.
  void failed(const QString& fault);

 private:
  void known();  // the known words and the window's judge afresh
  void startCheck();
  void finishCheck(std::vector<Misspelling> found, unsigned generation);
  void joinWorker();

  const DialogueDocument& document_;
  std::shared_ptr<const SpellChecker> checker_;
  std::string projectFile_;
  std::vector<std::string> listWords_;
  std::vector<std::string> ignored_;
  std::shared_ptr<const KnownWords> known_;
  std::unique_ptr<WordJudge> judge_;  // the window thread's own
  std::vector<Misspelling> found_;
  QTimer timer_;
  std::thread worker_;
  bool running_ = false;
  bool again_ = false;  // a change came while a check ran
  unsigned generation_ = 0;
};

// Marks `marks` in the edit field with the desktop's spell-check underline
// (red), replacing the marks it had.
void ShowSpellingMarks(QLineEdit* field, const std::vector<Spelling::Mark>& marks);

// The context menu of an edit field: for a misspelled word at `position`, up
// to seven suggestions, "Add to project dictionary" and "Ignore" before the
// field's own entries; the field's own menu alone elsewhere. The caller
// shows it.
QMenu* SpellingMenu(Spelling& spelling, QLineEdit* field, int position, bool spoken, QWidget* parent);

}  // namespace tellwright

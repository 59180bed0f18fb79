#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "play/dialogue_player.h"
#include "tools/string_table.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QVBoxLayout;

namespace tellwright {

class UserDialogs;

// Dialogue > Play: plays the dialogue as the game would run it. The
// transcript reads like a chat (speakers, the writer's choices on the right,
// code, remarks, warnings and where the game would break); the menu that
// waits shows as buttons; each condition of the project is a switch. A
// window of its own next to the main window, which stays usable: edits
// there show on the next step.
class PlayWindow : public QWidget {
  Q_OBJECT

 public:
  // Shows the place an event came from in the main window.
  using GoToLine = std::function<void(const PlayPlace& place)>;

  PlayWindow(const DialogueDocument& document, UserDialogs& dialogs, GoToLine goToLine);
  ~PlayWindow() override;

  // Plays from line `line` of branch `branch`, afresh.
  void play(int branch, int line);

  // The translations (string tables, translated PO files) the writer may
  // play in, as paths; the chooser's first entry plays the project's own
  // texts. The one chosen stays chosen while it is still offered.
  void setTranslations(std::vector<std::string> paths);
  QComboBox* languageChooser() const { return language_; }
  // Plays afresh, from where the play started, in chooser entry `entry`:
  // a "/KEY/rest" text shows the table's entry for KEY where it has one.
  void playIn(int entry);

  DialoguePlayer& player() { return *player_; }
  QListWidget* transcriptList() const { return transcript_; }
  // The buttons of the menu that waits, in order; empty when none waits.
  QList<QPushButton*> menuButtons() const;
  QList<QCheckBox*> conditionSwitches() const;

  // The transcript as plain text, as Copy and Save put it.
  QString transcriptText() const;
  void copyTranscript();
  void saveTranscript();
  void restart();
  void goToSelected();

 private:
  void buildControls();
  // Steps until the player waits for a choice, ends or stops, and shows
  // what came.
  void advance();
  void choose(int entry);
  void showNewEvents();
  void showMenu(const PlayEvent& event);
  void showConditions();
  void showRemarks(bool shown);
  QListWidgetItem* itemFor(const PlayEvent& event) const;

  const DialogueDocument& document_;
  UserDialogs& dialogs_;
  GoToLine goToLine_;
  std::unique_ptr<DialoguePlayer> player_;
  int shownEvents_ = 0;
  int startBranch_ = 0;
  int startLine_ = 0;
  std::vector<std::string> translations_;
  std::optional<StringTable> table_;  // the language played in; none for the project's own texts

  QListWidget* transcript_ = nullptr;
  QGroupBox* menuBox_ = nullptr;
  QVBoxLayout* menuLayout_ = nullptr;
  QGroupBox* conditionsBox_ = nullptr;
  QVBoxLayout* conditionsLayout_ = nullptr;
  QCheckBox* keepGameState_ = nullptr;
  QCheckBox* showRemarks_ = nullptr;
  QPushButton* goToButton_ = nullptr;
  QComboBox* language_ = nullptr;
};

}  // namespace tellwright

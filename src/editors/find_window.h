#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "editors/found_matches.h"
#include "tools/background_search.h"
#include "tools/find_replace.h"

class QCheckBox;
class QTimer;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace tellwright {

class EditorContext;

// Edit > Find and Replace: one window, not modal. The text to find, letter
// case, whole words and where to look; every match listed with its place
// and the text around it, kept up to date as the dialogue changes. Find next
// and previous walk the list and show each match in the main window; a
// double-click also opens a response's block. Replace and Replace all are
// one undo step each.
//
// Typing the text, switching an option and every change of the dialogue
// search a snapshot of the dialogue on a thread of their own: the list fills
// in as the matches come, those of an older text or dialogue never shown.
// Find next, previous and Replace act on the matches of the dialogue as it
// is now, finishing the search first when the match they need is not there
// yet.
class FindWindow : public QWidget {
  Q_OBJECT

 public:
  // The list shows at most this many matches (a single letter can match
  // millions of times); Find next and previous still walk them all.
  static constexpr int kMaxListed = 5000;

  explicit FindWindow(EditorContext& context);
  ~FindWindow() override;

  // Shows the window with the replace field (Replace) or without (Find),
  // the find field focused.
  void open(bool replace);
  // Searches again with what the window holds, to the end, before it
  // returns (Find all); keeps the current match where it can.
  void search();
  // The same in the background: the list fills in as the matches come.
  void searchInBackground();
  // The dialogue changed: searches it again in the background.
  void followDocument();
  // The next or previous match after the current one, shown in the main
  // window; searches first when nothing was searched yet.
  void findNext(bool forward);
  void replaceCurrent();
  void replaceAll();

  // The matches found so far; every match of the dialogue as it is now, all
  // listed, when isComplete().
  const FoundMatches& matches() const { return matches_; }
  bool isComplete() const;
  int current() const { return current_; }
  QLineEdit* findField() const { return findField_; }
  QLineEdit* replaceField() const { return replaceField_; }
  QTreeWidget* results() const { return results_; }
  QCheckBox* fieldSwitch(SearchField field) const;
  QCheckBox* matchCase() const { return matchCase_; }
  QCheckBox* wholeWords() const { return wholeWords_; }

 private:
  void buildControls();
  // The query the controls say, or the fault of a text that cannot be
  // stored.
  std::optional<SearchQuery> query(QString* fault);
  // The same, the fault shown in a message.
  std::optional<SearchQuery> query();
  // The matches shown are those of `wanted` in the dialogue as it is now
  // (perhaps not all of them yet).
  bool shows(const SearchQuery& wanted) const;
  // Empties the list for a search of `wanted` in the dialogue as it is now.
  void startOver(const SearchQuery& wanted);
  // Stops the search and empties the list.
  void forget();
  void take(MatchBatch batch);
  // Takes matches that came, making the kept match current when it is among
  // them, and lists them (all of them, or the first few now and the rest
  // a few at a time while the window goes on).
  void add(std::vector<Match> found, bool listAll);
  // Lists up to `most` more of the matches.
  void listMore(int most);
  void selectWhenFound();
  void showSummary();
  void select(int index, bool openBlock);
  bool askRenameSpeakers(const std::vector<Match>& matches, ReplaceOptions& options);

  EditorContext& context_;
  // As the batches came: a million matches are not moved again as more come.
  FoundMatches matches_;
  int current_ = -1;
  // The match that was current before the search started over: the first
  // match at or after it becomes current when it comes.
  std::optional<Match> kept_;
  // After a Replace, the match to show once it comes (the one after the
  // replaced one): its index, or the last match when there are fewer.
  int selectWhenFound_ = -1;
  std::optional<SearchQuery> searched_;  // the query of the matches shown
  // The dialogue they were found in: a snapshot, kept for the searches
  // that follow while the dialogue does not change.
  std::shared_ptr<const DialogueDocument> searchedIn_;
  bool complete_ = false;  // every match of it is in matches_
  uint64_t ticket_ = 0;    // the background search they come from
  std::unique_ptr<BackgroundSearch> background_;
  QTimer* listing_;      // lists the next few matches
  static constexpr int kListedAtOnce = 500;

  QLineEdit* findField_;
  QLabel* replaceLabel_;
  QLineEdit* replaceField_;
  QCheckBox* matchCase_;
  QCheckBox* wholeWords_;
  std::vector<std::pair<SearchField, QCheckBox*>> fields_;
  QTreeWidget* results_;
  QLabel* summary_;
  QPushButton* replaceButton_;
  QPushButton* replaceAllButton_;
};

// The name of a field as the results list shows it: "Talk text", "Link", ...
QString SearchFieldName(SearchField field);

}  // namespace tellwright

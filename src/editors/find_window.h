#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "tools/find_replace.h"

class QCheckBox;
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
class FindWindow : public QWidget {
  Q_OBJECT

 public:
  // The list shows at most this many matches (a single letter can match
  // millions of times); Find next and previous still walk them all.
  static constexpr int kMaxListed = 5000;

  explicit FindWindow(EditorContext& context);

  // Shows the window with the replace field (Replace) or without (Find),
  // the find field focused.
  void open(bool replace);
  // Searches again with what the window holds; keeps the current match
  // where it can.
  void search();
  // The next or previous match after the current one, shown in the main
  // window; searches first when nothing was searched yet.
  void findNext(bool forward);
  void replaceCurrent();
  void replaceAll();

  const std::vector<Match>& matches() const { return matches_; }
  int current() const { return current_; }
  QLineEdit* findField() const { return findField_; }
  QLineEdit* replaceField() const { return replaceField_; }
  QTreeWidget* results() const { return results_; }
  QCheckBox* fieldSwitch(SearchField field) const;
  QCheckBox* matchCase() const { return matchCase_; }
  QCheckBox* wholeWords() const { return wholeWords_; }

 private:
  void buildControls();
  // The query the controls say; nothing (after a message) when the text
  // cannot be stored.
  std::optional<SearchQuery> query();
  void showMatches();
  void select(int index, bool openBlock);
  bool askRenameSpeakers(const std::vector<Match>& matches, ReplaceOptions& options);

  EditorContext& context_;
  std::vector<Match> matches_;
  int current_ = -1;
  std::optional<SearchQuery> searched_;  // the query of the matches shown

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

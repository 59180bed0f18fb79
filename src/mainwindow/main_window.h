#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <vector>

#include "document/dialogue_document.h"
#include "editing/row_selection.h"
#include "mainwindow/action_registry.h"
#include "settings/recent_files.h"

class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QLabel;
class QTreeView;

namespace tellwright {

class BranchSelector;
class LineListModel;
class UiTextTable;

// The main window: its menu, its gadgets at their places, and the three
// lists filled from the document. It shows; the commands that change the
// document are the session's (editor_session.h).
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(const UiTextTable& texts, const DialogueDocument& document, QWidget* parent = nullptr);
  ~MainWindow() override;

  ActionRegistry& actions() { return actions_; }
  QAction* action(int commandId) const { return actions_.action(commandId); }

  // Gadgets by id (command_ids.h).
  QWidget* gadget(int id) const;
  QPushButton* button(int id) const;
  QTreeView* lineList() const { return lineList_; }
  LineListModel* lineModel() const { return lineModel_; }
  QListWidget* characterList() const { return characterList_; }
  BranchSelector* branchSelector() const { return branchSelector_; }
  QLineEdit* projectField() const { return projectField_; }
  QLabel* problemCounts() const { return problemCounts_; }
  QWidget* innerArea() const { return centralWidget(); }

  // Shows branch `branch` in the line list and selects `selectRows` again.
  void RefreshLineList(int branch, const std::vector<int>& selectRows = {});
  // The branch names of the document, entry `select` chosen.
  void fillBranchSelector(int select);
  // "None", then one entry per character.
  void fillCharacterList();
  // The document's engine project path in the current-project field.
  void showProjectPath();
  // The File menu afresh, with the recent-file block for `recentFiles`.
  void rebuildMainMenu(const RecentFiles& recentFiles);

  RowSelection selectedLineRows() const;
  bool lineListHasFocus() const;
  // The selected row of the character list box ("None" is row 0), or -1.
  int selectedCharacterRow() const;

  // Asked when the window is to close (its close box); false keeps it open.
  void setCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void createGadgets();
  QWidget* createGadget(int kind, int text, QWidget* parent);
  void sizeToInnerArea();
  void applyAnchors();

  const UiTextTable& texts_;
  const DialogueDocument& document_;
  ActionRegistry actions_;
  QMenu* fileMenu_ = nullptr;
  std::map<int, QWidget*> gadgets_;
  QTreeView* lineList_ = nullptr;
  QLabel* problemCounts_ = nullptr;
  LineListModel* lineModel_ = nullptr;
  QListWidget* characterList_ = nullptr;
  BranchSelector* branchSelector_ = nullptr;
  QLineEdit* projectField_ = nullptr;
  QSize initialInnerSize_;
  bool keyColumnShown_ = false;
  std::function<bool()> closeGuard_;
};

// The line list's column widths: "Command", "Character",
// "Text / Code / Remark", "Soundfile".
inline constexpr int kLineListColumnWidths[] = {80, 80, 220, 85};
// The key column, when the project uses keys, takes its width from the text
// column, so the list needs no wider room.
inline constexpr int kKeyColumnWidth = 95;

}  // namespace tellwright

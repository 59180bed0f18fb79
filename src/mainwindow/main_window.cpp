#include "mainwindow/main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelection>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTreeView>
#include <tuple>

#include "base/path_names.h"
#include "document/character.h"
#include "mainwindow/branch_selector.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/gadget_table.h"
#include "mainwindow/line_list_model.h"
#include "ui/document_text.h"
#include "ui/gadget_font.h"
#include "ui/selection_palette.h"
#include "ui/ui_text_table.h"

namespace tellwright {

namespace {

constexpr QPoint kWindowPosition(216, 0);
constexpr int kBranchDropDownHeight = 340;

struct ActionSpec {
  int id;
  int text;  // UiTextTable index; -1 for actions without a menu item
  QList<QKeySequence> keys;
};

QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, const char* fallback) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  if (keys.isEmpty()) keys << QKeySequence(QString::fromLatin1(fallback));
  return keys;
}

std::vector<ActionSpec> ActionSpecs() {
  return {
      {kCommandNew, kTextNew, StandardKeys(QKeySequence::New, "Ctrl+N")},
      {kCommandLoadDialogue, kTextLoadDialogue, StandardKeys(QKeySequence::Open, "Ctrl+O")},
      {kCommandSave, kTextSaveDialogue, StandardKeys(QKeySequence::Save, "Ctrl+S")},
      {kCommandSaveAs, kTextSaveAs, StandardKeys(QKeySequence::SaveAs, "Ctrl+Shift+S")},
      {kCommandLoadCharacterList, kTextLoadCharacterList, {}},
      {kCommandSaveCharacterList, kTextSaveCharacterList, {}},
      {kCommandExportWme, kTextExportWme, {}},
      {kCommandExportVexa, kTextExportVexa, {}},
      {kCommandExportText, kTextExportText, {}},
      {kCommandQuit, kTextQuit, StandardKeys(QKeySequence::Quit, "Ctrl+Q")},
      {kCommandCut, kTextCut, {QKeySequence(Qt::CTRL | Qt::Key_X)}},
      {kCommandCopy, kTextCopy, {QKeySequence(Qt::CTRL | Qt::Key_C)}},
      {kCommandPaste, kTextPaste, {QKeySequence(Qt::CTRL | Qt::Key_V)}},
      {kCommandDelete, kTextDelete, {QKeySequence(Qt::Key_Delete)}},
      {kCommandHelp, kTextHelp, StandardKeys(QKeySequence::HelpContents, "F1")},
      {kCommandAbout, kTextAbout, {}},
      {kCommandAssociate, kTextAssociateFiles, {}},
      {kCommandMoveUp, -1, {QKeySequence(Qt::CTRL | Qt::Key_Up)}},
      {kCommandMoveDown, -1, {QKeySequence(Qt::CTRL | Qt::Key_Down)}},
      {kCommandUndo, -1, StandardKeys(QKeySequence::Undo, "Ctrl+Z")},
      {kCommandRedo, -1, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}},
      {kCommandPlay, -1, {QKeySequence(Qt::Key_F5)}},
      {kCommandProblems, -1, {QKeySequence(Qt::Key_F8)}},
      {kCommandFind, -1, StandardKeys(QKeySequence::Find, "Ctrl+F")},
      {kCommandReplace, -1, {QKeySequence(Qt::CTRL | Qt::Key_H)}},
      {kCommandFindNext, -1, {QKeySequence(Qt::Key_F3)}},
      {kCommandFindPrevious, -1, {QKeySequence(Qt::SHIFT | Qt::Key_F3)}},
      {kCommandExportRecordingScript, -1, {}},
      {kCommandStatistics, -1, {}},
      {kCommandBranchMap, -1, {QKeySequence(Qt::Key_F6)}},
      {kCommandAssignKeys, -1, {}},
      {kCommandExportStringTable, -1, {}},
      {kCommandAddTranslation, -1, {}},
      {kCommandStopCheckingTranslations, -1, {}},
  };
}

// The part of a gadget's box its frame and margins take, left and right.
int ButtonPadding(const QStyle* style) {
  return style->pixelMetric(QStyle::PM_ButtonMargin) + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
}

constexpr int kFrameTitlePadding = 16;  // the frame's corner and the gaps around its title
constexpr int kFieldPadding = 6;        // frame and inner margin of a one-line field, top and bottom
constexpr int kUnlimited = 1 << 20;

std::vector<TextBox> GadgetTextBoxes(const UiTextTable& texts, const QStyle* style) {
  std::vector<TextBox> boxes;
  for (const GadgetSpec& entry : MainWindowGadgets()) {
    if (entry.kind == GadgetKind::Button)
      boxes.push_back({texts[entry.text], entry.rect.width(), entry.rect.height(), ButtonPadding(style)});
    if (entry.kind == GadgetKind::Frame)
      boxes.push_back({texts[entry.text], entry.rect.width(), kUnlimited, kFrameTitlePadding});
    if (entry.kind == GadgetKind::TextField || entry.kind == GadgetKind::BranchSelector)
      boxes.push_back({QStringLiteral("\u00c9g"), kUnlimited, entry.rect.height() - kFieldPadding, 0});
  }
  int headerPadding = 2 * style->pixelMetric(QStyle::PM_HeaderMargin) + 2;
  for (int column = 0; column < LineListModel::kColumns; ++column)
    boxes.push_back({texts[kTextColumnCommand + column], kLineListColumnWidths[column], kUnlimited, headerPadding});
  return boxes;
}

QString InsertTooltip(const QString& tip, const QKeySequence& key) {
  return QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText));
}

QItemSelection RowsSelection(const QAbstractItemModel& model, const std::vector<int>& rows) {
  QItemSelection selection;
  int last = model.columnCount() - 1;
  for (size_t i = 0; i < rows.size();) {
    size_t end = i;
    while (end + 1 < rows.size() && rows[end + 1] == rows[end] + 1) ++end;
    selection.select(model.index(rows[i], 0), model.index(rows[end], last));
    i = end + 1;
  }
  return selection;
}

}  // namespace

MainWindow::MainWindow(const UiTextTable& texts, const DialogueDocument& document, QWidget* parent)
    : QMainWindow(parent), texts_(texts), document_(document) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(QString::fromLatin1(kProductName));
  createActions();
  createMenus();
  // The status bar shows the counts of the project's problems, and nothing else.
  problemCounts_ = new QLabel(statusBar());
  problemCounts_->setObjectName(QStringLiteral("problemCounts"));
  problemCounts_->setToolTip(QStringLiteral("Problems of the project (Dialogue > Problems, F8)"));
  statusBar()->addPermanentWidget(problemCounts_);
  setCentralWidget(new QWidget(this));
  centralWidget()->setObjectName(QStringLiteral("innerArea"));
  createGadgets();
  sizeToInnerArea();
  centralWidget()->installEventFilter(this);
  move(kWindowPosition);
}

MainWindow::~MainWindow() = default;

void MainWindow::createActions() {
  for (const ActionSpec& entry : ActionSpecs()) {
    auto* action = new QAction(entry.text >= 0 ? texts_[entry.text] : QString(), this);
    action->setShortcuts(entry.keys);
    actions_.registerAction(action, entry.id);
    addAction(action);  // shortcuts work whatever the menus hold
  }
  for (int id = kCommandRecentFile1; id <= kCommandRecentFile5; ++id) {
    auto* action = new QAction(this);
    actions_.registerAction(action, id);
  }
}

void MainWindow::createMenus() {
  // Menu titles get a mnemonic (Alt+F, Alt+E, Alt+H); their texts stay as given.
  fileMenu_ = menuBar()->addMenu(QLatin1Char('&') + texts_[kTextMenuFile]);
  fileMenu_->setObjectName(QStringLiteral("fileMenu"));
  fileMenu_->setToolTipsVisible(true);  // recent files show their full path
  QMenu* edit = menuBar()->addMenu(QLatin1Char('&') + texts_[kTextMenuEdit]);
  edit->setObjectName(QStringLiteral("editMenu"));
  edit->addAction(action(kCommandUndo));
  edit->addAction(action(kCommandRedo));
  edit->addSeparator();
  for (int id : {kCommandCut, kCommandCopy, kCommandPaste, kCommandDelete}) edit->addAction(action(id));
  edit->addSeparator();
  const std::pair<int, const char*> finding[] = {{kCommandFind, "Find..."},
                                                 {kCommandReplace, "Replace..."},
                                                 {kCommandFindNext, "Find next"},
                                                 {kCommandFindPrevious, "Find previous"}};
  for (const auto& [id, text] : finding) {
    action(id)->setText(QString::fromLatin1(text));
    edit->addAction(action(id));
  }
  QMenu* dialogue = menuBar()->addMenu(QStringLiteral("&Dialogue"));
  dialogue->setObjectName(QStringLiteral("dialogueMenu"));
  action(kCommandPlay)->setText(QStringLiteral("Play"));
  action(kCommandPlay)
      ->setToolTip(QStringLiteral("Play the dialogue from the current branch, or from the selected line"));
  dialogue->addAction(action(kCommandPlay));
  action(kCommandProblems)->setText(QStringLiteral("Problems"));
  action(kCommandProblems)->setToolTip(QStringLiteral("Every problem of the project, kept up to date"));
  dialogue->addAction(action(kCommandProblems));
  action(kCommandStatistics)->setText(QStringLiteral("Statistics"));
  action(kCommandStatistics)->setToolTip(QStringLiteral("Lines and words per character and per branch"));
  dialogue->addAction(action(kCommandStatistics));
  action(kCommandBranchMap)->setText(QStringLiteral("Branch map"));
  action(kCommandBranchMap)->setToolTip(QStringLiteral("Every branch and the responses that link them, as a map"));
  dialogue->addAction(action(kCommandBranchMap));
  QMenu* localisation = dialogue->addMenu(QStringLiteral("&Localisation"));
  localisation->setObjectName(QStringLiteral("localisationMenu"));
  localisation->setToolTipsVisible(true);
  const std::tuple<int, const char*, const char*> localising[] = {
      {kCommandAssignKeys, "Assign keys...",
       "Give every talkline and response text without a string-table key one (one undo step)"},
      {kCommandAddTranslation, "Add translation to check...",
       "Name a string table or PO file that the Problems window checks against the project"},
      {kCommandStopCheckingTranslations, "Stop checking translations", "Empty the list of translations to check"},
  };
  for (const auto& [id, text, tip] : localising) {
    action(id)->setText(QString::fromLatin1(text));
    action(id)->setToolTip(QString::fromLatin1(tip));
    localisation->addAction(action(id));
  }
  action(kCommandExportRecordingScript)->setText(QStringLiteral("Export recording script"));
  action(kCommandExportStringTable)->setText(QStringLiteral("Export string table"));
  QMenu* help = menuBar()->addMenu(QLatin1Char('&') + texts_[kTextMenuHelp]);
  help->setObjectName(QStringLiteral("helpMenu"));
  help->addAction(action(kCommandHelp));
  help->addAction(action(kCommandAbout));
  help->addSeparator();
  help->addAction(action(kCommandAssociate));
  rebuildMainMenu(RecentFiles{});
}

void MainWindow::rebuildMainMenu(const RecentFiles& recentFiles) {
  fileMenu_->clear();
  for (int id : {kCommandNew, kCommandLoadDialogue, kCommandSave, kCommandSaveAs}) fileMenu_->addAction(action(id));
  fileMenu_->addSeparator();
  fileMenu_->addAction(action(kCommandLoadCharacterList));
  fileMenu_->addAction(action(kCommandSaveCharacterList));
  fileMenu_->addSeparator();
  for (int id : {kCommandExportWme, kCommandExportVexa, kCommandExportText, kCommandExportRecordingScript,
                 kCommandExportStringTable})
    fileMenu_->addAction(action(id));
  RecentFileMenu recent = BuildRecentFileMenu(recentFiles);
  if (recent.separator) fileMenu_->addSeparator();
  for (const RecentFileMenuItem& item : recent.items) {
    QAction* recentAction = action(item.command);
    QString label = PathToQString(item.label);
    recentAction->setText(label.replace(QLatin1Char('&'), QStringLiteral("&&")));
    recentAction->setToolTip(PathToQString(recentFiles[static_cast<size_t>(item.index)]));
    fileMenu_->addAction(recentAction);
  }
  fileMenu_->addSeparator();
  fileMenu_->addAction(action(kCommandQuit));
}

QWidget* MainWindow::createGadget(int kind, int text, QWidget* inner) {
  QString caption = text >= 0 ? texts_[text] : QString();
  switch (static_cast<GadgetKind>(kind)) {
    case GadgetKind::Frame:
      return new QGroupBox(caption, inner);
    case GadgetKind::Button: {
      auto* button = new QPushButton(caption, inner);
      button->setAutoDefault(false);
      return button;
    }
    case GadgetKind::CharacterList: {
      characterList_ = new QListWidget(inner);
      characterList_->setSelectionMode(QAbstractItemView::SingleSelection);
      characterList_->setAccessibleName(texts_[kTextCharactersFrame]);
      KeepSelectionVisible(characterList_);
      return characterList_;
    }
    case GadgetKind::TextField: {
      projectField_ = new QLineEdit(inner);
      projectField_->setAccessibleName(texts_[kTextProjectFrame]);
      return projectField_;
    }
    case GadgetKind::BranchSelector: {
      branchSelector_ = new BranchSelector(inner);
      // An editable drop-down is read out by its text; its field carries the name.
      branchSelector_->setAccessibleName(texts_[kTextBranchesFrame]);
      branchSelector_->lineEdit()->setAccessibleName(texts_[kTextBranchesFrame]);
      return branchSelector_;
    }
    case GadgetKind::LineList: {
      lineList_ = new QTreeView(inner);
      lineModel_ = new LineListModel(document_, texts_, lineList_);
      lineList_->setModel(lineModel_);
      lineList_->setRootIsDecorated(false);
      lineList_->setItemsExpandable(false);
      lineList_->setUniformRowHeights(true);
      lineList_->setAllColumnsShowFocus(true);
      lineList_->setSelectionBehavior(QAbstractItemView::SelectRows);
      lineList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
      lineList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
      lineList_->header()->setStretchLastSection(false);
      lineList_->header()->setSectionsMovable(false);
      for (int column = 0; column < LineListModel::kColumns; ++column)
        lineList_->header()->resizeSection(column, kLineListColumnWidths[column]);
      lineList_->setAccessibleName(QStringLiteral("Dialogue lines"));
      KeepSelectionVisible(lineList_);
      return lineList_;
    }
  }
  return nullptr;
}

void MainWindow::createGadgets() {
  centralWidget()->setFont(FitGadgetFont(font(), GadgetTextBoxes(texts_, style())));
  // Gadgets stand in their frames, so that screen readers know which frame
  // a control belongs to; their places are given in the inner area.
  for (const GadgetSpec& entry : MainWindowGadgets()) {
    QWidget* parent = entry.frame >= 0 ? gadgets_.at(entry.frame) : centralWidget();
    QWidget* widget = createGadget(static_cast<int>(entry.kind), entry.text, parent);
    widget->setObjectName(QStringLiteral("gadget%1").arg(entry.id));
    if (entry.text >= 0) widget->setAccessibleName(texts_[entry.text]);
    if (entry.tooltip >= 0) widget->setToolTip(texts_[entry.tooltip]);
    gadgets_[entry.id] = widget;
  }
  applyAnchors();
  const int insertButtons[] = {kGadgetTalkline, kGadgetCodeline, kGadgetRemark, kGadgetResponseblock};
  for (int i = 0; i < 4; ++i) {
    QKeySequence key(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i));
    button(insertButtons[i])->setShortcut(key);
    button(insertButtons[i])->setToolTip(InsertTooltip(texts_[kTextTalklineTip + 2 * i], key));
  }
  QFontMetrics metrics(branchSelector_->font());
  branchSelector_->setMaxVisibleItems(std::max(1, kBranchDropDownHeight / std::max(1, metrics.height() + 4)));
}

void MainWindow::sizeToInnerArea() {
  // The inner area is what lies below the menu: the gadgets and the status bar.
  initialInnerSize_ = QSize(kInnerWidth, kInnerHeight - statusBar()->sizeHint().height());
  centralWidget()->setMinimumSize(initialInnerSize_);
  if (layout()) layout()->activate();
  QSize size = minimumSizeHint().expandedTo(QSize(kInnerWidth, 0));
  resize(size);
  setMinimumSize(size);
}

void MainWindow::applyAnchors() {
  int dw = initialInnerSize_.isValid() ? centralWidget()->width() - initialInnerSize_.width() : 0;
  int dh = initialInnerSize_.isValid() ? centralWidget()->height() - initialInnerSize_.height() : 0;
  std::map<int, QRect> inInnerArea;
  for (const GadgetSpec& entry : MainWindowGadgets()) {
    QRect rect = AnchoredRect(entry.rect, entry.anchors, dw, dh);
    inInnerArea[entry.id] = rect;
    if (entry.frame >= 0) rect.translate(-inInnerArea.at(entry.frame).topLeft());
    gadgets_.at(entry.id)->setGeometry(rect);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) applyAnchors();
  return QMainWindow::eventFilter(watched, event);
}

QWidget* MainWindow::gadget(int id) const {
  auto found = gadgets_.find(id);
  return found == gadgets_.end() ? nullptr : found->second;
}

QPushButton* MainWindow::button(int id) const { return qobject_cast<QPushButton*>(gadget(id)); }

void MainWindow::RefreshLineList(int branch, const std::vector<int>& selectRows) {
  lineModel_->RefreshLineList(branch);
  if (lineModel_->showsKeys() != keyColumnShown_) {
    keyColumnShown_ = lineModel_->showsKeys();
    QHeaderView* header = lineList_->header();
    int text = kLineListColumnWidths[2];
    header->resizeSection(2, keyColumnShown_ ? text - kKeyColumnWidth : text);
    if (keyColumnShown_) header->resizeSection(LineListModel::kKeyColumn, kKeyColumnWidth);
  }
  if (selectRows.empty()) return;
  QItemSelectionModel* selection = lineList_->selectionModel();
  selection->select(RowsSelection(*lineModel_, selectRows), QItemSelectionModel::ClearAndSelect);
  selection->setCurrentIndex(lineModel_->index(selectRows.front(), 0), QItemSelectionModel::NoUpdate);
}

void MainWindow::fillBranchSelector(int select) {
  QStringList names;
  for (int i = 0; i < document_.branchCount() && i < kBranchSlots; ++i)
    names << TextToQString(document_.branch(i).name);
  branchSelector_->fill(names, select);
}

void MainWindow::fillCharacterList() {
  characterList_->clear();
  for (const std::string& entry : PickerEntries(document_.characters)) characterList_->addItem(TextToQString(entry));
}

void MainWindow::showProjectPath() { projectField_->setText(TextToQString(document_.engineProjectPath)); }

RowSelection MainWindow::selectedLineRows() const {
  RowSelection rows;
  for (const QModelIndex& index : lineList_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

bool MainWindow::lineListHasFocus() const { return focusWidget() == lineList_; }

int MainWindow::selectedCharacterRow() const {
  QModelIndexList rows = characterList_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closeGuard_ && !closeGuard_()) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace tellwright

#include "editors/statistics_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/document_text.h"
#include "ui/fixed_layout.h"

namespace tellwright {

namespace {

// A row of a statistics table: a name and its numbers.
struct StatsRow {
  QString name;
  std::vector<int> numbers;
};

// Sorted by the chosen column, or in the order the rows came with the
// titles still clickable (the view makes them unclickable when not sorting).
void KeepOrder(QTreeWidget* table, bool sorted) {
  table->setSortingEnabled(sorted);
  if (sorted) return;
  table->header()->setSectionsClickable(true);
  table->header()->setSortIndicatorShown(false);
}

// A table in the order of the project until a column title is clicked;
// from then on it sorts by that column, numbers as numbers. Every column is
// as wide as its title and values (see FitNumberColumns), the first one
// takes the rest.
QTreeWidget* Table(QWidget* parent, const char* name, const QString& accessibleName, const QStringList& headers) {
  auto* table = Named(new QTreeWidget(parent), name, accessibleName);
  table->setHeaderLabels(headers);
  table->setRootIsDecorated(false);
  table->setUniformRowHeights(true);
  QHeaderView* header = table->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  QObject::connect(header, &QHeaderView::sectionClicked, table, [table, header](int column) {
    if (table->isSortingEnabled()) return;  // the view sorts from now on
    header->setSortIndicator(column, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    table->setSortingEnabled(true);
  });
  KeepOrder(table, false);
  return table;
}

// Row i of `rows` (name, numbers) in `items[i]`, a row added or taken away
// as the count changes. A value is only set where it differs, so a change
// of one branch redraws (and, when sorted, moves) only its row.
void ShowRows(QTreeWidget* table, std::vector<QTreeWidgetItem*>& items, const std::vector<StatsRow>& rows) {
  while (items.size() > rows.size()) {
    delete items.back();
    items.pop_back();
  }
  QList<QTreeWidgetItem*> added;
  for (size_t i = items.size(); i < rows.size(); ++i) {
    auto* item = new QTreeWidgetItem;
    for (int column = 1; column <= static_cast<int>(rows[i].numbers.size()); ++column)
      item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    items.push_back(item);
    added.append(item);
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    QTreeWidgetItem* item = items[i];
    if (item->text(0) != rows[i].name) item->setText(0, rows[i].name);
    for (size_t n = 0; n < rows[i].numbers.size(); ++n)
      item->setData(static_cast<int>(n) + 1, Qt::DisplayRole, rows[i].numbers[n]);
  }
  table->addTopLevelItems(added);
}

// The number columns as wide as their titles or their widest value, as the
// view would show it, whichever is wider. Measured from the largest value
// of each column, not row by row: a table of 500 branches follows every
// edit.
void FitNumberColumns(QTreeWidget* table, const std::vector<StatsRow>& rows) {
  QHeaderView* header = table->header();
  const int margin = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
  for (int column = 1; column < table->columnCount(); ++column) {
    int largest = 0;
    for (const StatsRow& row : rows) largest = std::max(largest, row.numbers[static_cast<size_t>(column) - 1]);
    int width = table->fontMetrics().horizontalAdvance(table->locale().toString(largest)) + margin;
    width = std::max(width, header->sectionSizeHint(column));
    if (header->sectionSize(column) != width) header->resizeSection(column, width);
  }
}

std::vector<StatsRow> CharacterRows(const DialogueStats& stats) {
  std::vector<StatsRow> rows;
  rows.reserve(stats.characters.size());
  for (const CharacterStats& character : stats.characters) {
    QString name = TextToQString(character.realName);
    if (!character.inList) name += QStringLiteral(" (not in the character list)");
    rows.push_back({name, {character.linesSpoken, character.wordsSpoken, character.withoutSoundFile}});
  }
  return rows;
}

std::vector<StatsRow> BranchRows(const DialogueStats& stats) {
  std::vector<StatsRow> rows;
  rows.reserve(stats.branches.size());
  for (const BranchStats& branch : stats.branches)
    rows.push_back({TextToQString(branch.name), {branch.lines, branch.responses, branch.words}});
  return rows;
}

}  // namespace

StatisticsWindow::StatisticsWindow() : QWidget(nullptr, Qt::Window) {
  setObjectName(QStringLiteral("statisticsWindow"));
  setWindowTitle(QStringLiteral("Statistics"));
  auto* layout = new QVBoxLayout(this);
  totals_ = Named(new QLabel(this), "totals");
  totals_->setWordWrap(true);
  layout->addWidget(totals_);
  layout->addWidget(new QLabel(QStringLiteral("Characters"), this));
  characters_ = Table(this, "characterStatistics", QStringLiteral("Characters"),
                      {QStringLiteral("Character"), QStringLiteral("Lines"), QStringLiteral("Words"),
                       QStringLiteral("Without sound file")});
  layout->addWidget(characters_, 1);
  layout->addWidget(new QLabel(QStringLiteral("Branches"), this));
  branches_ =
      Table(this, "branchStatistics", QStringLiteral("Branches"),
            {QStringLiteral("Branch"), QStringLiteral("Lines"), QStringLiteral("Responses"), QStringLiteral("Words")});
  layout->addWidget(branches_, 1);
  resize(560, 560);
}

void StatisticsWindow::showStats(const DialogueStats& stats) {
  const std::pair<QTreeWidget*, std::vector<StatsRow>> tables[] = {{characters_, CharacterRows(stats)},
                                                                   {branches_, BranchRows(stats)}};
  for (const auto& [table, rows] : tables) {
    ShowRows(table, table == characters_ ? characterItems_ : branchItems_, rows);
    FitNumberColumns(table, rows);
  }
  const DialogueTotals& totals = stats.totals;
  totals_->setText(QStringLiteral("%1 branches, %2 lines, %3 responses, %4 words; %5 spoken lines, "
                                  "%6 talklines without a sound file.")
                       .arg(totals.branches)
                       .arg(totals.lines)
                       .arg(totals.responses)
                       .arg(totals.words)
                       .arg(totals.linesSpoken)
                       .arg(totals.withoutSoundFile));
}

}  // namespace tellwright

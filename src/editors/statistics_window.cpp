#include "editors/statistics_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/document_text.h"
#include "ui/fixed_layout.h"

namespace tellwright {

namespace {

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
// as wide as its title and values, the first one takes the rest.
QTreeWidget* Table(QWidget* parent, const char* name, const QString& accessibleName, const QStringList& headers) {
  auto* table = Named(new QTreeWidget(parent), name, accessibleName);
  table->setHeaderLabels(headers);
  table->setRootIsDecorated(false);
  table->setUniformRowHeights(true);
  QHeaderView* header = table->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
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

QTreeWidgetItem* Row(const QString& name, std::initializer_list<int> numbers) {
  auto* item = new QTreeWidgetItem({name});
  int column = 1;
  for (int number : numbers) {
    item->setData(column, Qt::DisplayRole, number);
    item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    ++column;
  }
  return item;
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
  // Sorting (once the writer chose a column) waits until the rows are in.
  const bool sortedBefore[] = {characters_->isSortingEnabled(), branches_->isSortingEnabled()};
  for (QTreeWidget* table : {characters_, branches_}) {
    table->setSortingEnabled(false);
    table->clear();
  }
  for (const CharacterStats& character : stats.characters) {
    QString name = TextToQString(character.realName);
    if (!character.inList) name += QStringLiteral(" (not in the character list)");
    characters_->addTopLevelItem(Row(name, {character.linesSpoken, character.wordsSpoken, character.withoutSoundFile}));
  }
  for (const BranchStats& branch : stats.branches)
    branches_->addTopLevelItem(Row(TextToQString(branch.name), {branch.lines, branch.responses, branch.words}));
  KeepOrder(characters_, sortedBefore[0]);
  KeepOrder(branches_, sortedBefore[1]);
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

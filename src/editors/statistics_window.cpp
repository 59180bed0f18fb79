#include "editors/statistics_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/document_text.h"
#include "ui/fixed_layout.h"

namespace tellwright {

namespace {

// A table whose number columns sort as numbers and read right-aligned.
QTreeWidget* Table(QWidget* parent, const char* name, const QString& accessibleName, const QStringList& headers) {
  auto* table = Named(new QTreeWidget(parent), name, accessibleName);
  table->setHeaderLabels(headers);
  table->setRootIsDecorated(false);
  table->setUniformRowHeights(true);
  table->setSortingEnabled(true);
  table->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  table->header()->setStretchLastSection(false);
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

StatisticsWindow::StatisticsWindow(const DialogueDocument& document)
    : QWidget(nullptr, Qt::Window), document_(document) {
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

void StatisticsWindow::refresh() {
  DialogueStats stats = CountDialogue(document_);
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
  for (QTreeWidget* table : {characters_, branches_}) table->setSortingEnabled(true);
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

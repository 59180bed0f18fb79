#include "editors/problems_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/document_text.h"
#include "ui/fixed_layout.h"
#include "ui/problems_monitor.h"
#include "ui/selection_palette.h"

namespace tellwright {

namespace {

constexpr int kRowRole = Qt::UserRole;

QIcon SeverityIcon(const QStyle* style, Severity severity) {
  switch (severity) {
    case Severity::Error:
      return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case Severity::Warning:
      return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case Severity::Note:
      break;
  }
  return style->standardIcon(QStyle::SP_MessageBoxInformation);
}

// Return on a problem goes to it, as a double-click does.
class ReturnFilter : public QObject {
 public:
  explicit ReturnFilter(ProblemsWindow* window) : QObject(window), window_(window) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        window_->goToSelected();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  ProblemsWindow* window_;
};

}  // namespace

ProblemsWindow::ProblemsWindow(const DialogueDocument& document, GoTo goTo)
    : QWidget(nullptr, Qt::Window), document_(document), goTo_(std::move(goTo)) {
  setObjectName(QStringLiteral("problemsWindow"));
  setWindowTitle(QStringLiteral("Problems"));
  auto* layout = new QVBoxLayout(this);
  summary_ = Named(new QLabel(this), "summary");
  layout->addWidget(summary_);
  list_ = Named(new QTreeWidget(this), "problems", QStringLiteral("Problems"));
  list_->setHeaderLabels({QStringLiteral("Severity"), QStringLiteral("Place"), QStringLiteral("Problem")});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAlternatingRowColors(true);
  list_->header()->setStretchLastSection(true);
  list_->setColumnWidth(0, 90);
  list_->setColumnWidth(1, 220);
  KeepSelectionVisible(list_);
  list_->installEventFilter(new ReturnFilter(this));
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { goToSelected(); });
  layout->addWidget(list_, 1);
  hint_ = Named(new QLabel(this), "hint");
  hint_->setWordWrap(true);
  hint_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  hint_->setMinimumHeight(hint_->fontMetrics().lineSpacing() * 3);
  hint_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(hint_);
  connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (!item) {
      hint_->clear();
      return;
    }
    const Problem& problem = shown_[static_cast<size_t>(item->data(0, kRowRole).toInt())];
    hint_->setText(TextToQString(problem.message) + QStringLiteral("\n") + TextToQString(problem.hint));
  });
  resize(760, 420);
}

void ProblemsWindow::showProblems(const std::vector<Problem>& problems) {
  shown_ = problems;
  std::stable_sort(shown_.begin(), shown_.end(),
                   [](const Problem& a, const Problem& b) { return a.severity < b.severity; });
  summary_->setText(CountsText(CountProblems(shown_)));
  list_->clear();
  QList<QTreeWidgetItem*> items;
  for (size_t i = 0; i < shown_.size(); ++i) {
    const Problem& problem = shown_[i];
    auto* item =
        new QTreeWidgetItem({PathToQString(SeverityName(problem.severity)),
                             TextToQString(DescribePlace(document_, problem.place)), TextToQString(problem.message)});
    item->setIcon(0, SeverityIcon(style(), problem.severity));
    item->setToolTip(2, TextToQString(problem.message) + QStringLiteral("\n\n") + TextToQString(problem.hint));
    item->setData(0, kRowRole, static_cast<int>(i));
    items << item;
  }
  list_->addTopLevelItems(items);
}

void ProblemsWindow::goToSelected() {
  QTreeWidgetItem* item = list_->currentItem();
  if (item) goTo_(shown_[static_cast<size_t>(item->data(0, kRowRole).toInt())].place);
}

}  // namespace tellwright

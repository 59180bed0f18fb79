#include "editors/problems_window.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "ui/discard_elsewhere.h"
#include "ui/document_text.h"
#include "ui/fixed_layout.h"
#include "ui/problems_monitor.h"
#include "ui/selection_palette.h"

namespace tellwright {

// The problems of one survey as rows of severity, place and message. The
// style's icons are looked up once (the style may search the disk for
// them); a place is described when its row is shown, from the survey's own
// document, which is the one the place means.
class ProblemListModel : public QAbstractTableModel {
 public:
  explicit ProblemListModel(const QStyle* style, QObject* parent) : QAbstractTableModel(parent) {
    icons_ = {style->standardIcon(QStyle::SP_MessageBoxCritical), style->standardIcon(QStyle::SP_MessageBoxWarning),
              style->standardIcon(QStyle::SP_MessageBoxInformation)};
  }

  // The survey and notes shown before are let go of on another thread:
  // freeing 100,000 problems takes longer than the window may wait.
  void show(std::shared_ptr<const DocumentSurvey> survey, std::shared_ptr<const std::vector<Problem>> notes) {
    beginResetModel();
    DiscardElsewhere(std::exchange(survey_, std::move(survey)));
    DiscardElsewhere(std::exchange(notes_, std::move(notes)));
    endResetModel();
  }
  const Problem* problem(const QModelIndex& index) const {
    if (!index.isValid() || !survey_ || index.row() >= rowCount()) return nullptr;
    const size_t row = static_cast<size_t>(index.row());
    const size_t surveyed = survey_->problems.size();
    return row < surveyed ? &survey_->problems[row] : &(*notes_)[row - surveyed];
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    if (parent.isValid() || !survey_) return 0;
    return static_cast<int>(survey_->problems.size() + (notes_ ? notes_->size() : 0));
  }
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 3; }

  QVariant data(const QModelIndex& index, int role) const override {
    const Problem* shown = problem(index);
    if (!shown) return {};
    if (role == Qt::DisplayRole) {
      switch (index.column()) {
        case 0:
          return PathToQString(SeverityName(shown->severity));
        case 1:
          return TextToQString(DescribePlace(*survey_->document, shown->place));
        default:
          return TextToQString(shown->message);
      }
    }
    if (role == Qt::DecorationRole && index.column() == 0) return icons_[static_cast<size_t>(shown->severity)];
    if (role == Qt::ToolTipRole && index.column() == 2)
      return TextToQString(shown->message) + QStringLiteral("\n\n") + TextToQString(shown->hint);
    return {};
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kTitles[] = {"Severity", "Place", "Problem"};
    return QString::fromLatin1(kTitles[section]);
  }

 private:
  std::array<QIcon, 3> icons_;  // by Severity
  std::shared_ptr<const DocumentSurvey> survey_;
  std::shared_ptr<const std::vector<Problem>> notes_;  // after the survey's problems; may be null
};

namespace {

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

ProblemsWindow::ProblemsWindow(GoTo goTo) : QWidget(nullptr, Qt::Window), goTo_(std::move(goTo)) {
  setObjectName(QStringLiteral("problemsWindow"));
  setWindowTitle(QStringLiteral("Problems"));
  auto* layout = new QVBoxLayout(this);
  summary_ = Named(new QLabel(this), "summary");
  layout->addWidget(summary_);
  model_ = new ProblemListModel(style(), this);
  list_ = Named(new QTreeView(this), "problems", QStringLiteral("Problems"));
  list_->setModel(model_);
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAlternatingRowColors(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->header()->setStretchLastSection(true);
  list_->setColumnWidth(0, 90);
  list_->setColumnWidth(1, 220);
  KeepSelectionVisible(list_);
  list_->installEventFilter(new ReturnFilter(this));
  connect(list_, &QTreeView::doubleClicked, this, [this] { goToSelected(); });
  layout->addWidget(list_, 1);
  hint_ = Named(new QLabel(this), "hint");
  hint_->setWordWrap(true);
  hint_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  hint_->setMinimumHeight(hint_->fontMetrics().lineSpacing() * 3);
  hint_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(hint_);
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    const Problem* problem = model_->problem(current);
    if (!problem) {
      hint_->clear();
      return;
    }
    hint_->setText(TextToQString(problem->message) + QStringLiteral("\n") + TextToQString(problem->hint));
  });
  connect(model_, &QAbstractItemModel::modelReset, hint_, &QLabel::clear);
  resize(760, 420);
}

ProblemsWindow::~ProblemsWindow() = default;

void ProblemsWindow::showSurvey(std::shared_ptr<const DocumentSurvey> survey,
                                std::shared_ptr<const std::vector<Problem>> notes) {
  summary_->setText(CountsText(notes ? CountsWithNotes(*survey, *notes) : survey->counts));
  model_->show(std::move(survey), std::move(notes));
}

void ProblemsWindow::goToSelected() {
  if (const Problem* problem = model_->problem(list_->currentIndex())) goTo_(problem->place);
}

}  // namespace tellwright

// Dialogue > Problems opening on a long list: the window made, given the
// survey and shown, until its first rows are painted. On the problem-rich
// largest project (125,500 problems) and on the bundled example, against a
// plain tree view over a model of as many rows with nothing behind them,
// the toolkit's own floor for a list that long.
#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QTreeView>
#include <memory>

#include "editors/problems_window.h"
#include "max_project.h"
#include "tools/document_survey.h"

namespace {

using namespace tellwright;

std::shared_ptr<const DocumentSurvey> Survey(const DialogueDocument& document) {
  return std::make_shared<const DocumentSurvey>(SurveyDocument(std::make_shared<const DialogueDocument>(document)));
}

const std::shared_ptr<const DocumentSurvey>& ProblemRichSurvey() {
  static const auto survey = Survey(bench::MakeMaxProject(bench::ProblemRichShape()));
  return survey;
}

const std::shared_ptr<const DocumentSurvey>& ExampleSurvey() {
  static const auto survey = Survey(bench::ExampleProject());
  return survey;
}

// Shows `widget` and paints `view`'s rows now, as the first frame would.
void ShowAndPaint(QWidget& widget, QTreeView& view) {
  widget.show();
  QApplication::processEvents();
  view.viewport()->repaint();
}

void OpenProblemsWindow(benchmark::State& state, const std::shared_ptr<const DocumentSurvey>& survey) {
  for (auto _ : state) {
    ProblemsWindow window([](const ProblemPlace&) {});
    window.showSurvey(survey);
    ShowAndPaint(window, *window.list());
    const bool firstRowShown = survey->problems.empty() || window.list()->indexAt(QPoint(1, 1)).isValid();
    if (window.list()->model()->rowCount() != static_cast<int>(survey->problems.size()) || !firstRowShown) {
      state.SkipWithError("the rows are not shown");
      break;
    }
    state.PauseTiming();
    window.close();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["problems"] = static_cast<double>(survey->problems.size());
}

void OpenProblemsOfProblemRichProject(benchmark::State& state) { OpenProblemsWindow(state, ProblemRichSurvey()); }
void OpenProblemsOfExample(benchmark::State& state) { OpenProblemsWindow(state, ExampleSurvey()); }

// Three columns of short fixed texts, as many rows as the problem-rich
// project has problems.
class PlainRows : public QAbstractTableModel {
 public:
  explicit PlainRows(int rows) : rows_(rows) {}
  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 3; }
  QVariant data(const QModelIndex&, int role) const override {
    return role == Qt::DisplayRole ? QVariant(QStringLiteral("warning")) : QVariant();
  }

 private:
  int rows_;
};

void OpenPlainListBaseline(benchmark::State& state) {
  const int rows = static_cast<int>(ProblemRichSurvey()->problems.size());
  for (auto _ : state) {
    PlainRows model(rows);
    QTreeView view;
    view.setRootIsDecorated(false);
    view.setUniformRowHeights(true);
    view.setModel(&model);
    view.resize(760, 420);
    ShowAndPaint(view, view);
    if (!view.indexAt(QPoint(1, 1)).isValid()) {
      state.SkipWithError("the rows are not shown");
      break;
    }
    state.PauseTiming();
    view.close();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["problems"] = rows;
}

BENCHMARK(OpenPlainListBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenProblemsOfExample)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenProblemsOfProblemRichProject)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Typing the text to find into the focused find field on the largest
// project. Each keystroke is timed from the key to the return to the event
// loop, against what the window did before for the same keystroke: a search
// of the whole project for the text typed so far, on the window's thread
// ("x_sync": the keystroke's time over that search's, measured in the same
// iterations). While the matches come in, the slowest pass of the event
// loop is reported ("fill_ms", the most a batch of matches holds the
// window) and the time until the list is complete ("complete_ms"). The
// benchmark's CPU time is the window thread's own work per keystroke; the
// real time also holds waiting for a core.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "editors/find_window.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/main_window.h"
#include "mainwindow/qt_user_dialogs.h"
#include "max_project.h"
#include "platform/registry_store.h"
#include "ui/document_text.h"

namespace {

using namespace tellwright;

double Milliseconds(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

// The editor on the largest project with the find window open, its field focused.
struct FindOnLargestProject {
  FindOnLargestProject() {
    folder = (std::filesystem::temp_directory_path() / ("tellwright-find-bench-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(folder);
    store = std::make_unique<RegistryStore>(folder + "/registry");
    setenv("XDG_STATE_HOME", folder.c_str(), 1);  // recovery files stay in the bench's folder
    session = std::make_unique<EditorSession>(state, dialogs, *store);
    session->start({});
    session->replaceDocument(bench::MaxProject());
    session->window().action(kCommandFind)->trigger();
    QApplication::processEvents();
  }
  ~FindOnLargestProject() {
    session.reset();
    std::filesystem::remove_all(folder);
  }
  FindWindow& find() { return *session->findWindow(); }

  // Handles what is waiting until the search is complete; returns the
  // slowest pass of the event loop in milliseconds.
  double fillIn() {
    double slowest = 0;
    while (!find().isComplete()) {
      QElapsedTimer pass;
      pass.start();
      QApplication::processEvents();
      slowest = std::max(slowest, Milliseconds(pass));
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return slowest;
  }

  std::string folder;
  std::unique_ptr<RegistryStore> store;
  EditorState state;
  QtUserDialogs dialogs;  // none is asked while typing
  std::unique_ptr<EditorSession> session;
};

// A key pressed and released where the focus is, as a person types.
void Press(int key, const QString& text) {
  QWidget* focused = QApplication::focusWidget();
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(focused, &press);
  QApplication::sendEvent(focused, &release);
}

// Types `word` letter by letter, then takes it back letter by letter.
void TypeIntoFindField(benchmark::State& state, const std::string& word) {
  FindOnLargestProject editor;
  if (QApplication::focusWidget() != editor.find().findField()) {
    state.SkipWithError("the find field has no focus");
    return;
  }
  double keystrokes = 0, slowestKeystroke = 0, sync = 0, slowestFill = 0, complete = 0;
  size_t step = 0;
  for (auto _ : state) {
    const size_t at = step++ % (2 * word.size());
    QElapsedTimer timer;
    timer.start();
    if (at < word.size()) {
      Press(Qt::Key_A, QString(QChar(word[at])));  // the key code matters not; the text is typed
    } else {
      Press(Qt::Key_Backspace, QString());
    }
    keystrokes += Milliseconds(timer);
    slowestKeystroke = std::max(slowestKeystroke, Milliseconds(timer));
    state.PauseTiming();
    QElapsedTimer filling;
    filling.start();
    slowestFill = std::max(slowestFill, editor.fillIn());
    complete += Milliseconds(filling);
    SearchQuery query{.text = EncodeText(editor.find().findField()->text()).bytes};
    timer.restart();
    benchmark::DoNotOptimize(FindMatches(editor.session->document(), query));
    sync += Milliseconds(timer);
    if (editor.find().matches().size() != FindMatches(editor.session->document(), query).size())
      state.SkipWithError("the window's matches differ from a search of the project");
    state.ResumeTiming();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["keystroke_ms"] = keystrokes / n;
  state.counters["slowest_keystroke_ms"] = slowestKeystroke;
  state.counters["sync_ms"] = sync / n;
  state.counters["x_sync"] = keystrokes / sync;
  state.counters["fill_ms"] = slowestFill;
  state.counters["complete_ms"] = complete / n;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  bench::MaxProject();
  // Every letter of the word and every backspace once, twice over.
  for (const char* word : {"captain", "zeppelin"})
    benchmark::RegisterBenchmark((std::string("TypeIntoFindField/") + word).c_str(), TypeIntoFindField,
                                 std::string(word))
        ->Iterations(static_cast<int64_t>(4 * std::string(word).size()))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

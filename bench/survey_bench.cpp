// Problems and counts after an edit of the largest project: the survey that
// keeps what every unchanged branch found, against a survey made from
// scratch of the same snapshot in the same iteration ("ms_full"; "x_full":
// the kept survey's time over the full one's). Each iteration makes one more
// edit of the kind named, so the kept survey always follows a change.
// "ms_free": letting go of a survey, which frees every problem it lists.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>
#include <string>

#include "max_project.h"
#include "tools/base_strings.h"
#include "tools/document_survey.h"
#include "tools/string_keys.h"

namespace {

using namespace tellwright;
using Clock = std::chrono::steady_clock;

using Edit = void (*)(DialogueDocument& document, int step);

void EditOneLine(DialogueDocument& d, int step) {
  DialogueLine& line = d.editBranch(step % kBranchSlots).lines.slot(step % 990);
  line.text = "Edited line " + std::to_string(step) + ".";
}

void RenameOneBranch(DialogueDocument& d, int step) {
  RenameBranch(d, 1 + step % (kBranchSlots - 1), "Renamed_" + std::to_string(step));
}

void EditOneBlock(DialogueDocument& d, int step) {
  d.responseBlocks.slot(step % kBlockSlots).responses.slot(3).text = "Edited response " + std::to_string(step) + ".";
}

void AddOneCharacter(DialogueDocument& d, int step) {
  d.characters.push_back({"Extra" + std::to_string(step), "extra_" + std::to_string(step)});
}

// The largest project with a string-table key on every text.
const DialogueDocument& KeyedMaxProject() {
  static const DialogueDocument document = [] {
    DialogueDocument d = bench::MaxProject();
    AssignKeys(d, "BIG");
    return d;
  }();
  return document;
}

// The keyed project's base table, written once, as a translation to check.
std::string KeyedTableFile() {
  static const std::string path = [] {
    std::string file = (std::filesystem::temp_directory_path() / "tellwright_survey_bench.tab").string();
    const DialogueDocument& d = KeyedMaxProject();
    std::ofstream(file, std::ios::binary) << WriteBaseTable(d, CollectBaseStrings(d), TableEncoding::Utf8);
    return file;
  }();
  return path;
}

// The engine project's folder, where every second sound file of the largest
// project is (the others are problems, as in the editor).
LintOptions WithSoundFolder() {
  auto voice = std::make_shared<std::vector<std::string>>();
  for (int b = 0; b < kBranchSlots; ++b)
    for (int l = 0; l < kLinesPerBranch; l += 4) voice->push_back("b" + std::to_string(b) + "_l" + std::to_string(l) + ".ogg");
  return {.listFolder = [voice](const std::string& folder) -> std::optional<std::vector<std::string>> {
    if (folder == "C:/Games/Caribbean") return std::vector<std::string>{"caribbean.wpr", "voice"};
    if (folder == "C:/Games/Caribbean/voice") return *voice;
    return std::nullopt;
  }};
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void Survey(benchmark::State& state, const DialogueDocument& (*project)(), Edit edit, bool translation,
            bool sounds) {
  const LintOptions options = sounds ? WithSoundFolder() : LintOptions{.checkSoundFiles = false};
  const std::vector<std::string> files = translation ? std::vector<std::string>{KeyedTableFile()}
                                                     : std::vector<std::string>{};
  DialogueDocument document = project();
  DocumentSurveyor surveyor(options);
  surveyor.survey(std::make_shared<const DialogueDocument>(document), files);
  double kept = 0, full = 0, freed = 0;
  int step = 0;
  for (auto _ : state) {
    edit(document, ++step);
    auto snapshot = std::make_shared<const DialogueDocument>(document);
    Clock::time_point start = Clock::now();
    DocumentSurvey survey = surveyor.survey(snapshot, files);
    const double seconds = Seconds(Clock::now() - start);
    state.SetIterationTime(seconds);
    kept += seconds;
    start = Clock::now();
    DocumentSurvey fresh = SurveyDocument(snapshot, options, files);
    full += Seconds(Clock::now() - start);
    if (survey.problems != fresh.problems) state.SkipWithError("the surveys differ");
    state.counters["problems"] = static_cast<double>(survey.problems.size());
    state.counters["branches_linted"] = surveyor.branchesLinted();
    state.counters["branches_counted"] = surveyor.branchesCounted();
    start = Clock::now();
    survey = {};  // as a window lets go of the survey it showed
    freed += Seconds(Clock::now() - start);
  }
  state.counters["ms_full"] = 1000 * full / static_cast<double>(step);
  state.counters["x_full"] = kept / full;
  state.counters["ms_free"] = 1000 * freed / static_cast<double>(step);
}

void Register(const char* name, const DialogueDocument& (*project)(), Edit edit, bool translation = false,
              bool sounds = false) {
  benchmark::RegisterBenchmark(name, Survey, project, edit, translation, sounds)
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(8);
}

}  // namespace

int main(int argc, char** argv) {
  Register("SurveyAfterLineEdit", bench::MaxProject, EditOneLine);
  Register("SurveyAfterBranchRename", bench::MaxProject, RenameOneBranch);
  Register("SurveyAfterBlockEdit", bench::MaxProject, EditOneBlock);
  Register("SurveyAfterCharacterAdded", bench::MaxProject, AddOneCharacter);
  Register("SurveyWithSoundsAfterLineEdit", bench::MaxProject, EditOneLine, false, true);
  Register("SurveyWithSoundsAfterBranchRename", bench::MaxProject, RenameOneBranch, false, true);
  Register("SurveyKeyedAfterLineEdit", KeyedMaxProject, EditOneLine);
  Register("SurveyKeyedWithTableAfterLineEdit", KeyedMaxProject, EditOneLine, true);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove(std::filesystem::temp_directory_path() / "tellwright_survey_bench.tab");
  return 0;
}

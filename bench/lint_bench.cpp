// The lint after every change: on the bundled example and on the largest
// project, against the dialogue check over the same document and a plain
// walk that reads every text of every line and response, both measured in
// the same iterations ("x_check", "x_walk": the lint's time over theirs).
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <string>

#include "export/dialogue_check.h"
#include "export/document_index.h"
#include "lint/lint.h"
#include "max_project.h"

namespace {

using namespace tellwright;
using Clock = std::chrono::steady_clock;

using bench::MaxProject;

// Every byte of every text the lint reads, summed.
size_t Walk(const DialogueDocument& d) {
  size_t sum = 0;
  for (int b = 0; b < BranchesToVisit(d); ++b) {
    const DialogueBranch& branch = d.branch(b);
    sum += branch.name.size();
    for (int l = 0; l < LinesToVisit(branch); ++l) {
      const DialogueLine& line = branch.lines[l];
      for (const Text* text : {&line.kind, &line.character, &line.text, &line.soundFile})
        for (char c : *text) sum += static_cast<unsigned char>(c);
    }
  }
  for (int k = 0; k < d.responseBlocks.stored(); ++k)
    for (int r = 0; r < d.responseBlocks[k].usedResponses(); ++r)
      for (char c : d.responseBlocks[k].responses[r].text) sum += static_cast<unsigned char>(c);
  return sum;
}

// The engine project's folder as a lookup: every second sound file of the
// largest project is there.
LintOptions WithSoundFolder() {
  static const std::map<std::string, std::vector<std::string>> folders = [] {
    std::map<std::string, std::vector<std::string>> map;
    map["C:/Games/Caribbean"] = {"caribbean.wpr", "voice"};
    std::vector<std::string>& voice = map["C:/Games/Caribbean/voice"];
    for (int b = 0; b < kBranchSlots; ++b)
      for (int l = 0; l < kLinesPerBranch; l += 4)
        voice.push_back("b" + std::to_string(b) + "_l" + std::to_string(l) + ".ogg");
    return map;
  }();
  return {.listFolder = [](const std::string& folder) -> std::optional<std::vector<std::string>> {
    auto it = folders.find(folder);
    if (it == folders.end()) return std::nullopt;
    return it->second;
  }};
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void Lint(benchmark::State& state, const DialogueDocument& (*document)(), LintOptions options) {
  const DialogueDocument& d = document();
  double own = 0, check = 0, walk = 0;
  size_t problems = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    std::vector<Problem> found = LintDialogue(d, options);
    own += Seconds(Clock::now() - start);
    state.PauseTiming();
    problems = found.size();
    start = Clock::now();
    benchmark::DoNotOptimize(CheckDialogue(d));
    check += Seconds(Clock::now() - start);
    start = Clock::now();
    benchmark::DoNotOptimize(Walk(d));
    walk += Seconds(Clock::now() - start);
    state.ResumeTiming();
  }
  state.counters["x_check"] = own / check;
  state.counters["x_walk"] = own / walk;
  state.counters["problems"] = static_cast<double>(problems);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("LintExample", Lint, bench::ExampleProject, LintOptions{.checkSoundFiles = false})
      ->Unit(benchmark::kMicrosecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("LintMaxProject", Lint, MaxProject, LintOptions{.checkSoundFiles = false})
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("LintMaxProjectWithSounds", Lint, MaxProject, WithSoundFolder())
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Find and replace, the counts and the recording script on the largest
// project, each against a plain std::string::find of the same text over
// every text of the document, measured in the same iterations ("x_find":
// the tool's time over the plain find's).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "export/document_index.h"
#include "max_project.h"
#include "tools/dialogue_stats.h"
#include "tools/find_replace.h"
#include "tools/recording_script.h"

namespace {

using namespace tellwright;
using Clock = std::chrono::steady_clock;

using bench::MaxProject;

size_t Occurrences(std::string_view text, std::string_view needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++count;
  return count;
}

// The baseline: every text a search looks in, searched with std::string::find.
size_t PlainFind(const DialogueDocument& d, const std::string& needle) {
  size_t count = 0;
  for (int b = 0; b < BranchesToVisit(d); ++b) {
    const DialogueBranch& branch = d.branch(b);
    count += Occurrences(branch.name, needle);
    for (int l = 0; l < LinesToVisit(branch); ++l)
      count += Occurrences(branch.lines[l].text, needle) + Occurrences(branch.lines[l].soundFile, needle);
  }
  for (int k = 0; k < d.responseBlocks.stored(); ++k)
    for (int r = 0; r < d.responseBlocks[k].usedResponses(); ++r) {
      const Response& response = d.responseBlocks[k].responses[r];
      count += Occurrences(response.text, needle) + Occurrences(response.conditions, needle) +
               Occurrences(response.linkBranch, needle);
    }
  for (const Character& c : d.characters) count += Occurrences(c.realName, needle) + Occurrences(c.entityName, needle);
  return count;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Times `run` against the plain find of `needle`; `run` returns what it
// found, made or changed (reported as "items").
template <typename Run>
void AgainstPlainFind(benchmark::State& state, const std::string& needle, Run run) {
  const DialogueDocument& d = MaxProject();
  double own = 0, plain = 0;
  size_t items = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    items = run(state);
    own += Seconds(Clock::now() - start);
    state.PauseTiming();
    start = Clock::now();
    benchmark::DoNotOptimize(PlainFind(d, needle));
    plain += Seconds(Clock::now() - start);
    state.ResumeTiming();
  }
  state.counters["x_find"] = own / plain;
  state.counters["items"] = static_cast<double>(items);
}

void Search(benchmark::State& state, SearchQuery query) {
  AgainstPlainFind(state, query.text, [&](benchmark::State&) { return FindMatches(MaxProject(), query).size(); });
}

// Replacing copies the document first (not timed).
void Replace(benchmark::State& state, SearchQuery query, std::string replacement) {
  AgainstPlainFind(state, query.text, [&](benchmark::State& s) {
    s.PauseTiming();
    DialogueDocument copy = MaxProject();
    s.ResumeTiming();
    size_t replaced = static_cast<size_t>(ReplaceAll(copy, query, replacement).replaced);
    s.PauseTiming();
    { DialogueDocument gone = std::move(copy); }
    s.ResumeTiming();
    return replaced;
  });
}

void Counts(benchmark::State& state) {
  AgainstPlainFind(state, "captain", [](benchmark::State&) { return CountDialogue(MaxProject()).characters.size(); });
}

void RecordingScript(benchmark::State& state) {
  FolderLookup nothingHere = [](const std::string&) -> std::optional<std::vector<std::string>> { return std::nullopt; };
  AgainstPlainFind(state, "captain",
                   [&](benchmark::State&) { return WriteRecordingScript(MaxProject(), nothingHere).size(); });
}

}  // namespace

int main(int argc, char** argv) {
  MaxProject();
  auto add = [](const char* name, auto function, auto... args) {
    benchmark::RegisterBenchmark(name, function, args...)->Unit(benchmark::kMillisecond)->UseRealTime();
  };
  add("SearchCommonWord", Search, SearchQuery{"captain"});
  add("SearchCommonWordMatchCase", Search, SearchQuery{.text = "captain", .matchCase = true});
  add("SearchCommonWordWholeWords", Search, SearchQuery{.text = "captain", .wholeWords = true});
  add("SearchAbsentWord", Search, SearchQuery{"zeppelin"});
  add("SearchOneLetter", Search, SearchQuery{"e"});
  add("ReplaceAllCommonWord", Replace, SearchQuery{"captain"}, std::string("admiral"));
  add("CountDialogue", Counts);
  add("WriteRecordingScript", RecordingScript);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

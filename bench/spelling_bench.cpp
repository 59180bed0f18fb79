// The spelling check of the largest project as the editor runs it off the
// window's thread (a copy of the document, then every text a player reads),
// against Hunspell asked about the same words one by one in a plain loop,
// measured in the same run ("x_hunspell": the check's time over the loop's).
// The whole check must stay within 2 s.
#include <benchmark/benchmark.h>

#include <hunspell/hunspell.hxx>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/utf8_text.h"
#include "export/document_index.h"
#include "max_project.h"
#include "spelling/installed_dictionaries.h"
#include "spelling/spelling_check.h"

namespace {

using namespace tellwright;
using Clock = std::chrono::steady_clock;

using bench::MaxProject;

const InstalledDictionary& English() {
  static const InstalledDictionary english = [] {
    std::optional<InstalledDictionary> found =
        DictionaryOf(FindInstalledDictionaries({"/usr/share/hunspell"}), "en_US");
    if (!found) std::abort();  // hunspell-en-us, from scripts/install-deps.sh
    return *found;
  }();
  return english;
}

// Every word the check reads, as the dictionary wants it (UTF-8).
const std::vector<std::string>& SpokenWordsOfMaxProject() {
  static const std::vector<std::string> words = [] {
    std::vector<std::string> all;
    const DialogueDocument& d = MaxProject();
    auto add = [&all](std::string_view text) {
      for (const TextWord& word : SpokenWords(text)) all.push_back(Cp1252ToUtf8(word.word));
    };
    for (int b = 0; b < BranchesToVisit(d); ++b) {
      const DialogueBranch& branch = d.branch(b);
      for (int l = 0; l < LinesToVisit(branch); ++l)
        if (KindOf(branch.lines[l].kind) == LineKind::Talk) add(branch.lines[l].text);
    }
    for (int k = 0; k < d.responseBlocks.stored(); ++k)
      for (int r = 0; r < d.responseBlocks[k].usedResponses(); ++r) add(d.responseBlocks[k].responses[r].text);
    return all;
  }();
  return words;
}

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

void BM_SpellingCheckOfLargestProject(benchmark::State& state) {
  SpellCheckerOpening opening = SpellChecker::Open(English());
  if (!opening.status) return state.SkipWithError(opening.status.message.c_str());
  Hunspell hunspell(English().affFile.c_str(), English().dicFile.c_str());
  const std::vector<std::string>& words = SpokenWordsOfMaxProject();
  double check = 0;
  double loop = 0;
  size_t found = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    DialogueDocument copy = MaxProject();
    KnownWords known;
    known.addNamesOf(copy);
    WordJudge judge(*opening.checker, known);
    found = FindMisspellings(copy, judge).size();
    check += Seconds(Clock::now() - start);
    benchmark::DoNotOptimize(found);

    start = Clock::now();
    size_t unknown = 0;
    for (const std::string& word : words) unknown += hunspell.spell(word) ? 0 : 1;
    loop += Seconds(Clock::now() - start);
    benchmark::DoNotOptimize(unknown);
  }
  state.counters["check_s"] = check / static_cast<double>(state.iterations());
  state.counters["hunspell_s"] = loop / static_cast<double>(state.iterations());
  state.counters["x_hunspell"] = check / loop;
  state.counters["words"] = static_cast<double>(words.size());
  state.counters["misspelled"] = static_cast<double>(found);
}
BENCHMARK(BM_SpellingCheckOfLargestProject)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();

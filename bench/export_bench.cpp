// Exporting the largest project with each exporter, to memory and to files,
// against a baseline that writes the same bytes the same way (a temporary file
// renamed over the target). Each benchmark reports "x_baseline": its time over
// the baseline's, both measured in the same iterations.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "document/atomic_write.h"
#include "export/text_export.h"
#include "export/vexa_export.h"
#include "export/wme_export.h"
#include "max_project.h"

namespace {

using namespace tellwright;
using Clock = std::chrono::steady_clock;

struct Fixture {
  DialogueDocument project = bench::MakeMaxProject();
  std::string folder;

  Fixture() {
    folder = (std::filesystem::temp_directory_path() / ("tellwright-export-bench-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(folder);
  }
  ~Fixture() { std::filesystem::remove_all(folder); }
  std::string path(const std::string& name) const { return folder + "/" + name; }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

// Files of the same sizes as an export gives, filled with plain bytes.
struct Baseline {
  std::vector<std::string> paths;
  std::vector<std::string> contents;

  void write() const {
    for (size_t i = 0; i < paths.size(); ++i)
      if (!WriteFileAtomically(paths[i], contents[i])) std::abort();
  }
};

Baseline SameSizes(const std::vector<size_t>& sizes, const std::string& stem) {
  Baseline baseline;
  for (size_t i = 0; i < sizes.size(); ++i) {
    baseline.paths.push_back(Shared().path(stem + std::to_string(i) + ".bin"));
    baseline.contents.emplace_back(sizes[i], 'x');
  }
  return baseline;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Times `run` (the benchmark's own time) and, untimed, the baseline after it.
void Measure(benchmark::State& state, const Baseline& baseline, const std::function<void()>& run, size_t bytes) {
  double own = 0;
  double base = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    run();
    own += Seconds(Clock::now() - start);
    state.PauseTiming();
    start = Clock::now();
    baseline.write();
    base += Seconds(Clock::now() - start);
    state.ResumeTiming();
  }
  state.counters["x_baseline"] = own / base;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

size_t Total(const std::vector<size_t>& sizes) {
  size_t total = 0;
  for (size_t size : sizes) total += size;
  return total;
}

std::vector<size_t> VexaSizes() {
  std::vector<size_t> sizes;
  for (const VexaFile& file : ExportVexaScriptFiles(Shared().project, Shared().path("dlg"))) sizes.push_back(file.bytes.size());
  return sizes;
}

void WmeToMemory(benchmark::State& state) {
  const DialogueDocument& project = Shared().project;
  static const std::vector<size_t> sizes{ExportWmeScriptBytes(project).size()};
  static const Baseline baseline = SameSizes(sizes, "wme");
  Measure(state, baseline, [&] { benchmark::DoNotOptimize(ExportWmeScriptBytes(project)); }, Total(sizes));
}

void WmeToFile(benchmark::State& state) {
  const DialogueDocument& project = Shared().project;
  static const std::vector<size_t> sizes{ExportWmeScriptBytes(project).size()};
  static const Baseline baseline = SameSizes(sizes, "wme");
  std::string path = Shared().path("max.script");
  Measure(state, baseline, [&] { if (!ExportWmeScript(project, path)) std::abort(); }, Total(sizes));
}

void VexaToMemory(benchmark::State& state) {
  const DialogueDocument& project = Shared().project;
  static const std::vector<size_t> sizes = VexaSizes();
  static const Baseline baseline = SameSizes(sizes, "vexa");
  std::string base = Shared().path("dlg");
  Measure(state, baseline, [&] { benchmark::DoNotOptimize(ExportVexaScriptFiles(project, base)); }, Total(sizes));
}

void VexaToFiles(benchmark::State& state) {
  const DialogueDocument& project = Shared().project;
  static const std::vector<size_t> sizes = VexaSizes();
  static const Baseline baseline = SameSizes(sizes, "vexa");
  std::string base = Shared().path("dlg");
  Measure(state, baseline, [&] { if (!ExportVexaScript(project, base).ok()) std::abort(); }, Total(sizes));
}

void TextToMemory(benchmark::State& state) {
  const DialogueDocument& project = Shared().project;
  static const std::vector<size_t> sizes{ExportTextBytes(project).size()};
  static const Baseline baseline = SameSizes(sizes, "text");
  Measure(state, baseline, [&] { benchmark::DoNotOptimize(ExportTextBytes(project)); }, Total(sizes));
}

void TextToFile(benchmark::State& state) {
  const DialogueDocument& project = Shared().project;
  static const std::vector<size_t> sizes{ExportTextBytes(project).size()};
  static const Baseline baseline = SameSizes(sizes, "text");
  std::string path = Shared().path("max.txt");
  Measure(state, baseline, [&] { if (!ExportText(project, path)) std::abort(); }, Total(sizes));
}

}  // namespace

BENCHMARK(WmeToMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WmeToFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(VexaToMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(VexaToFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TextToMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TextToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();

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

#include "export/text_export.h"
#include "export/vexa_export.h"
#include "export/wme_export.h"
#include "max_project.h"
#include "os/atomic_write.h"

namespace {

using namespace tellwright;
using Clock = std::chrono::steady_clock;

struct Fixture {
  DialogueDocument project = bench::MakeMaxProject();
  std::string folder;

  Fixture() {
    folder =
        (std::filesystem::temp_directory_path() / ("tellwright-export-bench-" + std::to_string(getpid()))).string();
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
void Measure(benchmark::State& state, const Baseline& baseline, size_t bytes, const std::function<void()>& run) {
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

std::vector<size_t> WmeSizes() { return {ExportWmeScriptBytes(Shared().project).size()}; }
std::vector<size_t> TextSizes() { return {ExportTextBytes(Shared().project).size()}; }
std::vector<size_t> VexaSizes() {
  std::vector<size_t> sizes;
  for (const VexaFile& file : ExportVexaScriptFiles(Shared().project, Shared().path("dlg")))
    sizes.push_back(file.bytes.size());
  return sizes;
}

struct ExportCase {
  const char* name;
  std::vector<size_t> (*sizes)();
  void (*run)(const DialogueDocument& project);
};

const ExportCase kCases[] = {
    {"WmeToMemory", WmeSizes, [](const DialogueDocument& p) { benchmark::DoNotOptimize(ExportWmeScriptBytes(p)); }},
    {"WmeToFile", WmeSizes,
     [](const DialogueDocument& p) {
       if (!ExportWmeScript(p, Shared().path("max.script"))) std::abort();
     }},
    {"VexaToMemory", VexaSizes,
     [](const DialogueDocument& p) { benchmark::DoNotOptimize(ExportVexaScriptFiles(p, Shared().path("dlg"))); }},
    {"VexaToFiles", VexaSizes,
     [](const DialogueDocument& p) {
       if (!ExportVexaScript(p, Shared().path("dlg")).ok()) std::abort();
     }},
    {"TextToMemory", TextSizes, [](const DialogueDocument& p) { benchmark::DoNotOptimize(ExportTextBytes(p)); }},
    {"TextToFile", TextSizes,
     [](const DialogueDocument& p) {
       if (!ExportText(p, Shared().path("max.txt"))) std::abort();
     }},
};

void RunCase(benchmark::State& state, const ExportCase& c) {
  std::vector<size_t> sizes = c.sizes();
  Baseline baseline = SameSizes(sizes, c.name);
  size_t total = 0;
  for (size_t size : sizes) total += size;
  Measure(state, baseline, total, [&] { c.run(Shared().project); });
}

}  // namespace

int main(int argc, char** argv) {
  for (const ExportCase& c : kCases)
    benchmark::RegisterBenchmark(c.name, RunCase, c)->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Loading and saving the largest project, against baselines that only read
// the file and count its lines, or only write its bytes.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include "document/project_file.h"
#include "max_project.h"

namespace {

// Heap accounting: bytes held (the allocator's usable size plus its 8-byte
// chunk header) and the peak since the last reset.
// Only the memory benchmark counts, so the timings carry no accounting cost.
bool gCounting = false;
std::atomic<int64_t> gHeld{0};
std::atomic<int64_t> gPeak{0};

void Count(void* p) {
  if (!gCounting) return;
  int64_t now = gHeld += static_cast<int64_t>(malloc_usable_size(p) + 8);
  int64_t peak = gPeak.load();
  while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
  }
}

}  // namespace

// The replaced global allocation functions pair malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  Count(p);
  return p;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  if (gCounting) gHeld -= static_cast<int64_t>(malloc_usable_size(p) + 8);
  std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace {

using tellwright::DialogueDocument;

struct Fixture {
  std::string folder;
  std::string projectPath;
  std::string bytes;

  Fixture() {
    folder = (std::filesystem::temp_directory_path() / ("tellwright-bench-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(folder);
    projectPath = folder + "/max.tlwdlg";
    bytes = tellwright::WriteProject(tellwright::bench::MakeMaxProject());
    if (!tellwright::SaveProject(tellwright::bench::MakeMaxProject(), projectPath)) std::abort();
  }
  ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

size_t CountLineEnds(const char* p, const char* end) {
  size_t lines = 0;
  while ((p = static_cast<const char*>(std::memchr(p, '\n', end - p)))) {
    ++lines;
    ++p;
  }
  return lines;
}

// The baseline of loading: read the whole file into memory and count its
// line ends.
void ReadFileAndCountLinesBaseline(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    std::FILE* file = std::fopen(f.projectPath.c_str(), "rb");
    std::string bytes(f.bytes.size(), '\0');
    size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    benchmark::DoNotOptimize(CountLineEnds(bytes.data(), bytes.data() + got));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.bytes.size()));
}

// A stricter baseline: the same in chunks of 256 KiB, as the loader reads.
void ReadChunksAndCountLinesBaseline(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    std::FILE* file = std::fopen(f.projectPath.c_str(), "rb");
    std::string buffer(1 << 18, '\0');
    size_t lines = 0, got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
      lines += CountLineEnds(buffer.data(), buffer.data() + got);
    std::fclose(file);
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.bytes.size()));
}

void LoadProject(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    state.PauseTiming();
    auto document = std::make_unique<DialogueDocument>();
    state.ResumeTiming();
    if (!tellwright::LoadProject(f.projectPath, *document)) state.SkipWithError("load failed");
    state.PauseTiming();
    document.reset();  // freeing the loaded project is not part of loading it
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.bytes.size()));
}

// Heap of the loaded project, at its peak while loading and held after it,
// per byte of the file.
void LoadedProjectMemory(benchmark::State& state) {
  Fixture& f = Shared();
  int64_t peak = 0;
  int64_t held = 0;
  for (auto _ : state) {
    auto document = std::make_unique<DialogueDocument>();
    gCounting = true;
    gHeld = 0;
    gPeak = 0;
    if (!tellwright::LoadProject(f.projectPath, *document)) state.SkipWithError("load failed");
    peak = gPeak.load();
    held = gHeld.load();
    gCounting = false;
  }
  double size = static_cast<double>(f.bytes.size());
  state.counters["file_MiB"] = size / (1 << 20);
  state.counters["peak_per_file_byte"] = static_cast<double>(peak) / size;
  state.counters["held_per_file_byte"] = static_cast<double>(held) / size;
}

// The baseline writes the same bytes the way a careful writer does, flushed
// to the disk, as a save does.
void WriteBaseline(benchmark::State& state) {
  Fixture& f = Shared();
  std::string path = f.folder + "/baseline.tlwdlg";
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(f.bytes.data(), 1, f.bytes.size(), file);
    std::fflush(file);
    fsync(fileno(file));
    std::fclose(file);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.bytes.size()));
}

void SaveProject(benchmark::State& state) {
  Fixture& f = Shared();
  DialogueDocument document;
  if (!tellwright::LoadProject(f.projectPath, document)) state.SkipWithError("load failed");
  std::string path = f.folder + "/saved.tlwdlg";
  for (auto _ : state)
    if (!tellwright::SaveProject(document, path)) state.SkipWithError("save failed");
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.bytes.size()));
}

void EmptyDocumentHeap(benchmark::State& state) {
  int64_t held = 0;
  for (auto _ : state) {
    gCounting = true;
    gHeld = 0;
    auto* document = new DialogueDocument;
    held = gHeld.load();
    gCounting = false;
    benchmark::DoNotOptimize(document);
    delete document;
  }
  state.counters["empty_document_bytes"] = static_cast<double>(held);
}

BENCHMARK(ReadFileAndCountLinesBaseline)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ReadChunksAndCountLinesBaseline)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(LoadProject)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(WriteBaseline)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(SaveProject)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(LoadedProjectMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(EmptyDocumentHeap)->Iterations(1000);

}  // namespace

BENCHMARK_MAIN();

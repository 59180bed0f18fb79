// The branch map: the graph model and its DOT text, then the layout step,
// on the bundled example and on the largest project (500 branches, 5 links
// each), against a plain Graphviz layout of the same DOT text measured in
// the same iterations ("x_graphviz": the layout step's time over the plain
// layout's). Counters in seconds: "lint" for the problems the badges show
// (the editor has them at hand), "model_dot" for the model and the DOT,
// "layout" for the layout step, "graphviz" for the plain layout,
// "layout_cpu" for the step's processor time (the machine may be busy).
// The first layout of the process, which also loads Graphviz's plugins, is
// printed before the runs.
#include <benchmark/benchmark.h>
#include <graphviz/gvc.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "layout/graph_layout.h"
#include "max_project.h"
#include "tools/branch_graph.h"
#include "tools/graph_dot.h"

namespace {

using namespace tellwright;
using Clock = std::chrono::steady_clock;

const DialogueDocument& MaxProject() {
  static const DialogueDocument document = bench::MakeMaxProject({.linksPerBlock = 5});
  return document;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The baseline: read the text and lay it out, nothing more.
void PlainGraphvizLayout(const std::string& dot) {
  static GVC_t* context = gvContext();
  Agraph_t* graph = agmemread(dot.c_str());
  if (!graph || gvLayout(context, graph, "dot") != 0) std::abort();
  gvFreeLayout(context, graph);
  agclose(graph);
}

void Map(benchmark::State& state, const DialogueDocument& (*document)(), LayoutRequest request) {
  const DialogueDocument& d = document();
  double lint = 0, modelDot = 0, layout = 0, layoutCpu = 0, graphviz = 0;
  size_t nodes = 0, edges = 0;
  for (auto _ : state) {
    Clock::time_point linted = Clock::now();
    std::vector<Problem> problems = LintDialogue(d);
    Clock::time_point start = Clock::now();
    lint += Seconds(start - linted);
    BranchGraph graph = BuildBranchGraph(d, problems);
    std::string dot = WriteGraphDot(graph);
    Clock::time_point built = Clock::now();
    double cpu = ThreadCpuSeconds();
    LayoutResult result = LayOutGraph(dot, request);
    layoutCpu += ThreadCpuSeconds() - cpu;
    Clock::time_point laidOut = Clock::now();
    modelDot += Seconds(built - start);
    layout += Seconds(laidOut - built);
    state.PauseTiming();
    if (!result.status) std::abort();
    nodes = graph.nodes.size();
    edges = graph.edges.size();
    start = Clock::now();
    PlainGraphvizLayout(dot);
    graphviz += Seconds(Clock::now() - start);
    state.ResumeTiming();
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["lint"] = lint / runs;
  state.counters["model_dot"] = modelDot / runs;
  state.counters["layout"] = layout / runs;
  state.counters["layout_cpu"] = layoutCpu / runs;
  state.counters["graphviz"] = graphviz / runs;
  state.counters["x_graphviz"] = layout / graphviz;
  state.counters["nodes"] = static_cast<double>(nodes);
  state.counters["edges"] = static_cast<double>(edges);
}

// The first map a window shows: Graphviz loads its plugins then.
void PrintFirstLayout() {
  Clock::time_point start = Clock::now();
  LayoutResult result = LayOutGraph(WriteGraphDot(BuildBranchGraph(bench::ExampleProject())));
  std::printf("First layout of the example (model, DOT, plugins, layout): %.1f ms%s\n",
              Seconds(Clock::now() - start) * 1000, result.status ? "" : " FAILED");
}

}  // namespace

int main(int argc, char** argv) {
  PrintFirstLayout();
  benchmark::RegisterBenchmark("MapExample", Map, bench::ExampleProject, LayoutRequest{})
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("MapExampleSvg", Map, bench::ExampleProject, LayoutRequest{.svg = true})
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("MapMaxProject", Map, MaxProject, LayoutRequest{})
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(3);
  benchmark::RegisterBenchmark("MapMaxProjectSvg", Map, MaxProject, LayoutRequest{.svg = true})
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(3);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Reading an interchange file and counting its user line types, as the window does at
// start-up: InitJwwModel, LoadJwcTempFile, the tally.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <string>

#include "DrawingGenerator.h"
#include "model/JwwGaibu2.h"
#include "globals/UnitGval.h"
#include "search/Extents.h"
#include "search/LineTypeTally.h"

namespace {

// One generated file per size, kept for the whole run.
const std::string& DrawingFile(std::size_t entities) {
  static std::map<std::size_t, std::string> files;
  auto it = files.find(entities);
  if (it == files.end()) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("sxf-bench-" + std::to_string(entities) + ".txt");
    sxf::bench::WriteGeneratedDrawing(path.string(), entities);
    it = files.emplace(entities, path.string()).first;
  }
  return it->second;
}

void BM_ReadAndCount(benchmark::State& state) {
  const std::string& path = DrawingFile(static_cast<std::size_t>(state.range(0)));
  const auto bytes = std::filesystem::file_size(path);
  int entities = 0;
  for (auto _ : state) {
    sxf::InitJwwModel();
    benchmark::DoNotOptimize(sxf::LoadJwcTempFile(path));
    sxf::TTallyGrid grid = sxf::BuildTallyGrid();
    benchmark::DoNotOptimize(grid);
    // Release the lists, so that every iteration grows them from nothing as a start-up does.
    state.PauseTiming();
    entities = sxf::EntOrderCount;
    sxf::FreeJwwModel();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
  state.counters["entities"] = entities;
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ReadAndCount)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The drawing extents that fit-all computes, over a loaded drawing.
void BM_ComputeExtents(benchmark::State& state) {
  sxf::InitJwwModel();
  sxf::LoadJwcTempFile(DrawingFile(static_cast<std::size_t>(state.range(0))));
  for (auto _ : state) {
    sxf::ComputeExtents();
    benchmark::DoNotOptimize(sxf::ExtentRight);
  }
  state.counters["entities"] = sxf::EntOrderCount;
  sxf::FreeJwwModel();
}
BENCHMARK(BM_ComputeExtents)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ParseSegmentLine(benchmark::State& state) {
  sxf::InitJwwModel();
  const std::string line = " 12.5 30 40.25 -3.2783543701953e-005";
  for (auto _ : state) {
    sxf::ParseJwwLine(line);
    if (sxf::LinCount >= 1000000) {
      state.PauseTiming();
      sxf::InitJwwModel();
      state.ResumeTiming();
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(line.size() + 2) * state.iterations());
}
BENCHMARK(BM_ParseSegmentLine);

}  // namespace

BENCHMARK_MAIN();

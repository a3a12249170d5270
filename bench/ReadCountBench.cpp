// Reading an interchange file and counting its user line types, as the window does at
// start-up (ReadJwcTempFile, the tally), and the pieces of it: one line of each
// common kind, the field splitting, the number conversion.
//
//   bench_read_count [benchmark flags]   the benchmarks
//   bench_read_count --read-count FILE   reads and counts FILE once and prints the counts: a
//                                        whole process to time against other programs

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "DrawingGenerator.h"
#include "model/JwwGaibu2.h"
#include "search/Extents.h"
#include "search/LineTypeTally.h"
#include "util/MyFunc.h"

namespace {

// One generated file per size, kept for the whole run.
const std::string& DrawingFile(std::size_t entities) {
  static std::map<std::size_t, std::string> files;
  auto it = files.find(entities);
  if (it == files.end()) {
    const auto path =
        std::filesystem::temp_directory_path() / ("sxf-bench-" + std::to_string(entities) + ".txt");
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
    sxf::TJwcLoad load = sxf::ReadJwcTempFile(path);
    benchmark::DoNotOptimize(load.Result.ReadToEnd);
    sxf::TTallyGrid grid = sxf::BuildTallyGrid(load.Drawing);
    benchmark::DoNotOptimize(grid);
    // Release the lists untimed, so that every iteration grows them from nothing as a start-up
    // does.
    state.PauseTiming();
    entities = load.Drawing.EntOrderCount();
    load = {};
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
  state.counters["entities"] = entities;
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
  // Time per entity read and counted.
  state.counters["per_entity"] = benchmark::Counter(
      static_cast<double>(entities),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadAndCount)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The drawing extents that fit-all computes, over a loaded drawing.
void BM_ComputeExtents(benchmark::State& state) {
  const sxf::TJwcLoad load =
      sxf::ReadJwcTempFile(DrawingFile(static_cast<std::size_t>(state.range(0))));
  for (auto _ : state) {
    const sxf::TWorldBox extents = sxf::ComputeExtents(load.Drawing);
    benchmark::DoNotOptimize(extents.Right);
  }
  state.counters["entities"] = load.Drawing.EntOrderCount();
}
BENCHMARK(BM_ComputeExtents)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Lines of the kinds a drawing is made of, as the host writes them.
constexpr std::string_view kLines[] = {
    " 12.5 30 40.25 -3.2783543701953e-005",                         // segment, short numbers
    " 16843.912003817 -1205.0366821289 16901.47 -1133.7061010741",  // segment, full precision
    "ci 8702.0703125 1322.75 153.23441314697 90 270 1 0",           // arc
    "ch 8702.0703125 1322.75 1 0 \"\x95\x94\x89\xAE 12",            // text
    "lt52",                                                         // a line type
};

// Interpreting one line, split and read into the model.
void BM_ParseLine(benchmark::State& state) {
  const std::string line(kLines[state.range(0)]);
  sxf::TJwcReader reader;
  sxf::TJwwFields fields;
  for (auto _ : state) {
    reader.ParseLine(line, fields);
    if (reader.Drawing().EntOrderCount() >= 1000000) {
      state.PauseTiming();
      reader = sxf::TJwcReader();
      state.ResumeTiming();
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(line.size() + 2) * state.iterations());
  state.SetLabel(line.substr(0, 24));
}
BENCHMARK(BM_ParseLine)->DenseRange(0, 4);

// Splitting one line into fields: views into the line, or every byte copied.
template <bool kCopying>
void BM_SplitLine(benchmark::State& state) {
  const std::string line(kLines[state.range(0)]);
  sxf::TJwwFields fields;
  for (auto _ : state) {
    if constexpr (kCopying)
      fields.SplitCopying(line);
    else
      fields.Split(line);
    benchmark::DoNotOptimize(fields);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(line.size()) * state.iterations());
  state.SetLabel(line.substr(0, 24));
}
BENCHMARK(BM_SplitLine<false>)->DenseRange(0, 4);
BENCHMARK(BM_SplitLine<true>)->DenseRange(0, 4);

// The number fields of a generated drawing, for the conversions.
const std::vector<std::string>& NumberTexts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> out;
    const std::string drawing = sxf::bench::GenerateDrawing(20000, 3);
    sxf::TJwwFields fields;
    std::size_t at = 0;
    while (at < drawing.size() && out.size() < 65536) {
      std::size_t end = drawing.find_first_of("\r\n", at);
      if (end == std::string::npos) end = drawing.size();
      fields.Split(std::string_view(drawing).substr(at, end - at));
      for (int k = 0; k < fields.Count(); ++k) {
        const std::string_view f = fields[k];
        if (!f.empty() && (f[0] == '-' || (f[0] >= '0' && f[0] <= '9'))) out.emplace_back(f);
      }
      at = end + 1;
    }
    return out;
  }();
  return texts;
}

template <double (*kConvert)(std::string_view) noexcept>
void BM_StrToFloat(benchmark::State& state) {
  const std::vector<std::string>& texts = NumberTexts();
  std::size_t i = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string& text = texts[i];
    benchmark::DoNotOptimize(kConvert(text));
    bytes += text.size();
    if (++i == texts.size()) i = 0;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_StrToFloat<sxf::StrToFloatOr0>)->Name("BM_StrToFloatOr0/one_pass");
BENCHMARK(BM_StrToFloat<sxf::StrToFloatOr0DigitByDigit>)->Name("BM_StrToFloatOr0/digit_by_digit");

// Reads and counts FILE once, as the window's start-up does, and prints what it counted.
int ReadAndCountOnce(const char* path) {
  const sxf::TJwcLoad load = sxf::ReadJwcTempFile(path);
  if (!load.Result.ReadToEnd) {
    std::fprintf(stderr, "%s: %s\n", path, sxf::DescribeJwcLoadProblem(load.Result).c_str());
    return 1;
  }
  const sxf::TTallyGrid grid = sxf::BuildTallyGrid(load.Drawing);
  std::printf("entities %d user-type total %s\n", load.Drawing.EntOrderCount(),
              grid.Cell(sxf::kTallyTotal, sxf::kTallyRows - 1).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--read-count") == 0) return ReadAndCountOnce(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

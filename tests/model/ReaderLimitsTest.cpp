// What a file can make the reader do: only regular files are read, lines are cut at a
// bound, reading stops at a size bound or when memory runs out, and every way of stopping
// keeps what was read. The bounds are set small here; the program's are 1 MiB and 1 GiB.

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model/JwwGaibu2.h"
#include "support/ModelTestSupport.h"

namespace sxf {
namespace {

struct TSegments {
  std::vector<double> X1;
  friend bool operator==(const TSegments&, const TSegments&) = default;
};
TSegments Segments(const TDrawing& drawing) {
  TSegments s;
  for (const TJwwEntLin& l : drawing.LinList) s.X1.push_back(l.X1);
  return s;
}

// The lines of a text as the reader must see them, split without any chunking: CR LF, LF
// and a lone CR end a line, each line cut to maxLine bytes.
std::vector<std::string> ReferenceLines(const std::string& text, std::size_t maxLine) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line.substr(0, maxLine));
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line.substr(0, maxLine));
  return lines;
}

// Whatever the line bound (and so the chunk size), the file reads as its lines read one by
// one: lines cut at the bound, CR LF split across chunks, runs of lone CRs.
TEST(ReaderLimits, ChunkedReadingMatchesLineByLineAtEveryBound) {
  std::string text;
  const char* ends[] = {"\n", "\r\n", "\r", "\r\r\n", "\n\r"};
  for (int i = 0; i < 300; ++i) {
    text += std::to_string(i) + " 1 2 3";
    if (i % 7 == 0) text += std::string(static_cast<std::size_t>(i % 23), ' ') + "4 5";  // long
    text += ends[i % 5];
  }
  text += "299.5 0 0 0";  // a last line without its end
  const std::string path = test::WriteTempFile(text);
  for (std::size_t maxLine : {1u, 2u, 3u, 5u, 8u, 9u, 10u, 13u, 16u, 31u, 64u, 1000u}) {
    TJwcReader byLine;
    for (const std::string& line : ReferenceLines(text, maxLine)) byLine.ParseLine(line);
    const TJwcLoad load = ReadJwcTempFile(path, {1 << 20, maxLine});
    EXPECT_TRUE(load.Result.ReadToEnd) << maxLine;
    EXPECT_EQ(Segments(load.Drawing), Segments(byLine.Drawing())) << "line bound " << maxLine;
    if (maxLine >= 64) { EXPECT_GT(load.Drawing.LinCount(), 250); }
  }
  std::filesystem::remove(path);
}

TEST(ReaderLimits, ALineIsCutAtOneMebibyteAndTheRestDropped) {
  const std::string rest = " 7 8 9";  // would make four fields if it were not dropped
  const std::string text = "file=" + std::string(kMaxJwcLineBytes, 'a') + rest + "\n1 2 3 4\n";
  const std::string path = test::WriteTempFile(text);
  const TJwcLoad load = ReadJwcTempFile(path);
  EXPECT_TRUE(load.Result.ReadToEnd);
  EXPECT_EQ(load.Drawing.JwwFileName, std::string(kMaxJwcLineBytes - 5, 'a'));
  ASSERT_EQ(load.Drawing.LinCount(), 1);
  EXPECT_EQ(load.Drawing.LinList[0].X1, 1.0);
  std::filesystem::remove(path);
}

TEST(ReaderLimits, ReadingStopsPastTheSizeBoundAndKeepsWhatWasRead) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += std::to_string(i) + " 0 0 1\n";  // 7 or 8 bytes
  const std::string path = test::WriteTempFile(text);
  struct TCase {
    std::uint64_t Limit;
    bool ReadToEnd;
    int Lines;  // complete lines within the limit
  } cases[] = {
      {text.size(), true, 30}, {text.size() - 1, false, 29}, {80, false, 10}, {79, false, 9}};
  for (const TCase& c : cases) {
    const TJwcLoad load = ReadJwcTempFile(path, {c.Limit, 64});
    const TJwcLoadResult& r = load.Result;
    EXPECT_EQ(r.ReadToEnd, c.ReadToEnd) << c.Limit;
    EXPECT_EQ(r.Problem, c.ReadToEnd ? TJwcLoadProblem::None : TJwcLoadProblem::TooLarge);
    EXPECT_EQ(r.BytesRead, c.Limit);
    EXPECT_EQ(load.Drawing.LinCount(), c.Lines) << c.Limit;
    if (!c.ReadToEnd) {
      EXPECT_NE(DescribeJwcLoadProblem(r).find("larger than 1024 MiB"), std::string::npos);
    }
  }
  std::filesystem::remove(path);
}

// A FIFO without a writer, a device that never ends, a folder: refused before reading.
TEST(ReaderLimits, OnlyRegularFilesAreRead) {
  const auto fifo =
      std::filesystem::temp_directory_path() / ("sxf-fifo-" + std::to_string(::getpid()));
  std::filesystem::remove(fifo);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path :
       {fifo.string(), std::string("/dev/zero"), std::filesystem::temp_directory_path().string()}) {
    auto pending = std::async(std::launch::async, [&path] {
      return ReadJwcTempFile(path, {4096, 64});
    });
    if (pending.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
      const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);  // lets a blocked open end
      pending.wait();
      if (writer >= 0) ::close(writer);
      ADD_FAILURE() << path << " blocked the reader";
      continue;
    }
    const TJwcLoad load = pending.get();
    const TJwcLoadResult& r = load.Result;
    EXPECT_TRUE(r.Exists) << path;
    EXPECT_FALSE(r.ReadToEnd) << path;
    EXPECT_EQ(r.Problem, TJwcLoadProblem::NotRegularFile) << path;
    EXPECT_EQ(r.BytesRead, 0u) << path;
    EXPECT_EQ(load.Drawing.EntOrderCount(), 0);
  }
  std::filesystem::remove(fifo);
}

// Lone CRs end lines as LFs do, and must cost the same: the search for a line end must
// not run to the end of the buffer for every line.
TEST(ReaderLimits, LinesEndedByLoneCrsReadAsFastAsLinesEndedByLf) {
  const auto seconds = [](const std::string& eol) {
    std::string text;
    for (int i = 0; i < 300000; ++i) text += "1 2 3 4" + eol;
    const std::string path = test::WriteTempFile(text);
    const auto start = std::chrono::steady_clock::now();
    const TJwcLoad load = ReadJwcTempFile(path);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(load.Result.ReadToEnd);
    EXPECT_EQ(load.Drawing.LinCount(), 300000);
    std::filesystem::remove(path);
    return took.count();
  };
  const double lf = seconds("\n");
  const double cr = seconds("\r");
  EXPECT_LT(cr, 3.0 * lf + 0.3) << "LF " << lf << " s, CR " << cr << " s";
}

TEST(ReaderLimits, CountersSaturate) {
  TJwcReader reader;
  TDrawing& drawing = reader.Drawing();
  reader.State().PlCount = INT_MAX - 1;
  for (const char* line : {"pl", "0 0 1 1", "pl", "0 0 1 1", "pl", "0 0 1 1"})
    reader.ParseLine(line);
  EXPECT_EQ(reader.State().PlCount, INT_MAX);
  ASSERT_EQ(drawing.LinCount(), 3);
  EXPECT_EQ(drawing.LinList[0].PlNo, INT_MAX);
  EXPECT_EQ(drawing.LinList[2].PlNo, INT_MAX);
  drawing.HpCount = INT_MAX - 1;
  for (const char* line : {"hp1 0 0", "hp2 0 0", "hp3 0 0"}) reader.ParseLine(line);
  EXPECT_EQ(drawing.HpCount, INT_MAX);
  EXPECT_TRUE(drawing.HpList[3].Used);
}

#if defined(__SANITIZE_ADDRESS__)
#define SXF_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SXF_UNDER_ASAN 1
#endif
#endif

// A child process with a small address space reads a file whose model does not fit: the
// reader must stop with OutOfMemory and a consistent model, not abort.
TEST(ReaderLimits, OutOfMemoryStopsTheReaderAndKeepsAConsistentModel) {
#if defined(SXF_UNDER_ASAN)
  GTEST_SKIP() << "the sanitizer's shadow memory needs the whole address space";
#else
  std::string text;
  for (int i = 0; i < 4000000; ++i) text += "1 2 3 4\n";  // 32 MB, about 300 MB of model
  const std::string path = test::WriteTempFile(text);
  text.clear();
  text.shrink_to_fit();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TJwcReader reader;
    const TDrawing& drawing = reader.Drawing();
    rlimit limit{};
    ::getrlimit(RLIMIT_AS, &limit);
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
      std::fclose(f);
    }
    limit.rlim_cur =
        static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (96u << 20);
    if (pages == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(3);
    const TJwcLoadResult r = reader.ReadFile(path);
    const bool consistent =
        drawing.EntOrder.size() == static_cast<std::size_t>(drawing.EntOrderCount()) &&
        drawing.LinList.size() == static_cast<std::size_t>(drawing.LinCount()) &&
        drawing.LinCount() == drawing.EntOrderCount();
    if (r.Problem != TJwcLoadProblem::OutOfMemory || r.ReadToEnd) ::_exit(4);
    ::_exit(consistent && drawing.LinCount() > 100000 ? 0 : 5);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  std::filesystem::remove(path);
  ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

}  // namespace
}  // namespace sxf

// sxf-usertype-report: reads a JWC_TEMP.TXT or a drawing file with the window's reader and
// prints the line-type tally as the window's grid shows it; given several files or folders,
// one summary row per drawing.

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "cli/Report.h"
#include "cli/ReportOptions.h"
#include "cli/Summary.h"
#include "model/DrawingFiles.h"
#include "render/Bands.h"
#include "model/JwwGaibu2.h"
#include "search/ReportRows.h"
#include "text/TextLocale.h"
#include "util/MyFunc.h"
#if defined(_WIN32)
#include "platform/win32/ProgramPath.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: sxf-usertype-report FILE [--format text|csv|json] [--entities] [--by-layer] [--marks]\n"
    "                           [--png OUT [--size WxH] [--view LEFT,BOTTOM,RIGHT,TOP] [--scale "
    "S]]\n"
    "       sxf-usertype-report FILE|FOLDER... [--format text|csv|json]\n"
    "  Reads FILE (an interchange file JWC_TEMP.TXT, or a drawing file .jww/.jws with the\n"
    "  insides of its blocks) and prints how many entities of each kind use each SXF user\n"
    "  line type 17..32. Given several files, or a folder (its drawing files, searched to the\n"
    "  bottom), it prints one row per file and the totals, reading the files in parallel;\n"
    "  the exit status is then 0 when no user line type was found, 3 when some was, and 1\n"
    "  when a file could not be read.\n"
    "  --format text   the tally grid in aligned columns (default)\n"
    "  --format csv    the 18 x 8 grid cells as CSV (UTF-8 with a byte-order mark)\n"
    "  --format json   one JSON object: file, read_to_end, counts, tally\n"
    "  --entities      with --format json: every record in reading order\n"
    "  --by-layer      the tally of every layer that holds a counted entity (json: \"layers\")\n"
    "  --marks         text and csv: one line per numbered mark, where it is (json has \"marks\")\n"
    "  --png OUT       also write the preview as the window draws it after fit-all\n"
    "  --size WxH      size of that picture in pixels (default 800x600)\n"
    "  --view L,B,R,T  that picture zoomed to this box of world units instead of fit-all\n"
    "  --scale S       that picture as the window draws it at S x 96 dpi (1.5 for 150 %; default "
    "1)\n"
    "  --version       the program's version\n";

// Writes the whole text to standard output and flushes it; false, with a message, when any
// of it could not be written (a full disk, a closed pipe).
bool WriteAll(std::string_view text) {
  errno = 0;
  const std::size_t written = std::fwrite(text.data(), 1, text.size(), stdout);
  if (written == text.size() && std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  std::fprintf(stderr, "sxf-usertype-report: cannot write the output: %s\n",
               std::strerror(errno != 0 ? errno : EIO));
  return false;
}

int Usage(const char* problem) {
  std::fprintf(stderr, "sxf-usertype-report: %s\n%s", problem, kUsage);
  return 2;
}

// The arguments after the program name. File names are opened as the reader takes them:
// UTF-8 on Windows, where they come from the wide command line.
std::vector<std::string> Arguments(int argc, char** argv) {
#if defined(_WIN32)
  (void)argc;
  (void)argv;
  return sxf::ProgramArguments();
#else
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
}

// Several files, or a folder: the summary.
bool SummaryWanted(const sxf::TReportOptions& options) {
  return options.Files.size() > 1 || sxf::IsFolder(options.File);
}

int Summary(const sxf::TReportOptions& options) {
  std::vector<sxf::TSummaryRow> rows = sxf::CollectDrawingFiles(options.Files);
  std::atomic<std::size_t> done{0};
  const bool progress = isatty(fileno(stderr)) != 0;
  std::thread work([&] { sxf::SummarizeDrawings(rows, sxf::DrawingWorkers(), done); });
  // The progress line, on a terminal only, every tenth of a second until the work is done.
  while (progress && done.load() < rows.size()) {
    std::fprintf(stderr, "\r%zu / %zu files", done.load(), rows.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  work.join();
  if (progress) std::fprintf(stderr, "\r%zu / %zu files\n", rows.size(), rows.size());
  std::string out = sxf::FormatSummary(rows, options.Format);
  if (!WriteAll(out)) return 1;
  return sxf::SummaryExitStatus(rows);
}

}  // namespace

int main(int argc, char** argv) {
  const sxf::TReportArguments parsed = sxf::ParseReportArguments(Arguments(argc, argv));
  if (!parsed.Problem.empty()) return Usage(parsed.Problem.c_str());
  const sxf::TReportOptions& options = parsed.Options;
  if (options.Help) return WriteAll(kUsage) ? 0 : 1;
  if (options.Version) return WriteAll("sxf-usertype-report " SXF_VERSION "\n") ? 0 : 1;
  const std::string& file = options.File;
  const std::string_view format = options.Format;

  if (SummaryWanted(options)) return Summary(options);

  const sxf::TDrawingLoad load = sxf::LoadDrawing(file);
  const sxf::TDrawing& drawing = load.Drawing;
  if (load.NothingRead) {
    std::fprintf(stderr, "sxf-usertype-report: cannot read %s: %s\n", file.c_str(),
                 load.Problem.c_str());
    return 1;
  }
  // A file of no record at all looks like a drawing without user line types: say which it is.
  const std::string warning = sxf::NoRecordWarning(drawing, file);
  if (!warning.empty()) std::fprintf(stderr, "sxf-usertype-report: warning: %s\n", warning.c_str());

  // What was read is reported even when reading stopped early (then the status is 1).
  // Formatting a model that filled the memory may itself run out of it.
  std::string out;
  try {
    const sxf::TTallyGrid grid = sxf::BuildTallyGrid(drawing);
    if (!options.Png.empty()) {
      const std::string problem =
          sxf::WritePreviewPng(drawing, options.Png, options.Size.Width, options.Size.Height,
                               options.View, sxf::DpiOfScaleFactor(options.Scale.value_or(1.0)));
      if (!problem.empty()) {
        std::fprintf(stderr, "sxf-usertype-report: cannot write %s: %s\n", options.Png.c_str(),
                     problem.c_str());
        return 1;
      }
    }
    if (format == "json") {
      // Written as it is made: with every entity the text is several times the model's size.
      // A failed write leaves the stream's error set, which WriteAll below reports.
      sxf::WriteReportJson(
          drawing, grid, {load.ReadToEnd, options.Entities, true, options.ByLayer, warning},
          [](std::string_view chunk) { std::fwrite(chunk.data(), 1, chunk.size(), stdout); });
    } else {
      const bool csv = format == "csv";
      // The mark tells spreadsheets (Excel on a Japanese system among them) that the file is
      // UTF-8, not the system's code page.
      if (csv) out = sxf::kUtf8ByteOrderMark;
      out += csv ? sxf::FormatTallyCsv(grid) : sxf::FormatTallyText(grid);
      if (options.ByLayer) {
        out += '\n';
        out += csv ? sxf::FormatLayerTalliesCsv(drawing) : sxf::FormatLayerTalliesText(drawing);
      }
      if (options.Marks) {
        out += '\n';
        out += csv ? sxf::FormatMarksCsv(drawing) : sxf::FormatMarksText(drawing);
      }
      if (const std::string more = sxf::FormatBlocksAndLineTypes(drawing, csv); !more.empty()) {
        out += '\n';
        out += more;
      }
      // The drawing's block references were handed over as references only: say so last.
      const std::string blocks =
          sxf::BlocksNotSearchedLine(drawing, sxf::JapaneseLanguageFromEnvironment());
      if (!blocks.empty())
        out += csv ? "\"" + blocks.substr(0, blocks.size() - 1) + "\"\n" : blocks;
    }
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "sxf-usertype-report: out of memory while making the report of %s\n",
                 file.c_str());
    return 1;
  }
  if (!WriteAll(out)) return 1;
  if (!load.ReadToEnd) {
    std::fprintf(stderr, "sxf-usertype-report: %s was read only in part: %s\n", file.c_str(),
                 load.Problem.c_str());
    return 1;
  }
  return 0;
}

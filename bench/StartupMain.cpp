// startup-time N [--dense]: how long the window takes from creation to its first frame (side
// panel, grid and help text on the screen, the preview still blank) and to its finished
// preview, with a generated interchange file of N entities, light or dense (offscreen
// platform unless told otherwise).

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "DrawingGenerator.h"
#include "app/PaintBox.h"
#include "app/Unit1.h"
#include "platform/qt/Fonts.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const long long entities = argc > 1 ? std::atoll(argv[1]) : 1000000;
  const bool dense = argc > 2 && std::string_view(argv[2]) == "--dense";
  const auto dir = std::filesystem::temp_directory_path() / "sxf-startup";
  std::filesystem::create_directories(dir);
  if (!sxf::bench::WriteGeneratedDrawing(
          (dir / "JWC_TEMP.TXT").string(), static_cast<std::size_t>(std::max(0LL, entities)), 1,
          dense ? sxf::bench::TDrawingProfile::Dense : sxf::bench::TDrawingProfile::Light)) {
    std::perror("JWC_TEMP.TXT");
    return 1;
  }
  std::filesystem::remove(dir / "startup.dat");

  QElapsedTimer timer;
  timer.start();
  QApplication app(argc, argv);
  sxf::InstallFontSubstitutions();
  sxf::TForm1 form({dir.string() + "/", (dir / "startup.dat").string()});
  double firstFrameMs = -1;
  form.BeforeFirstDrawing = [&] { firstFrameMs = static_cast<double>(timer.nsecsElapsed()) / 1e6; };
  form.show();
  // Until the preview's first drawing is finished.
  while (!form.ViewImage) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  std::printf("entities=%lld first_frame_ms=%.1f preview_finished_ms=%.1f grid_total=%s\n",
              entities, firstFrameMs, ms, form.Tally().Cell(7, 17).c_str());
  form.close();
  std::filesystem::remove_all(dir);
  return 0;
}

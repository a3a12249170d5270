// startup-time N: how long the window takes from creation to its first painted preview with a
// generated interchange file of N entities (offscreen platform unless told otherwise).

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "DrawingGenerator.h"
#include "app/PaintBox.h"
#include "app/Unit1.h"
#include "platform/qt/Fonts.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const long long entities = argc > 1 ? std::atoll(argv[1]) : 1000000;
  const auto dir = std::filesystem::temp_directory_path() / "sxf-startup";
  std::filesystem::create_directories(dir);
  if (!sxf::bench::WriteGeneratedDrawing((dir / "JWC_TEMP.TXT").string(),
                                         static_cast<std::size_t>(std::max(0LL, entities)))) {
    std::perror("JWC_TEMP.TXT");
    return 1;
  }
  std::filesystem::remove(dir / "startup.dat");

  QElapsedTimer timer;
  timer.start();
  QApplication app(argc, argv);
  sxf::InstallFontSubstitutions();
  sxf::TForm1 form({dir.string() + "/", (dir / "startup.dat").string()});
  form.show();
  // Until the preview has been painted once.
  form.PaintBox1->repaint();
  QApplication::processEvents();
  const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  std::printf("entities=%lld shown_and_painted_ms=%.1f grid_total=%s\n", entities, ms,
              form.Tally().Cell(7, 17).c_str());
  form.close();
  std::filesystem::remove_all(dir);
  return 0;
}

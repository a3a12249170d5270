#include "platform/RasterSurface.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <cstdio>
#include <optional>

#include "platform/qt/Fonts.h"
#include "platform/qt/IcuTextLocale.h"
#include "platform/qt/QtCanvas.h"
#include "render/BandCanvases.h"

namespace sxf {

namespace {

// Qt's own diagnostics (missing runtime folders and the like) are not the report's output.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "sxf-usertype-report: %s\n", message.toLocal8Bit().constData());
}

class TQtRasterSurface final : public TRasterSurface {
 public:
  TQtRasterSurface(int width, int height) {
    if (!qGuiApp) {
      // Fonts and image writers need the GUI side of Qt; no display is needed for a picture.
      if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
      qInstallMessageHandler(QuietQtMessages);
      app_.emplace(argc_, argv_);
      InstallFontSubstitutions();
      InstallSystemTextLocale();
    }
    image_ = QImage(width, height, QImage::Format_RGB32);
    if (!image_.isNull()) canvas_.emplace(image_);
  }
  bool Valid() const { return canvas_.has_value(); }
  TCanvas& Canvas() override { return *canvas_; }
  std::vector<TCanvas*> BandCanvases(std::span<const TBand> bands) override {
    return HandOutBandCanvases(
        bands_, bands,
        [&] {
          canvas_.reset();  // its painter ends before the bands' begin
          return MakeBandCanvases(image_, bands);
        },
        [&]() -> TCanvas& { return Canvas(); });
  }
  std::string WritePng(const std::string& path) override {
    canvas_.reset();  // the painters end and the image is complete
    bands_.clear();
    QImageWriter writer(QString::fromStdString(path), "png");
    // A lighter compression than Qt's default: under half the time for a file a few per cent
    // larger.
    writer.setQuality(50);
    if (!writer.write(image_)) return writer.errorString().toStdString();
    return {};
  }

 private:
  static inline int argc_ = 1;
  static inline char name_[] = "sxf-usertype-report";
  static inline char* argv_[] = {name_, nullptr};
  std::optional<QGuiApplication> app_;  // declared first: it outlives the image and canvas
  QImage image_;
  std::optional<TQtCanvas> canvas_;
  std::vector<std::unique_ptr<TQtCanvas>> bands_;
};

}  // namespace

std::unique_ptr<TRasterSurface> CreateRasterSurface(int width, int height) {
  auto surface = std::make_unique<TQtRasterSurface>(width, height);
  if (!surface->Valid()) return nullptr;
  return surface;
}

}  // namespace sxf

#include "platform/qt/Fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#include "platform/qt/ShiftJis.h"

namespace sxf {

namespace {

const QString kGothic = QStringLiteral("IPAGothic");
const QString kMincho = QStringLiteral("IPAMincho");

// The font tables below are asked by the bands of a drawing from several threads.
std::mutex& FontTablesLock() {
  static std::mutex lock;
  return lock;
}

bool Installed(const QString& family) {
  const std::lock_guard<std::mutex> hold(FontTablesLock());
  static std::map<QString, bool> known;
  const auto it = known.find(family);
  if (it != known.end()) return it->second;
  const bool installed = QFontDatabase::hasFamily(family) || !QFont::substitutes(family).isEmpty();
  known.emplace(family, installed);
  return installed;
}

// Cell height (ascent + descent) and average character width per pixel of font size.
struct TFamilyMetrics {
  double Cell = 1.0;
  double AverageWidth = 0.5;
};

TFamilyMetrics MetricsOf(const QString& family) {
  const std::lock_guard<std::mutex> hold(FontTablesLock());
  static std::map<QString, TFamilyMetrics> known;
  const auto it = known.find(family);
  if (it != known.end()) return it->second;
  QFont probe(family);
  probe.setPixelSize(1000);
  const QFontMetricsF fm(probe);
  TFamilyMetrics m;
  if (fm.ascent() + fm.descent() > 0) m.Cell = (fm.ascent() + fm.descent()) / 1000.0;
  // The platform's average width is that of the one-byte characters; a half-width digit
  // stands for them in monospaced Japanese faces.
  const double digit = fm.horizontalAdvance(QLatin1Char('0'));
  if (digit > 0) m.AverageWidth = digit / 1000.0;
  known.emplace(family, m);
  return m;
}

}  // namespace

void InstallFontSubstitutions() {
  for (const char* name : {"ＭＳ ゴシック", "MS Gothic", "ＭＳ Ｐゴシック", "MS PGothic"})
    QFont::insertSubstitution(QString::fromUtf8(name), kGothic);
  for (const char* name : {"ＭＳ 明朝", "MS Mincho", "ＭＳ Ｐ明朝", "MS PMincho"})
    QFont::insertSubstitution(QString::fromUtf8(name), kMincho);
}

QString ResolveFontFamily(const QString& face) {
  QString name = face;
  while (name.startsWith(QLatin1Char('@'))) name.remove(0, 1);
  if (!name.isEmpty() && Installed(name)) {
    const QStringList substitutes = QFont::substitutes(name);
    if (substitutes.isEmpty()) return name;
    // Qt keeps substitutes in lower case; give the family its own spelling back.
    for (const QString& family : {kGothic, kMincho})
      if (substitutes.front().compare(family, Qt::CaseInsensitive) == 0) return family;
    return substitutes.front();
  }
  const bool mincho = name.contains(QStringLiteral("明朝")) ||
                      name.contains(QStringLiteral("mincho"), Qt::CaseInsensitive);
  return mincho && Installed(kMincho) ? kMincho : kGothic;
}

TQtFont MakeQtFont(const TLogFont& record) {
  TQtFont out;
  const QString face = ShiftJisToQString(record.FaceName);
  out.Vertical = face.startsWith(QLatin1Char('@'));
  const QString family = ResolveFontFamily(face);
  const TFamilyMetrics m = MetricsOf(family);
  const double cell = std::max(1, std::abs(record.Height));
  const int pixelSize = std::clamp(static_cast<int>(std::lround(cell / m.Cell)), 1, 4096);
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setWeight(record.Weight >= 600 ? QFont::Bold : QFont::Normal);
  font.setItalic(record.Italic);
  font.setUnderline(record.Underline);
  font.setStrikeOut(record.StrikeOut);
  font.setHintingPreference(QFont::PreferFullHinting);
  // Smoothed: without it the thin strokes of small characters vanish ("1" turns into "l").
  // Unless asked for solid pixels, which the full hinting then keeps whole.
  font.setStyleStrategy(record.NonAntialiased ? QFont::NoAntialias : QFont::PreferAntialias);
  out.Font = font;
  const QFontMetricsF fm(font);
  const double naturalCell = fm.ascent() + fm.descent();
  out.Ascent = fm.ascent();
  out.ScaleY = naturalCell > 0 ? cell / naturalCell : 1.0;
  // A width of 0 asks for the face's own proportions at this height.
  const double naturalWidth = m.AverageWidth * pixelSize;
  out.ScaleX = record.Width > 0 && naturalWidth > 0 ? record.Width / naturalWidth : out.ScaleY;
  out.CellHeight = cell;
  out.NaturalCell = naturalCell > 0 ? naturalCell : cell;
  out.NaturalFullWidth = naturalWidth > 0 ? 2.0 * naturalWidth : cell;
  out.CellFullWidth = out.NaturalFullWidth * out.ScaleX;
  return out;
}

}  // namespace sxf

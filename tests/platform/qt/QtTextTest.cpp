// Characters written through the Qt canvas with the installed Japanese font: where the ink
// lands for a font record, turned runs, vertical faces and the numbered marks.
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <cmath>
#include <random>
#include <map>
#include <set>

#include "support/ViewTestSupport.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/IcuTextLocale.h"
#include "text/SpecialCodes.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/ShiftJis.h"
#include "search/LineTypeMarks.h"
#include "text/TextDrawing.h"
#include "globals/UnitGval.h"
#include "util/MyFunc.h"

namespace sxf {
namespace {

constexpr double kPi = 3.14159265358979323846;
const std::string kKanji = "\x8A\xBF";  // 漢
const std::string kIchi = "\x88\xEA";   // 一, a wide and flat character
const std::string kGothic =
    "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック

QImage Blank(int w = 200, int h = 200, Qt::GlobalColor colour = Qt::white) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// Bounding box of every pixel that differs from the background colour.
QRect Ink(const QImage& image, const QRect& within, QRgb background = 0xFFFFFFFF) {
  QRect box;
  for (int y = within.top(); y <= within.bottom(); ++y)
    for (int x = within.left(); x <= within.right(); ++x)
      if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
  return box;
}

TLogFont Record(int height, int width, int escapement, const std::string& face = kGothic) {
  TLogFont f;
  f.Height = height;
  f.Width = width;
  f.Escapement = escapement;
  f.CharSet = 1;
  f.FaceName = face;
  return f;
}

TEST(QtText, CharactersFillTheCellOfTheFontRecord) {
  QImage image = Blank();
  {
    TQtCanvas c(image);
    c.SetFont(Record(40, 20, 0));
    c.TextOut(50, 50, kKanji);
    c.TextOut(120, 50, "A");
  }
  const QRect kanji = Ink(image, QRect(0, 0, 110, 200));
  ASSERT_FALSE(kanji.isEmpty());
  EXPECT_TRUE(QRect(50, 50, 40, 40).contains(kanji))
      << kanji.x() << "," << kanji.y() << " " << kanji.width() << "x" << kanji.height();
  // A two-byte character is as wide as the cell height here, not a narrower em.
  EXPECT_GE(kanji.width(), 30);
  EXPECT_GE(kanji.height(), 30);
  const QRect a = Ink(image, QRect(110, 0, 90, 200));
  ASSERT_FALSE(a.isEmpty());
  EXPECT_TRUE(QRect(120, 50, 20, 40).contains(a));
  EXPECT_GE(a.width(), 10);
}

TEST(QtText, EscapementTurnsTheCellCounterClockwiseAboutThePixel) {
  QImage image = Blank();
  {
    TQtCanvas c(image);
    c.SetFont(Record(40, 20, 900));
    c.TextOut(100, 100, kKanji);
  }
  const QRect ink = Ink(image, image.rect());
  ASSERT_FALSE(ink.isEmpty());
  // Turned a quarter: the run goes up from the pixel and the cell hangs to its right.
  EXPECT_TRUE(QRect(100, 60, 40, 40).contains(ink))
      << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
}

// The marks' numbers are what the user looks for: at ten pixels their digits are solid red,
// not smoothed pink, and no two digits look alike.
// At 96, 144 and 192 dpi: ten, fifteen and twenty pixels, with strokes that grow with the mark
// (its ink about the scale's square), each digit its own pattern, nearly all ink pure red.
TEST(QtText, MarkDigitsAreSolidRedAndTellApartAtEveryScale) {
  std::map<char, int> inkAt96;
  for (const int dpi : {96, 144, 192}) {
    GraAttr = std::make_unique<TgraAttribute>();
    const int size = 4 * ScaleForDpi(10, dpi);
    TView view = test::MakeView(0, 0, 1, size, size);
    view.ViewDpi = dpi;
    const auto mark = [&](const std::string& text, bool sprites = true) {
      QImage image = Blank(size, size);
      TQtCanvas c(image);
      c.TextSpritesOn = sprites;
      DrawLineTypeMark(c, view, text, size / 2, size / 2, MarkRadiusPixels(view));
      return image;
    };
    const QImage plain = mark("");
    std::set<std::vector<int>> patterns;
    for (char digit = '0'; digit <= '9'; ++digit) {
      const QImage image = mark(std::string(1, digit));
      EXPECT_EQ(image, mark(std::string(1, digit), false))
          << digit << " at " << dpi << ": kept pixels differ";
      int ink = 0, red = 0;
      std::vector<int> pattern;  // where the ink is, and whether it is pure red
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
          if (image.pixel(x, y) != plain.pixel(x, y)) {
            ++ink;
            red += image.pixel(x, y) == qRgb(255, 0, 0);
            pattern.push_back((y * size + x) * 2 + (image.pixel(x, y) == qRgb(255, 0, 0)));
          }
      EXPECT_GE(ink, 6) << digit;
      EXPECT_GE(red, 0.9 * ink) << digit << " at " << dpi << ": " << red << " of " << ink
                                << " pixels pure red";
      if (dpi == 96) inkAt96[digit] = ink;
      const double scale = dpi / 96.0;
      EXPECT_GE(ink, 0.7 * scale * scale * inkAt96[digit]) << digit << " at " << dpi;
      patterns.insert(pattern);
    }
    EXPECT_EQ(patterns.size(), 10u) << dpi;
  }
}

TEST(QtText, AVerticalFaceStandsItsKanjiUprightOneBelowTheOther) {
  GraAttr = std::make_unique<TgraAttribute>();
  const TView view = test::MakeView(0, 0, 1, 200, 200);
  QImage vertical = Blank();
  QImage turned = Blank();
  {
    TQtCanvas c(vertical);
    DrawTextRun(c, view, 0, "@" + kGothic, 100, 150, 3 * kPi / 2, 40, 40, 0, kIchi + kIchi);
    TQtCanvas d(turned);
    DrawTextRun(d, view, 0, kGothic, 100, 150, 3 * kPi / 2, 40, 40, 0, kIchi + kIchi);
  }
  // Cells: x 100..140, y 50..90 and 90..130 in pixels.
  const QRect first = Ink(vertical, QRect(95, 45, 50, 45));
  const QRect second = Ink(vertical, QRect(95, 90, 50, 45));
  ASSERT_FALSE(first.isEmpty());
  ASSERT_FALSE(second.isEmpty());
  EXPECT_GT(first.width(), 3 * first.height());  // the stroke lies flat: upright
  EXPECT_GT(second.width(), 3 * second.height());
  EXPECT_GT(second.top(), first.bottom());
  EXPECT_TRUE(QRect(100, 50, 40, 80).contains(first | second));
  // The same run in an ordinary face lies on its side.
  const QRect side = Ink(turned, QRect(95, 45, 50, 45));
  ASSERT_FALSE(side.isEmpty());
  EXPECT_GT(side.height(), 3 * side.width());
}

TEST(QtText, FacesTheSystemLacksResolveToAJapaneseFace) {
  const QString gothic = QStringLiteral("IPAGothic");
  EXPECT_EQ(ResolveFontFamily(ShiftJisToQString(kDefaultFontName)), gothic);
  EXPECT_EQ(ResolveFontFamily(ShiftJisToQString(kGothic)), gothic);
  EXPECT_EQ(ResolveFontFamily(QStringLiteral("@") + ShiftJisToQString(kGothic)), gothic);
  EXPECT_EQ(ResolveFontFamily(QStringLiteral("No such face")), gothic);
  const QString mincho = ResolveFontFamily(QString::fromUtf8("ＭＳ 明朝"));
  EXPECT_TRUE(mincho == QStringLiteral("IPAMincho") || mincho == gothic);
}

TEST(QtText, OneFontPerDistinctRecord) {
  QImage image = Blank();
  TQtCanvas c(image);
  for (int i = 0; i < 50; ++i) {
    c.SetFont(Record(20 + i % 3, 10, 0));
    c.TextOut(10, 10, "A");
    c.TextOut(30, 10, kKanji);
  }
  EXPECT_EQ(c.FontsCreated(), 3);
}

TEST(QtText, AMarkIsARedRingAroundAWhiteSquareWithRedDigits) {
  GraAttr = std::make_unique<TgraAttribute>();
  const TView view = test::MakeView(0, 0, 1, 100, 100);
  QImage image = Blank(100, 100, Qt::blue);
  const QRgb blue = 0xFF0000FF;
  {
    TQtCanvas c(image);
    DrawLineTypeMark(c, view, "17", 50, 50, 10);  // pixel (50, 50)
  }
  const QRgb red = 0xFFFF0000;
  const QRgb white = 0xFFFFFFFF;
  int ring = 0, digits = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      const QRgb p = image.pixel(x, y);
      const double r = std::hypot(x - 50, y - 50);
      if (r > 12.5) {
        EXPECT_EQ(p, blue) << x << "," << y;  // nothing beyond the ring
      }
      if (p == red && r >= 8.5) ++ring;
      // Digits: red, or red blended into the white square by the font's smoothing.
      if (std::abs(x - 50) <= 5 && std::abs(y - 50) <= 5 && qRed(p) == 255 && qGreen(p) < 200)
        ++digits;
      // Outside the digits' cells only the three colours: the ring and square are not blended.
      const bool inDigits = std::abs(x - 50) <= 5 && std::abs(y - 50) <= 5;
      if (!inDigits && p != red && p != white && p != blue) {
        ADD_FAILURE() << "blended colour at " << x << "," << y;
      }
    }
  EXPECT_GT(ring, 100);
  EXPECT_GT(digits, 8);
  // The white square shows at the corners inside the ring.
  for (const auto& [x, y] :
       {std::pair{43, 50}, std::pair{57, 50}, std::pair{50, 43}, std::pair{50, 57}})
    EXPECT_EQ(image.pixel(x, y), white) << x << "," << y;
  EXPECT_EQ(image.pixel(50 + 10, 50), red);
  EXPECT_EQ(image.pixel(50, 50 - 10), red);
}

TEST(QtText, KeptCharactersAreThePixelsQPainterWrites) {
  std::mt19937 rng(11);
  const std::string chars[] = {"A", "7", "g", kKanji, kIchi, "\x82\xA0", " ", "\x81\x40"};
  std::uniform_int_distribution<int> pos(-30, 130), size(6, 40), pick(0, 7), esc(0, 7);
  const QRgb colours[] = {0xFFFF0000, 0xFF000000, 0xFF00FF00, 0xFFFFFFFF};
  int kept = 0;
  const int inkBefore = BandDrawingCaches(0).Texts.InkWrites();
  for (int k = 0; k < 800; ++k) {
    const int h = size(rng);
    TLogFont f = Record(h, h / 2 + k % 3, esc(rng) * 450, k % 5 == 0 ? "@" + kGothic : kGothic);
    f.Italic = k % 7 == 0;
    f.Weight = k % 4 == 0 ? 700 : 400;
    f.NonAntialiased = k >= 600;  // solid pixels: kept on paper of any colours too
    const std::string ch = chars[pick(rng)];
    const int x = pos(rng), y = pos(rng);
    const QRgb paper = colours[(k / 2) % 4];
    const QRgb ink = colours[(k / 3 + 1) % 4];
    QImage direct = Blank(100, 100), kept_ = Blank(100, 100);
    direct.fill(paper);
    kept_.fill(paper);
    if (k % 6 == 0 ||
        (k >= 600 && k % 2 == 0)) {  // a line through the paper: no longer one colour everywhere
      for (QImage* im : {&direct, &kept_})
        for (int i = 0; i < 100; ++i) im->setPixel(i, (i * 7 + k) % 100, 0xFF123456);
    }
    for (int pass = 0; pass < 2; ++pass) {  // the second pass reuses what the first kept
      for (const bool on : {false, true}) {
        QImage& im = on ? kept_ : direct;
        TQtCanvas c(im);
        c.TextSpritesOn = on;
        c.FontColor = static_cast<TColor>(qRed(ink) | qGreen(ink) << 8 | qBlue(ink) << 16);
        c.SetFont(f);
        c.TextOut(x, y, ch);
      }
      int diffs = 0;
      for (int py = 0; py < 100 && direct != kept_; ++py)
        for (int px = 0; px < 100; ++px)
          if (direct.pixel(px, py) != kept_.pixel(px, py) && ++diffs < 5)
            ADD_FAILURE() << px << "," << py << " " << std::hex << direct.pixel(px, py) << " "
                          << kept_.pixel(px, py) << std::dec << " at " << x << "," << y << " ch "
                          << ch.size() << " paper " << std::hex << paper << std::dec;
      ASSERT_EQ(direct, kept_) << "case " << k << " pass " << pass << " height " << h << " esc "
                               << f.Escapement;
    }
    kept += direct != Blank(100, 100);
  }
  EXPECT_GT(kept, 100);
  EXPECT_GT(BandDrawingCaches(0).Texts.InkWrites() - inkBefore,
            20);  // solid characters from their pixels
}

// Characters through the looked-up glyphs (drawGlyphRun, or the kept outline beyond the glyph
// cache) against QPainter::drawText, from 6 to 300 pixels high across the cache's limit:
// turned, bold, italic, the vertical and the mincho faces, underlined (left to drawText),
// on paper crossed by bands of other colours, each case drawn twice so that the second time
// reuses what the first looked up (large characters: their masks).
TEST(QtText, LookedUpGlyphsWriteThePixelsDrawTextWrites) {
  std::mt19937 rng(29);
  const std::string kMincho = "lr ¾©";  // ＭＳ 明朝
  const std::string chars[] = {"A",        "7", "g",        kKanji,    kIchi,
                               "\x82\xA0", " ", "\x81\x40", "\x95\x94"};
  const int heights[] = {6, 13, 31, 60, 64, 66, 70, 75, 90, 140, 220, 300};
  std::uniform_int_distribution<int> esc(0, 7), pick(0, 8), jitter(-40, 40);
  int glyphCases = 0;
  const TCharacterGlyphs& glyphs = BandDrawingCaches(0).Glyphs;
  const int maskedBefore = glyphs.MaskedWrites(), outlinesBefore = glyphs.Outlines(),
            masksBefore = glyphs.Masks();
  for (int k = 0; k < 480; ++k) {
    const int h = heights[k % 12];
    TLogFont f = Record(h, h / 2 + k % 3, esc(rng) * 450 + (k % 4 == 1 ? 137 : 0),
                        k % 5 == 0 ? "@" + kGothic : (k % 5 == 1 ? kMincho : kGothic));
    f.Italic = k % 7 == 0;
    f.Weight = k % 4 == 0 ? 700 : 400;
    f.Underline = k % 23 == 0;
    const std::string ch = chars[pick(rng)];
    const int size = 2 * h + 140;
    const int x = size / 2 + jitter(rng) - h / 2, y = size / 2 + jitter(rng) - h / 2;
    QImage direct = Blank(size, size), looked = Blank(size, size);
    for (QImage* im : {&direct, &looked})
      for (int py = 0; py < size; ++py)
        if ((py / 9 + k) % 3 == 0)
          for (int px = 0; px < size; ++px)
            im->setPixel(px, py, 0xFF20A040 + static_cast<QRgb>(px % 7));
    const QImage paper = direct;
    for (int pass = 0; pass < 2; ++pass) {
      for (const bool on : {false, true}) {
        TQtCanvas c(on ? looked : direct);
        c.TextSpritesOn = false;
        c.CharacterGlyphsOn = on;
        const TColor inks[] = {RgbColor(0, 0, 0),      RgbColor(255, 0, 0),
                               RgbColor(0, 0, 255),    RgbColor(255, 255, 255),
                               RgbColor(127, 201, 13), RgbColor(200, 30, 90)};
        c.FontColor = inks[(k / 12 + k) % 6];
        c.SetFont(f);
        c.TextOut(x, y, ch);
      }
      ASSERT_TRUE(direct == looked) << "case " << k << " pass " << pass << " height " << h
                                    << " esc " << f.Escapement << " bytes " << ch.size();
    }
    glyphCases += direct != paper;
  }
  EXPECT_GT(glyphCases, 300);
  EXPECT_GT(BandDrawingCaches(0).Glyphs.Usable(),
            100);  // the glyphs were used, not left to drawText
  // Large characters the second time from their masks, the same pixels. Nearly every outline
  // has its mask: QPainter fills an outline one level lighter or darker in a rare pixel when
  // it lies elsewhere by whole pixels, and such a mask is not kept.
  EXPECT_GT(glyphs.MaskedWrites() - maskedBefore, 100);
  EXPECT_GT(glyphs.Outlines() - outlinesBefore, 30);
  EXPECT_GE(glyphs.Masks() - masksBefore, (glyphs.Outlines() - outlinesBefore) * 97 / 100);
}

TEST(ShiftJis, DelDecodesAsDelAndPairsStayWhole) {
  EXPECT_EQ(ShiftJisToUtf8("A\x7F"
                           "B"),
            "A\x7F"
            "B");
  EXPECT_EQ(ShiftJisToQString("\x7F"), QString(QChar(0x7F)));
  EXPECT_EQ(ShiftJisToQString(kKanji + "\x7F" + kKanji), QString::fromUtf8("漢\x7F漢"));
  // A lead byte before DEL is no pair: it decodes alone and DEL stays DEL.
  EXPECT_EQ(ShiftJisToQString("\x8A\x7F"), QString(QChar::ReplacementCharacter) + QChar(0x7F));
  // Nothing is dropped: a lone lead byte at the end and a bad pair show as U+FFFD.
  EXPECT_EQ(ShiftJisToQString("A\x8A"), QStringLiteral("A") + QChar::ReplacementCharacter);
  // Control bytes stand for themselves, whatever ICU's table makes of them.
  EXPECT_EQ(ShiftJisToQString("\x1A\x1C\t"), QString::fromUtf8("\x1A\x1C\t"));
  EXPECT_EQ(ShiftJisCharToQString(kKanji), QString::fromUtf8("漢"));
  EXPECT_EQ(ShiftJisCharToQString("\x7F"), QString(QChar(0x7F)));
}

}  // namespace
}  // namespace sxf

namespace sxf {
namespace {

std::string Utf8(const std::string& sjis) { return ShiftJisToUtf8(sjis); }

TEST(IcuTextLocale, JapaneseErasAndNames) {
  const TIcuTextLocale ja(QLocale(QLocale::Japanese, QLocale::Japan), [] { return 0.0; });
  struct Case {
    int y, m, d;
    const char* era;
    int year;
  };
  for (const Case& k :
       {Case{2019, 4, 30, "平成", 31}, Case{2019, 5, 1, "令和", 1}, Case{1899, 12, 30, "明治", 32},
        Case{2026, 12, 7, "令和", 8}, Case{1989, 1, 7, "昭和", 64}, Case{1989, 1, 8, "平成", 1}}) {
    const TDateTime t = DecodeDateTime(EncodeDateTime(k.y, k.m, k.d, 0, 0, 0));
    EXPECT_EQ(Utf8(ja.EraName(t)), k.era) << k.y << "-" << k.m << "-" << k.d;
    EXPECT_EQ(ja.EraYear(t), k.year) << k.y << "-" << k.m << "-" << k.d;
  }
  EXPECT_EQ(Utf8(ja.ShortDayName(DecodeDateTime(0))), "土");
  EXPECT_EQ(ja.DateSeparator(), "/");
  EXPECT_EQ(ja.TimeSeparator(), ":");
  EXPECT_EQ(ja.Now(), 0.0);
  // "$J" of 2026-12-07 through the installed locale.
  SetTextLocale(std::make_shared<TIcuTextLocale>(QLocale(QLocale::Japanese, QLocale::Japan), [] {
    return EncodeDateTime(2026, 12, 7, 9, 0, 0);
  }));
  std::string out;
  ASSERT_TRUE(ExpandSpecialCode("$J", CurrentTextLocale(), out));
  EXPECT_EQ(Utf8(out), "令和8年12月 7日");
  ASSERT_TRUE(ExpandSpecialCode("=wa", CurrentTextLocale(), out));
  EXPECT_EQ(out, "SAT");
  SetTextLocale(nullptr);
}

TEST(IcuTextLocale, OtherLocalesKeepTheirNamesAndTheGregorianEra) {
  const TIcuTextLocale en(QLocale(QLocale::English, QLocale::UnitedStates));
  const TDateTime t = DecodeDateTime(EncodeDateTime(2026, 12, 5, 0, 0, 0));
  EXPECT_EQ(en.ShortDayName(t), "Sat");
  EXPECT_EQ(en.EraName(t), "AD");
  EXPECT_EQ(en.EraYear(t), 2026);
  SetTextLocale(
      std::make_shared<TIcuTextLocale>(QLocale(QLocale::English, QLocale::UnitedStates),
                                       [] { return EncodeDateTime(2026, 12, 5, 0, 0, 0); }));
  std::string out;
  ASSERT_TRUE(ExpandSpecialCode("$wa", CurrentTextLocale(), out));
  EXPECT_EQ(out, "Sat");
  const TIcuTextLocale de(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(de.DecimalSeparator(), ",");
  SetTextLocale(nullptr);
}

}  // namespace
}  // namespace sxf

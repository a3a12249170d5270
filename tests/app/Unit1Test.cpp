#include "app/Unit1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <unistd.h>

#include "app/PaintBox.h"
#include "app/SplitterBar.h"
#include "cli/Report.h"
#include "graphics/clipping.h"
#include "search/LineTypeMarks.h"
#include "text/TextLocale.h"
#include "util/MyFunc.h"
#include "form/WindowMessages.h"
#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "platform/qt/ShiftJis.h"
#include "render/UserBreak.h"

namespace sxf {
namespace {

namespace fs = std::filesystem;

// Counts the paint events of the widgets it watches.
struct TPaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> serial{0};
    dir_ = fs::temp_directory_path() /
           ("sxf-form-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  TProgramLocation Location() const {
    return {dir_.string() + "/", (dir_ / "sxf-usertype-finder.dat").string()};
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void CopySample(const std::string& sample) const {
    const char* samples = std::getenv("SXF_SAMPLES");
    ASSERT_NE(samples, nullptr);
    fs::copy_file(fs::path(samples) / sample / "JWC_TEMP.TXT", dir_ / "JWC_TEMP.TXT");
  }
  std::unique_ptr<TForm1> Show() const {
    auto form = std::make_unique<TForm1>(Location());
    form->show();
    QApplication::processEvents();
    return form;
  }
  // Resizes the window so that its outer rectangle, frame included, is w x h.
  static void ResizeOuter(TForm1& form, int w, int h) {
    const QSize extra = form.frameGeometry().size() - form.size();
    form.resize(w - extra.width(), h - extra.height());
    QApplication::processEvents();
  }
  static QSize FrameExtra() {
    TForm1 probe(TProgramLocation{"/nonexistent/", "/nonexistent/x.dat"});
    probe.show();
    QApplication::processEvents();
    const QSize extra = probe.frameGeometry().size() - probe.size();
    probe.close();
    return extra;
  }
  // The first paint shows the window; the preview's drawing follows it.
  static void PaintFirstPicture(TForm1& form) {
    form.PaintBox1->repaint();
    for (int i = 0; i < 100 && !form.ViewImage; ++i) QApplication::processEvents();
  }
  static QColor Background(QWidget* w, QPalette::ColorRole role = QPalette::Window) {
    return w->palette().color(role);
  }

  fs::path dir_;
};

TEST_F(FormTest, ControlsHaveTheirNamesParentsColoursAndDesignGeometry) {
  // With the design client size and panel width, the layout is the form's design.
  const QSize extra = FrameExtra();
  Write("sxf-usertype-finder.dat", "194\r\n105\r\n" + std::to_string(585 + extra.width()) + "\r\n" +
                                       std::to_string(392 + extra.height()) + "\r\n201\r\n");
  CopySample("floor-plan");  // a drawing read well: the status strip has nothing to say
  auto form = Show();
  const struct {
    const char* name;
    QWidget* parent;
    QRect geometry;
  } controls[] = {
      {"LabelA1", form.get(), {0, 368, 585, 24}},
      {"PaintBox1", form.get(), {0, 0, 381, 368}},
      {"Splitter1", form.get(), {381, 0, 3, 368}},
      {"Panel2", form.get(), {384, 0, 201, 368}},
      {"Panel3", form->Panel2, {1, 1, 199, 40}},
      {"Label1", form->Panel3, {0, 0, 112, 13}},
      // The grid comes first: too low for all its rows, it takes the help box's room too.
      {"Memo1", form->Panel2, {1, 367, 199, 0}},
      {"StringGrid1", form->Panel2, {1, 41, 199, 326}},
      {"EditA", form->Panel2, {216, 400, 25, 21}},
  };
  for (const auto& c : controls) {
    auto* w = form->findChild<QWidget*>(c.name);
    ASSERT_NE(w, nullptr) << c.name;
    EXPECT_EQ(w->parentWidget(), c.parent) << c.name;
    EXPECT_EQ(w->geometry(), c.geometry) << c.name;
  }
  EXPECT_EQ(form->Label2->parentWidget(), form->Panel3);
  EXPECT_EQ(form->Label2->pos(), QPoint(8, 16));
  EXPECT_EQ(form->Label2->height(), 13);
  EXPECT_EQ(form->size(), QSize(585, 392));

  EXPECT_EQ(form->windowTitle(), QString::fromUtf8("vexo_SXFユーザー線種を検索"));
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(Background(form.get()), QColor(Qt::white));
  EXPECT_EQ(Background(form->LabelA1), QColor(231, 231, 231));
  EXPECT_EQ(Background(form->Panel2), QColor(255, 251, 240));
  EXPECT_EQ(Background(form->Panel3), QColor(Qt::white));
  EXPECT_EQ(Background(form->Memo1->viewport(), QPalette::Base), QColor(187, 235, 244));
  EXPECT_EQ(form->LabelA1->alignment(), Qt::AlignCenter);
  EXPECT_EQ(form->LabelA1->text(), QString());
  EXPECT_EQ(form->Label1->text(), QString::fromUtf8("図面ファイル名："));

  // The UI font is the Japanese gothic face at 13 pixels.
  EXPECT_EQ(form->font().pixelSize(), 13);
  EXPECT_EQ(QFontInfo(form->StringGrid1->font()).family(), QStringLiteral("IPAGothic"));

  EXPECT_TRUE(form->Memo1->isReadOnly());
  EXPECT_FALSE(form->Memo1->isVisible());
  EXPECT_EQ(form->Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(form->Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(form->Memo1->focusPolicy(), Qt::ClickFocus);
  const QStringList help = form->Memo1->toPlainText().split('\n');
  ASSERT_EQ(help.size(), 12);
  EXPECT_EQ(help[0], QString::fromUtf8("◇マークは該当する線分の中点、"));
  EXPECT_EQ(help[5], QString::fromUtf8("　"));
  EXPECT_EQ(help[9], QString::fromUtf8("　本ソフトをJw_cadのインストール"));
  EXPECT_EQ(help[11], QString::fromUtf8("　必要がある場合があります。"));

  EXPECT_EQ(form->EditA->maxLength(), 1);
  EXPECT_FALSE(form->EditA->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_EQ(form->StringGrid1->rowCount(), 18);
  EXPECT_EQ(form->StringGrid1->columnCount(), 8);
  EXPECT_EQ(form->StringGrid1->columnWidth(0), 24);
  EXPECT_EQ(form->StringGrid1->columnWidth(1), 44);
  EXPECT_EQ(form->StringGrid1->rowHeight(5), 24);
  EXPECT_EQ(form->StringGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_FALSE(form->StringGrid1->item(0, 3)->flags() & Qt::ItemIsSelectable);  // fixed
  EXPECT_TRUE(form->StringGrid1->item(2, 3)->flags() & Qt::ItemIsSelectable);
}

TEST_F(FormTest, GridAndFileNameOfTheSampleDrawing) {
  CopySample("floor-plan");
  auto form = Show();
  QTableWidget* g = form->StringGrid1;
  const char* headings[8] = {"No.", "線分", "円", "円弧", "楕円", "楕円弧", "寸法線", "計"};
  for (int c = 0; c < 8; ++c) EXPECT_EQ(g->item(0, c)->text(), QString::fromUtf8(headings[c]));
  EXPECT_EQ(g->item(1, 0)->text(), "17");
  EXPECT_EQ(g->item(16, 0)->text(), "32");
  EXPECT_EQ(g->item(17, 0)->text(), QString::fromUtf8("計"));
  EXPECT_EQ(g->item(1, 1)->text(), "2");  // two lines of type 17
  EXPECT_EQ(g->item(4, 2)->text(), "2");  // type 20: a circle and a full circular arc
  EXPECT_EQ(g->item(3, 6)->text(), "1");  // type 19: a dimension
  EXPECT_EQ(g->item(2, 1)->text(), "");   // nothing of type 18
  EXPECT_EQ(g->item(2, 7)->text(), "0");
  EXPECT_EQ(g->item(17, 7)->text(), "12");
  EXPECT_EQ(form->Label2->text(), QString::fromUtf8("C:\\jww\\住宅 新築工事\\1F平面図 A-02.jww"));
  EXPECT_EQ(form->Label2->height(), 13);
  EXPECT_GT(form->Label2->width(), 56);  // sized to the long name
  EXPECT_EQ(ProgramFolder, Location().Folder);
}

TEST_F(FormTest, MissingDrawingShowsZeroTotalsAndNew) {
  auto form = Show();
  EXPECT_EQ(form->Label2->text(), "(新規)");
  for (int r = 1; r <= 16; ++r) {
    EXPECT_EQ(form->StringGrid1->item(r, 1)->text(), "");
    EXPECT_EQ(form->StringGrid1->item(r, 7)->text(), "0");
  }
  for (int c = 1; c <= 7; ++c) EXPECT_EQ(form->StringGrid1->item(17, c)->text(), "0");
  EXPECT_EQ(form->Form.Drawing().EntOrderCount(), 0);
}

// What was read is said in the status strip (a failure in red and in the middle of the
// preview), and F1 puts the keys there for a while.
TEST_F(FormTest, TheStatusStripSaysWhatWasReadAndF1ShowsTheKeys) {
  std::string binary(200 * 1024, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i)
    binary[i] = static_cast<char>((i * 2654435761u) >> 11);
  const struct {
    const char* what;
    const char* language;
    std::function<void()> make;
    std::string notice;
    bool alert;
  } cases[] = {
      {"missing", "C", [] {}, "JWC_TEMP.TXT is missing (looked in " + Location().Folder + ")",
       true},
      {"missing", "ja_JP.UTF-8", [] {},
       "JWC_TEMP.TXT がありません（フォルダ " + Location().Folder + "）", true},
      {"a folder", "C", [this] { fs::create_directory(dir_ / "JWC_TEMP.TXT"); },
       "Cannot read JWC_TEMP.TXT: not a regular file (folders, devices and FIFOs are not read)",
       true},
      {"binary", "ja_JP.UTF-8", [&] { Write("JWC_TEMP.TXT", binary); },
       "JWC_TEMP.TXT はテキストではありません（外部変形の交換ファイルではありません）", true},
      {"no user types", "ja_JP.UTF-8", [this] { Write("JWC_TEMP.TXT", "lt1\r\n 0 0 10 0\r\n"); },
       "ユーザー線種の図形はありません", false},
  };
  const char* const saved = std::getenv("LC_ALL");
  const std::string before = saved ? saved : "";
  for (const auto& c : cases) {
    fs::remove_all(dir_ / "JWC_TEMP.TXT");
    c.make();
    ::setenv("LC_ALL", c.language, 1);
    auto form = Show();
    PaintFirstPicture(*form);
    const auto red = [&] {
      return form->LabelA1->palette().color(QPalette::WindowText) == QColor(Qt::red);
    };
    EXPECT_EQ(form->LabelA1->text(), QString::fromStdString(c.notice)) << c.what;
    EXPECT_EQ(red(), c.alert) << c.what;
    // The middle of the preview: red ink of the notice on a failure, nothing on a drawing.
    ASSERT_TRUE(form->ViewImage) << c.what;
    const QImage& image = *form->ViewImage;
    int ink = 0;
    for (int y = image.height() / 2 - 12; y < image.height() / 2 + 12; ++y)
      for (int x = 0; x < image.width(); ++x) ink += image.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_EQ(ink > 100, c.alert) << c.what << ": " << ink;
    // F1: the keys one line after another in the strip's own colour, then the notice again.
    QTest::keyClick(form->StringGrid1, Qt::Key_F1);
    EXPECT_EQ(form->LabelA1->text(), ShiftJisToQString(KeyHelpLine(0, c.language[0] == 'j')))
        << c.what;
    EXPECT_FALSE(red()) << c.what;
    for (int i = 0; i < kKeyHelpLineCount; ++i) QTest::keyClick(form->StringGrid1, Qt::Key_F1);
    EXPECT_EQ(form->LabelA1->text(), QString::fromStdString(c.notice)) << c.what;
    EXPECT_EQ(red(), c.alert) << c.what;
    form->close();
  }
  if (saved)
    ::setenv("LC_ALL", before.c_str(), 1);
  else
    ::unsetenv("LC_ALL");
}

// A count of 1 234 567 is shown in full: its columns widen, the others keep their width.
TEST_F(FormTest, EveryCountIsShownInFull) {
  std::string text = "lt47\r\n";
  for (int i = 0; i < 1234567; ++i) text += " 0 0 1 1\r\n";
  Write("JWC_TEMP.TXT", text);
  auto form = Show();
  QTableWidget* g = form->StringGrid1;
  const int needed = QFontMetrics(g->font()).horizontalAdvance("1234567");
  for (const auto& [row, column] : {std::pair{1, 1}, {1, 7}, {17, 1}, {17, 7}}) {
    EXPECT_EQ(g->item(row, column)->text(), "1234567");
    // The delegate draws text inside a margin on each side of the cell.
    EXPECT_GE(g->columnWidth(column), needed + 6) << column;
  }
  for (int column = 2; column <= 6; ++column) EXPECT_EQ(g->columnWidth(column), 44) << column;
  EXPECT_EQ(g->columnWidth(0), 24);
}

TEST_F(FormTest, DrawingWithoutFileNameShowsNew) {
  Write("JWC_TEMP.TXT", "lt47\r\n0 0 1 1\r\n");
  auto form = Show();
  EXPECT_EQ(form->Label2->text(), "(新規)");
  EXPECT_EQ(form->StringGrid1->item(1, 1)->text(), "1");
}

TEST_F(FormTest, SettingsPlaceTheWindow) {
  const struct {
    const char* file;  // nullptr: no settings file
    QRect geometry;
    int panel;
  } cases[] = {
      {nullptr, {0, 0, 475, 475}, 200},
      {"100\r\n50\r\n300\r\n150\r\n20\r\n", {100, 50, 475, 200}, 100},
      {"100\r\n50\r\n", {100, 50, 475, 200}, 100},
      {"12\r\nxyz\r\n640\r\n480\r\n150\r\n", {12, 0, 640, 480}, 150},
  };
  for (const auto& c : cases) {
    fs::remove(dir_ / "sxf-usertype-finder.dat");
    if (c.file) Write("sxf-usertype-finder.dat", c.file);
    auto form = Show();
    EXPECT_EQ(form->frameGeometry(), c.geometry) << (c.file ? c.file : "no file");
    EXPECT_EQ(form->Panel2->width(), c.panel) << (c.file ? c.file : "no file");
    form->close();
  }
}

TEST_F(FormTest, ClosingWritesTheSettingsEvenWithoutADrawing) {
  auto form = Show();
  form->move(40, 30);
  ResizeOuter(*form, 700, 500);
  form->SetPanelWidth(260);
  QApplication::processEvents();
  form->close();
  EXPECT_EQ(Read("sxf-usertype-finder.dat"), "40\r\n30\r\n700\r\n500\r\n260\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "sxf-usertype-finder.dat.new"));
}

TEST_F(FormTest, OpeningAndClosingLeavesTheSettingsUnchanged) {
  Write("sxf-usertype-finder.dat", "120\r\n80\r\n640\r\n480\r\n180\r\n");
  for (int run = 0; run < 5; ++run) {
    auto form = Show();
    form->close();
  }
  EXPECT_EQ(Read("sxf-usertype-finder.dat"), "120\r\n80\r\n640\r\n480\r\n180\r\n");
}

TEST_F(FormTest, TheWindowKeepsItsMinimumSize) {
  auto form = Show();
  ResizeOuter(*form, 300, 100);
  EXPECT_EQ(form->frameGeometry().size(), QSize(475, 200));
  EXPECT_EQ(form->Settings.WinWidth, 475);
  EXPECT_EQ(form->Settings.WinHeight, 200);
  ResizeOuter(*form, 900, 700);
  EXPECT_EQ(form->Settings.WinWidth, 900);
  // Tall enough: every row of the grid, and the help box below it with the rest, wrapped.
  QTableWidget& grid = *form->StringGrid1;
  EXPECT_LE(grid.rowViewportPosition(17) + grid.rowHeight(17), grid.viewport()->height());
  EXPECT_TRUE(form->Memo1->isVisible());
  EXPECT_EQ(form->Memo1->geometry().top(), grid.geometry().bottom() + 1);
  EXPECT_EQ(form->Memo1->geometry().bottom() + 2, form->Panel2->height());
  EXPECT_FALSE(form->Memo1->horizontalScrollBar()->isVisible());
  // The splitter never squeezes either side below its minimum.
  form->SetPanelWidth(5);
  EXPECT_EQ(form->Panel2->width(), TForm1::kPanelMinSize);
  form->SetPanelWidth(5000);
  EXPECT_EQ(form->PaintBox1->width(), TForm1::kPanelMinSize);
}

TEST_F(FormTest, KeysReachTheFormFirstAndEditAHoldsTheFocus) {
  auto form = Show();
  form->activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(form->focusWidget(), form->EditA);
  EXPECT_TRUE(form->Shown);
  ASSERT_NE(GraAttr, nullptr);
  form->close();
  EXPECT_EQ(GraAttr, nullptr);
}

TEST_F(FormTest, TheWindowIsPaintedBeforeThePreviewsFirstDrawing) {
  CopySample("floor-plan");
  TPaintCounter namePaints, gridPaints;
  auto form = std::make_unique<TForm1>(Location());
  form->Panel3->installEventFilter(&namePaints);
  form->StringGrid1->viewport()->installEventFilter(&gridPaints);
  // What the screen shows when the preview's drawing begins.
  bool drawingStarted = false, blankPreview = false;
  QString gridTotal;
  form->BeforeFirstDrawing = [&] {
    drawingStarted = true;
    EXPECT_FALSE(form->ViewImage.has_value());
    EXPECT_GT(namePaints.paints, 0);
    EXPECT_GT(gridPaints.paints, 0);
    gridTotal = form->StringGrid1->item(17, 7)->text();
    const QImage& surface = form->PaintBox1->Surface();
    blankPreview = surface.size() == form->PaintBox1->size() &&
                   QColor(surface.pixel(10, 10)) == QColor(Qt::white) &&
                   QColor(surface.pixel(0, 10)) == QColor(0, 0, 255);  // an empty preview's frame
  };
  form->show();
  for (int i = 0; i < 100 && !form->ViewImage; ++i) QApplication::processEvents();
  EXPECT_TRUE(drawingStarted);
  EXPECT_TRUE(blankPreview);
  EXPECT_EQ(gridTotal, "12");
  ASSERT_TRUE(form->ViewImage.has_value());
  // The same picture as a drawing asked for directly.
  const QImage queued = *form->ViewImage;
  form->FitAll();
  EXPECT_EQ(*form->ViewImage, queued);
}

TEST_F(FormTest, ALongDrawingShowsItsProgressWithoutTakingInput) {
  std::string drawing;
  for (int i = 0; i < 3000; ++i)
    drawing += std::to_string(i) + " 0 " + std::to_string(i) + " 100\r\n";
  Write("JWC_TEMP.TXT", drawing);
  auto form = Show();
  PaintFirstPicture(*form);

  TPaintCounter counter;
  form->PaintBox1->installEventFilter(&counter);
  bool queuedEventRan = false;
  QTimer::singleShot(0, [&] { queuedEventRan = true; });
  bool inputDuringDrawing = false;
  // One thread, whose every poll asks the source: the sleep then stands for a slow machine.
  qputenv("SXF_DRAWING_THREADS", "1");
  SetUserBreakSource([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));  // a slow machine
    inputDuringDrawing = inputDuringDrawing || queuedEventRan;
    return false;
  });
  form->FitAll();  // some 300 polls of 2 ms: a few progress steps
  qunsetenv("SXF_DRAWING_THREADS");
  SetUserBreakSource(nullptr);
  form->PaintBox1->removeEventFilter(&counter);
  EXPECT_GE(counter.paints, 2);
  EXPECT_FALSE(inputDuringDrawing);
  QApplication::processEvents();
  EXPECT_TRUE(queuedEventRan);
}

TEST_F(FormTest, ANarrowerWindowKeepsThePreviewBesideThePanel) {
  Write("sxf-usertype-finder.dat", "0\r\n0\r\n780\r\n600\r\n700\r\n");
  auto form = Show();
  EXPECT_EQ(form->Panel2->width(), 700);
  ResizeOuter(*form, 600, 600);
  EXPECT_GE(form->PaintBox1->width(), TForm1::kPanelMinSize);
  EXPECT_EQ(form->Panel2->x() - 3, form->PaintBox1->width());
  form->close();
  // The panel width stored is the one on screen, leaving the preview its minimum.
  const std::string stored = Read("sxf-usertype-finder.dat");
  EXPECT_EQ(stored.substr(stored.rfind("\r\n", stored.size() - 3) + 2),
            std::to_string(form->width() - 3 - TForm1::kPanelMinSize) + "\r\n");
}

}  // namespace
}  // namespace sxf

namespace sxf {
namespace {

TEST_F(FormTest, RepaintsShowTheStoredPictureWithoutDrawingAgain) {
  CopySample("floor-plan");
  int polls = 0;
  SetUserBreakSource([&polls] {
    ++polls;
    return false;
  });
  auto form = Show();
  PaintFirstPicture(*form);
  ASSERT_TRUE(form->ViewImage.has_value());
  EXPECT_GT(polls, 0);  // the first paint drew the drawing
  EXPECT_EQ(form->ViewImage->size(), form->PaintBox1->SurfaceSize());
  const QImage first = *form->ViewImage;
  // The picture is not just background: the walls are there.
  EXPECT_NE(first, QImage(first.size(), first.format()));

  const int pollsAfterFirst = polls;
  form->PaintBox1->repaint();  // uncovering: from the stored picture
  EXPECT_EQ(polls, pollsAfterFirst);
  EXPECT_EQ(form->PaintBox1->Surface(), first);

  // Enlarging: the old picture at the top left, background and blue frame beyond it.
  form->SetPanelWidth(100);
  form->PaintBox1->repaint();
  EXPECT_EQ(polls, pollsAfterFirst);
  const QImage& grown = form->PaintBox1->Surface();
  ASSERT_GT(grown.width(), first.width());
  EXPECT_EQ(grown.copy(0, 0, first.width(), first.height()), first);
  // The frame box leaves out the last column, as every rectangle does.
  EXPECT_EQ(QColor(grown.pixel(grown.width() - 2, 10)), QColor(0, 0, 255));
  EXPECT_EQ(QColor(grown.pixel(grown.width() - 5, 10)), QColor(Qt::white));
  SetUserBreakSource(nullptr);
}

TEST_F(FormTest, HeldEscapeKeepsThePartialPicture) {
  std::string drawing;
  for (int i = 0; i < 2000; ++i)
    drawing += std::to_string(i) + " 0 " + std::to_string(i) + " 100\r\n";
  Write("JWC_TEMP.TXT", drawing);
  SetUserBreakSource([] { return true; });
  auto form = Show();
  PaintFirstPicture(*form);
  ASSERT_TRUE(form->ViewImage.has_value());
  SetUserBreakSource(nullptr);
  const QImage partial = *form->ViewImage;
  // Said until the next drawing, which draws it whole.
  const QString stopped = ShiftJisToQString(DrawingStoppedText(JapaneseLanguageFromEnvironment()));
  EXPECT_EQ(form->LabelA1->text(), stopped);
  form->FitAll();
  EXPECT_NE(form->LabelA1->text(), stopped);
  ASSERT_TRUE(form->ViewImage.has_value());
  EXPECT_NE(*form->ViewImage, partial);  // the whole drawing has more lines
  form->PaintBox1->repaint();
  EXPECT_EQ(form->PaintBox1->Surface(), *form->ViewImage);
}

}  // namespace
}  // namespace sxf

namespace sxf {
namespace {

// Run at 1 and, by CTest, on a screen scaled by 150 %: the design lengths grow by the scale,
// the preview holds the screen's pixels and is the report's picture at that scale.
TEST_F(FormTest, TheWindowDrawsItsDesignAtTheScreensScale) {
  CopySample("floor-plan");
  auto form = Show();
  PaintFirstPicture(*form);
  ASSERT_TRUE(form->ViewImage);
  const double r = form->PaintBox1->devicePixelRatioF();
  const QImage window = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
  // The status strip's grey rows at the bottom; a grid's row pitch in its fixed column.
  int strip = 0;
  while (strip < window.height() &&
         window.pixel(2, window.height() - 1 - strip) == qRgb(231, 231, 231))
    ++strip;
  EXPECT_NEAR(strip, 24 * r, 1.5);
  const QImage grid = form->StringGrid1->grab().toImage();
  const int gx =
      static_cast<int>((24 + 44 + 38) * r);  // the right of the third column, clear of counts
  std::vector<int> lines;                    // the first row of each run of grid-line pixels
  for (int y = 1; y < grid.height(); ++y)
    if (grid.pixel(gx, y) != qRgb(255, 255, 255) && grid.pixel(gx, y - 1) == qRgb(255, 255, 255))
      lines.push_back(y);
  ASSERT_GE(lines.size(), 6u);
  std::vector<int> pitches;
  for (std::size_t i = 1; i < lines.size(); ++i) pitches.push_back(lines[i] - lines[i - 1]);
  std::nth_element(pitches.begin(), pitches.begin() + pitches.size() / 2, pitches.end());
  EXPECT_NEAR(pitches[pitches.size() / 2], 24 * r, 1.5);  // the rows' pitch
  const QImage label = form->Label1->grab().toImage();
  int top = label.height(), bottom = -1;
  for (int y = 0; y < label.height(); ++y)
    for (int x = 0; x < label.width(); ++x)
      if (qGray(label.pixel(x, y)) < 128) top = std::min(top, y), bottom = std::max(bottom, y);
  EXPECT_NEAR(bottom - top + 1, 12 * r, 2.0);  // the 13-pixel font's ink
  // A mark's ring: red from its centre's right, out to its radius and half its pen.
  const TDrawing& drawing = form->Form.Drawing();
  const TLineTypeMark mark = CollectLineTypeMarks(drawing).front();
  const TPixelPoint c = WorldToScreen(form->Form.Views.View, mark.X, mark.Y);
  const QImage& preview = *form->ViewImage;
  int outer = 0;
  for (int d = 0; d < 40 * r; ++d)
    if (preview.pixel(static_cast<int>(c.X) + d, static_cast<int>(c.Y)) == qRgb(255, 0, 0))
      outer = d;
  EXPECT_NEAR(outer, 11.5 * r, 2.0);
  // The report's --png --scale of the same size.
  const std::string png = (dir_ / "report.png").string();
  ASSERT_EQ(WritePreviewPng(drawing, png, preview.width(), preview.height(), std::nullopt,
                            DpiOfScaleFactor(r)),
            "");
  EXPECT_EQ(QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32),
            preview.convertToFormat(QImage::Format_RGB32));
}

TEST_F(FormTest, ResizingKeepsTheViewsCentreAndScale) {
  CopySample("floor-plan");
  auto form = Show();
  PaintFirstPicture(*form);
  const TView& view = form->Form.Views.View;
  const double scale = view.ViewScale;
  const double cx = (view.ViewLeft + view.ViewRight) / 2, cy = (view.ViewBottom + view.ViewTop) / 2;
  ResizeOuter(*form, 900, 700);
  EXPECT_EQ(view.ViewWidth, form->PaintBox1->SurfaceSize().width());
  EXPECT_EQ(view.ViewHeight, form->PaintBox1->SurfaceSize().height());
  EXPECT_DOUBLE_EQ(view.ViewScale, scale);
  EXPECT_NEAR((view.ViewLeft + view.ViewRight) / 2, cx, 1e-9);
  EXPECT_NEAR((view.ViewBottom + view.ViewTop) / 2, cy, 1e-9);
  EXPECT_NEAR(view.ViewRight - view.ViewLeft, view.ViewWidth / view.ViewScale, 1e-9);
}

}  // namespace
}  // namespace sxf

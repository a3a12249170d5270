// What the window hands over, checked against the report tool's own output on the sample: the
// clipboard after Ctrl+C and Ctrl+Shift+C, the files Ctrl+S writes, a folder that takes no
// file, and the side panel's menu. Offscreen platform; the report is the built program.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "app/PaintBox.h"
#include "app/Translations.h"
#include "app/SampleFormFixture.h"
#include "form/WindowMessages.h"
#include "globals/UnitGval.h"
#include "platform/qt/ShiftJis.h"
#include "text/TextLocale.h"

namespace sxf {
namespace {

namespace fs = std::filesystem;

class HandOverQtTest : public test::SampleFormTest {
 protected:
  void SetUp() override {
    ShowSample("sxf-handover-", "0\r\n0\r\n900\r\n600\r\n250\r\n");
    sample_ = (dir_ / "JWC_TEMP.TXT").string();
    ASSERT_EQ(Run("'" + std::string(report_) + "' --format csv --marks '" + sample_ + "' > '" +
                  Path("report.csv") + "'"),
              0);
  }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  static int Run(const std::string& command) { return std::system(command.c_str()); }
  // The rows of file (kind as same_rows.py takes it) against the report's part.
  int SameRows(const char* kind, const std::string& file, const char* part) const {
    return Run("python3 '" SXF_TESTS_DIR "/support/same_rows.py' " + std::string(kind) + " '" +
               file + "' '" + Path("report.csv") + "' " + part);
  }
  // Accepts the save dialog, once it is up, with the name.
  static void AnswerSaveDialog(const QString& name) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, name] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (auto* edit = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr) {
        edit->setText(name);                      // as typed
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog checks the name first
        timer->deleteLater();
      }
    });
    timer->start(20);
  }
  std::string Status() const { return form_->LabelA1->text().toStdString(); }

  const char* report_ = SXF_REPORT_PROGRAM;
  std::string sample_;
};

TEST_F(HandOverQtTest, CtrlCAndCtrlShiftCPutTheReportsRowsOnTheClipboard) {
  const struct {
    Qt::KeyboardModifiers keys;
    const char* part;
  } copies[] = {{Qt::ControlModifier, "tally"},
                {Qt::ControlModifier | Qt::ShiftModifier, "checksheet"}};
  for (const auto& c : copies) {
    QApplication::clipboard()->clear();
    // On the grid, whose own Ctrl+C would copy its current cell.
    form_->StringGrid1->setCurrentCell(3, 3);
    QTest::keyClick(form_->StringGrid1, Qt::Key_C, c.keys);
    std::ofstream(Path("clipboard.txt"), std::ios::binary)
        << QApplication::clipboard()->text().toStdString();
    EXPECT_EQ(SameRows("tsv", Path("clipboard.txt"), c.part), 0) << c.part;
  }
}

TEST_F(HandOverQtTest, CtrlSSavesTheReportsPictureOfTheViewAndItsRowsOrSaysWhyNot) {
  QTest::keyClick(form_->StringGrid1, Qt::Key_PageUp);  // a view of its own, not fit-all
  const TView zoomed = View();
  AnswerSaveDialog(QString::fromStdString(Path("saved")));
  QTest::keyClick(form_->StringGrid1, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(View().ViewLeft, zoomed.ViewLeft) << "the view stays";

  char box[160];
  std::snprintf(box, sizeof box, "%.17g,%.17g,%.17g,%.17g", zoomed.ViewLeft, zoomed.ViewBottom,
                zoomed.ViewRight, zoomed.ViewTop);
  const int w = form_->PaintBox1->width(), h = form_->PaintBox1->height();
  ASSERT_EQ(Run("'" + std::string(report_) + "' '" + sample_ + "' --png '" + Path("report.png") +
                "' --size " + std::to_string(w) + "x" + std::to_string(h) + " --view " + box +
                " > /dev/null"),
            0);
  const QImage saved(QString::fromStdString(Path("saved.png")));
  const QImage reported(QString::fromStdString(Path("report.png")));
  ASSERT_FALSE(saved.isNull()) << Status();
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32),
            reported.convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(SameRows("csv", Path("saved-tally.csv"), "tally"), 0);
  EXPECT_EQ(SameRows("csv", Path("saved-marks.csv"), "checksheet"), 0);

  // A read-only folder. Root writes into any folder whatever its mode, so there the folder is
  // a read-only file system, where one can be mounted.
  const fs::path readOnly = dir_ / "read-only";
  fs::create_directory(readOnly);
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
  bool mounted = false;
  if (::access(readOnly.c_str(), W_OK) == 0) {
    mounted = Run("mount -t tmpfs -o ro,size=16k sxf-read-only '" + readOnly.string() +
                  "' 2>/dev/null") == 0;
    if (!mounted) GTEST_SKIP() << "no read-only folder can be had here";
  }
  AnswerSaveDialog(QString::fromStdString((readOnly / "x.png").string()));
  QTest::keyClick(form_->StringGrid1, Qt::Key_S, Qt::ControlModifier);
  const bool japanese = JapaneseLanguageFromEnvironment();
  const std::string said = Status();
  EXPECT_TRUE(said ==
                  ShiftJisToQString(SaveFailedText("x.png", EACCES, {}, japanese)).toStdString() ||
              said == ShiftJisToQString(SaveFailedText("x.png", EROFS, {}, japanese)).toStdString())
      << said;
  EXPECT_TRUE(fs::is_empty(readOnly));
  if (mounted) Run("umount '" + readOnly.string() + "'");
  fs::permissions(readOnly, fs::perms::owner_all);
}

TEST_F(HandOverQtTest, OnAJapaneseSystemTheSaveDialogSpeaksJapanese) {
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  QTranslator* translator = InstallQtTranslations();
  ASSERT_NE(translator, nullptr) << "Qt's Japanese translation is not installed";
  QStringList buttons;
  QTimer::singleShot(50, [&buttons] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      for (const QPushButton* b : dialog->findChildren<QPushButton*>()) buttons << b->text();
      dialog->reject();
    }
  });
  QTest::keyClick(form_->StringGrid1, Qt::Key_S, Qt::ControlModifier);  // the save dialog
  QApplication::removeTranslator(translator);
  delete translator;
  QLocale::setDefault(QLocale::c());
  EXPECT_TRUE(buttons.contains(QString::fromUtf8("保存(&S)")) ||
              buttons.contains(QString::fromUtf8("保存")))
      << buttons.join(' ').toStdString();
}

TEST_F(HandOverQtTest, TheSidePanelsMenuOffersTheThreeWithTheirKeys) {
  QStringList seen;
  QTimer::singleShot(50, [&seen] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    for (QAction* a : menu->actions()) seen << a->shortcut().toString();
    menu->actions().front()->trigger();
    menu->close();
  });
  QApplication::clipboard()->clear();
  QWidget* viewport = form_->StringGrid1->viewport();
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                          viewport->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(viewport, &event);
  EXPECT_EQ(seen, (QStringList{"Ctrl+C", "Ctrl+Shift+C", "Ctrl+S"}));
  std::ofstream(Path("clipboard.txt"), std::ios::binary)
      << QApplication::clipboard()->text().toStdString();
  EXPECT_EQ(SameRows("tsv", Path("clipboard.txt"), "tally"), 0)
      << "the first item copies the table";
}

}  // namespace
}  // namespace sxf

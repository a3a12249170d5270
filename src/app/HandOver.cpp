// The Qt window's side of handing over: the clipboard, the save dialog, the picture surface,
// the grid's highlighted cell and the side panel's context menu. What is handed over is made
// by the form.

#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableWidget>

#include "app/Unit1.h"
#include "platform/RasterSurface.h"
#include "platform/qt/ShiftJis.h"

namespace sxf {

namespace {

// The walked cell's background: a light amber that the grid's black digits stay readable on.
const QColor kHighlightColour(255, 214, 102);

}  // namespace

std::string TForm1::MessageTextOfFileName(const std::string& utf8) const {
  return QStringToShiftJis(QString::fromUtf8(utf8));
}

bool TForm1::PutOnClipboard(const std::string& utf8) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->setText(QString::fromUtf8(utf8));
  return true;
}

std::string TForm1::AskSaveFileName(const std::string& folder, const std::string& name) {
  const QString chosen = QFileDialog::getSaveFileName(
      this, ShiftJisToQString(SaveDialogTitle(JapaneseMessages())),
      QString::fromUtf8(folder) + QString::fromUtf8(name), QStringLiteral("PNG (*.png)"));
  return chosen.toStdString();
}

std::string TForm1::AskOpenFileName(const std::string& folder) {
  const bool japanese = JapaneseMessages();
  const QString chosen = QFileDialog::getOpenFileName(
      this, ShiftJisToQString(OpenDialogTitle(japanese)), QString::fromUtf8(folder),
      ShiftJisToQString(OpenDialogFilter(japanese)) + QStringLiteral(" (*.jww *.jws *.JWW *.JWS)"));
  return chosen.toStdString();
}

bool TForm1::FileExists(const std::string& utf8) const {
  const QFileInfo info(QString::fromUtf8(utf8));
  return info.exists() && info.isFile();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && event->mimeData()->urls().size() == 1 &&
      event->mimeData()->urls().front().isLocalFile())
    event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  Form.OpenDrawingFile(urls.front().toLocalFile().toStdString());
}

std::unique_ptr<TRasterSurface> TForm1::CreatePictureSurface(int width, int height) {
  return CreateRasterSurface(width, height);
}

std::string TForm1::Utf8OfShiftJis(const std::string& sjis) const { return ShiftJisToUtf8(sjis); }

void TForm1::ShowBusy(bool busy) {
  // Over every window of the program, so that the cursor says so wherever it is.
  if (busy)
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QGuiApplication::restoreOverrideCursor();
}

void TForm1::HighlightTallyCell(int row, int column) {
  // The cell's own background back, heading colour or none.
  if (QTableWidgetItem* old = StringGrid1->item(highlightRow_, highlightColumn_))
    old->setBackground(
        highlightRow_ == 0 || highlightColumn_ == 0 ? palette().color(QPalette::Button) : QBrush());
  highlightRow_ = row;
  highlightColumn_ = column;
  QTableWidgetItem* item = StringGrid1->item(row, column);
  if (!item) return;
  // The selection's colour would hide it.
  StringGrid1->clearSelection();
  item->setBackground(kHighlightColour);
  StringGrid1->scrollToItem(item);
}

void TForm1::InstallHandOverMenu() {
  for (QWidget* w : {static_cast<QWidget*>(StringGrid1), static_cast<QWidget*>(Memo1),
                     static_cast<QWidget*>(Panel2), static_cast<QWidget*>(Panel3)}) {
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint& at) { ShowHandOverMenu(w, at); });
  }
}

void TForm1::ShowHandOverMenu(QWidget* over, const QPoint& at) {
  // A scroll area reports the position in its viewport.
  QWidget* origin = over;
  if (auto* area = qobject_cast<QAbstractScrollArea*>(over)) origin = area->viewport();
  QMenu menu(this);
  menu.setObjectName("HandOverMenu");
  const bool japanese = JapaneseMessages();
  const struct {
    THandOver What;
    void (TFormBehaviour::*Act)();
  } items[kHandOverCount] = {{THandOver::CopyTally, &TFormBehaviour::CopyTally},
                             {THandOver::CopyMarks, &TFormBehaviour::CopyMarks},
                             {THandOver::Save, &TFormBehaviour::SaveFiles}};
  for (const auto& item : items) {
    QAction* action = menu.addAction(ShiftJisToQString(HandOverMenuText(item.What, japanese)));
    // Shown beside the text; the keys themselves go through the form's key preview.
    action->setShortcut(QKeySequence(QString::fromLatin1(HandOverKey(item.What))));
    action->setShortcutVisibleInContextMenu(true);
    const auto act = item.Act;
    connect(action, &QAction::triggered, this, [this, act] { (Form.*act)(); });
  }
  menu.exec(origin->mapToGlobal(at));
}

}  // namespace sxf

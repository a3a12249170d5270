#include "app/Unit1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QMoveEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include "app/PaintBox.h"
#include "render/BandCanvases.h"
#include "render/UserBreak.h"
#include "app/SplitterBar.h"
#include "app/WindowManager.h"
#include "graphics/Primitives.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/ShiftJis.h"
#include "text/TextLocale.h"

namespace sxf {

namespace {

void SetBackground(QWidget* w, const QColor& color, QPalette::ColorRole role = QPalette::Window) {
  QPalette p = w->palette();
  p.setColor(role, color);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

QFrame* NewPanel(QWidget* parent, const char* name, const QColor& color) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setLineWidth(1);
  SetBackground(panel, color);
  return panel;
}

// A mouse event's buttons and modifiers as the form's gesture bits.
int ShiftStateOf(const QMouseEvent& e, bool doubleClick) {
  return MouseShiftState({.Left = (e.buttons() & Qt::LeftButton) != 0,
                          .Right = (e.buttons() & Qt::RightButton) != 0,
                          .Middle = (e.buttons() & Qt::MiddleButton) != 0,
                          .DoubleClick = doubleClick,
                          .Shift = (e.modifiers() & Qt::ShiftModifier) != 0,
                          .Alt = (e.modifiers() & Qt::AltModifier) != 0,
                          .Ctrl = (e.modifiers() & Qt::ControlModifier) != 0});
}

// The form's keys as Qt names them.
constexpr TFormKeyCodes kQtKeys = {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Insert, Qt::Key_End,
                                   Qt::Key_Home,   Qt::Key_Left,     Qt::Key_Right,  Qt::Key_Up,
                                   Qt::Key_Down,   Qt::Key_Escape,   Qt::Key_F3,     Qt::Key_F1,
                                   Qt::Key_C,      Qt::Key_S,        Qt::Key_O,      Qt::Key_F5};

}  // namespace

QString ApplicationTitle() { return ShiftJisToQString(FormCaption()); }

TForm1::TForm1(TProgramLocation location, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      Form(*this, std::move(location.Folder), std::move(location.SettingsFile), kQtKeys) {
  setObjectName("Form1");
  setWindowTitle(ApplicationTitle());
  QFont font(QString::fromUtf8("ＭＳ ゴシック"));
  font.setPixelSize(TDesignLengths::FontHeight);
  setFont(font);
  SetBackground(this, Qt::white);
  CreateControls();
  setAcceptDrops(true);  // a drawing file dropped on the window is opened
  Form.FormCreate();
  // Design position and client size; FormShow replaces them with the settings.
  move(194, 105);
  resize(585, 392);
  qApp->installEventFilter(this);
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  if (!Form.Closed()) Form.FormClose();
}

void TForm1::CreateControls() {
  LabelA1 = new QLabel(this);
  LabelA1->setObjectName("LabelA1");
  LabelA1->setAlignment(Qt::AlignCenter);
  LabelA1->setText(QString::fromUtf8("　"));
  SetBackground(LabelA1, QColor(231, 231, 231));

  PaintBox1 = new TPaintBox(this);
  PaintBox1->setObjectName("PaintBox1");
  PaintBox1->OnPaint = [this] { Form.PaintBox1Paint(); };
  // The form works in the preview's own pixels, the screen's.
  PaintBox1->OnMouseDown = [this](const QMouseEvent& e, bool doubleClick) {
    Form.PaintBox1MouseDown(PaintBox1->DevicePixel(e.position().x()),
                            PaintBox1->DevicePixel(e.position().y()), ShiftStateOf(e, doubleClick));
  };
  PaintBox1->OnMouseMove = [this](const QMouseEvent& e) {
    Form.PaintBox1MouseMove(PaintBox1->DevicePixel(e.position().x()),
                            PaintBox1->DevicePixel(e.position().y()));
  };
  PaintBox1->OnMouseUp = [this](const QMouseEvent& e) {
    Form.PaintBox1MouseUp(PaintBox1->DevicePixel(e.position().x()),
                          PaintBox1->DevicePixel(e.position().y()));
  };
  PaintBox1->OnRatioChanged = [this] {
    if (!resizing_) Form.FormResize();
  };

  Splitter1 = new TSplitterBar(this);
  Splitter1->setObjectName("Splitter1");
  Splitter1->OnPress = [this] { splitterStartWidth_ = panelWidth_; };
  // The panel grows as the bar moves left.
  Splitter1->OnDrag = [this](int dx) { SetPanelWidth(splitterStartWidth_ - dx); };

  Panel2 = NewPanel(this, "Panel2", QColor(255, 251, 240));
  Panel3 = NewPanel(Panel2, "Panel3", Qt::white);

  Label1 = new QLabel(QString::fromUtf8("図面ファイル名："), Panel3);
  Label1->setObjectName("Label1");
  Label1->setGeometry(0, 0, TDesignLengths::Label1Width, TDesignLengths::LabelHeight);
  Label2 = new QLabel(QString::fromUtf8("（新規）"), Panel3);
  Label2->setObjectName("Label2");
  Label2->setGeometry(TDesignLengths::Label2Left, TDesignLengths::Label2Top, 56,
                      TDesignLengths::LabelHeight);

  Memo1 = new QPlainTextEdit(Panel2);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
  // The help wraps at the box's width: nothing of it lies beyond a sideways scroll.
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Memo1->setTabChangesFocus(true);
  SetBackground(Memo1->viewport(), QColor(187, 235, 244), QPalette::Base);
  SetBackground(Memo1, QColor(187, 235, 244), QPalette::Base);
  QStringList lines;
  for (int i = 0; i < kFormHelpLineCount; ++i) lines << ShiftJisToQString(FormHelpLines()[i]);
  Memo1->setPlainText(lines.join('\n'));

  StringGrid1 = new QTableWidget(kTallyRows, kTallyColumns, Panel2);
  connect(StringGrid1, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int column) { StringGrid1DblClick(row, column); });
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setMinimumSectionSize(1);
  StringGrid1->horizontalHeader()->setDefaultSectionSize(TDesignLengths::GridColumnWidth);
  StringGrid1->verticalHeader()->setMinimumSectionSize(1);
  StringGrid1->verticalHeader()->setDefaultSectionSize(TDesignLengths::GridRowHeight);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
  StringGrid1->setShowGrid(true);
  StringGrid1->setColumnWidth(0, TDesignLengths::GridFirstColumnWidth);
  StringGrid1->setTextElideMode(Qt::ElideNone);  // cells clip their text, as a grid does
  StringGrid1->setWordWrap(false);
  StringGrid1->verticalScrollBar()->setTracking(true);
  StringGrid1->horizontalScrollBar()->setTracking(true);
  StringGrid1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  const QColor fixedColor = palette().color(QPalette::Button);
  for (int r = 0; r < kTallyRows; ++r) {
    for (int c = 0; c < kTallyColumns; ++c) {
      auto* item = new QTableWidgetItem();
      if (r == 0 || c == 0) {
        // Fixed cells: heading colour, not selectable.
        item->setBackground(fixedColor);
        item->setFlags(Qt::ItemIsEnabled);
      } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      }
      StringGrid1->setItem(r, c, item);
    }
  }

  EditA = new QLineEdit(Panel2);
  EditA->setObjectName("EditA");
  EditA->setMaxLength(1);
  EditA->setAttribute(Qt::WA_InputMethodEnabled, false);
  EditA->setGeometry(216, 400, 25, 21);
  // Beneath the panel's other controls, so that it is not seen even when the panel is tall.
  EditA->lower();

  // EditA takes the focus first; the grid follows. Memo1 is not a tab stop.
  setTabOrder(EditA, StringGrid1);
  setFocusProxy(EditA);
  InstallHandOverMenu();
}

void TForm1::SetPanelWidth(int width) {
  const int clientWidth = this->width();
  const int maxWidth = std::max(kPanelMinSize, clientWidth - kSplitterWidth - kPanelMinSize);
  panelWidth_ = std::clamp(width, kPanelMinSize, maxWidth);
  LayoutControls();
}

void TForm1::LayoutControls() {
  const int w = width();
  const int h = height();
  // A narrower window takes its width from the panel too, down to the preview's minimum.
  panelWidth_ = std::clamp(panelWidth_, kPanelMinSize,
                           std::max(kPanelMinSize, w - kSplitterWidth - kPanelMinSize));
  // The strip is as high as designed, or higher where its font needs it: never a cut line.
  const int status = std::max(kStatusHeight, LabelA1->fontMetrics().height() + 2);
  const int bodyHeight = std::max(0, h - status);
  LabelA1->setGeometry(0, bodyHeight, w, status);
  AlignStatus();
  const int panelLeft = w - panelWidth_;
  Panel2->setGeometry(panelLeft, 0, panelWidth_, bodyHeight);
  Splitter1->setGeometry(panelLeft - kSplitterWidth, 0, kSplitterWidth, bodyHeight);
  PaintBox1->setGeometry(0, 0, std::max(0, panelLeft - kSplitterWidth), bodyHeight);

  // Inside Panel2, within its one-pixel bevel.
  const int innerWidth = std::max(0, panelWidth_ - 2);
  constexpr int kBevel = 1;
  const int gridTop = kBevel + TDesignLengths::PanelTopHeight;
  Panel3->setGeometry(kBevel, kBevel, innerWidth, TDesignLengths::PanelTopHeight);
  const TPanelSplit split = SplitPanel(gridTop, bodyHeight - kBevel, GridWantedHeight(innerWidth),
                                       TDesignLengths::MemoMinHeight);
  Memo1->setGeometry(kBevel, split.MemoTop, innerWidth, split.MemoHeight);
  Memo1->setVisible(split.MemoHeight > 0);
  StringGrid1->setGeometry(kBevel, gridTop, innerWidth, split.GridHeight);
}

int TForm1::GridWantedHeight(int width) const {
  const int frame = 2 * StringGrid1->frameWidth();
  int wanted = frame + StringGrid1->verticalHeader()->length();
  if (StringGrid1->horizontalHeader()->length() > width - frame)
    wanted += StringGrid1->horizontalScrollBar()->sizeHint().height();
  return wanted;
}

void TForm1::SetWindowRect(const TWindowRect& r) {
  placement_ = QRect(r.Left, r.Top, r.Width, r.Height);
  placing_ = true;
  placementTimer_.start();
  windowManager_ = WindowManagerPresent();
  expectedMargins_.reset();
  if (windowManager_ && windowHandle())
    expectedMargins_ = FrameExtentsBeforeMapping(*windowHandle());
  SetOuterGeometry(placement_);
  // Sized with the frame the window manager announced: nothing is left to correct once mapped.
  if (expectedMargins_) placing_ = false;
}

TWindowRect TForm1::WindowRect() const {
  const QRect outer = OuterGeometry();
  return {outer.left(), outer.top(), outer.width(), outer.height()};
}

void TForm1::ScreenSizeAt(int x, int y, int& width, int& height) const {
  const QScreen* screen = QGuiApplication::screenAt(QPoint(x, y));
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QSize size = screen ? screen->geometry().size() : QSize(kMinWinWidth, kMinWinHeight);
  width = size.width();
  height = size.height();
}

void TForm1::SetFileNameCaption(const std::string& sjis) {
  Label2->setText(ShiftJisToQString(sjis));
  Label2->resize(Label2->sizeHint().width(),
                 TDesignLengths::LabelHeight);  // sized to its caption, as a label does
}

void TForm1::ShowLineTypeNames(const std::array<std::string, kUserLineTypes>& sjis) {
  for (int row = 1; row <= kUserLineTypes; ++row)
    if (QTableWidgetItem* item = StringGrid1->item(row, 0))
      item->setToolTip(ShiftJisToQString(sjis[static_cast<std::size_t>(row - 1)]));
}

void TForm1::SetStatusCaption(const std::string& sjis) {
  status_ = ShiftJisToQString(sjis);
  ShowStatus();
}

void TForm1::SetReadNotice(const std::string& sjis, bool alert) {
  notice_ = ShiftJisToQString(sjis);
  noticeAlert_ = alert;
  ShowStatus();
}

bool TForm1::JapaneseMessages() const { return JapaneseLanguageFromEnvironment(); }

// Qt lays the window out in its device-independent pixels and scales it; only the preview
// holds the screen's pixels.
int TForm1::PreviewDpi() const { return DpiOfScaleFactor(PaintBox1->Ratio()); }

// The status text is centred; one wider than the strip starts at its left edge instead, so
// that its beginning stays in sight (a centred text would lose both ends).
void TForm1::AlignStatus() {
  const bool fits = LabelA1->fontMetrics().horizontalAdvance(LabelA1->text()) <= LabelA1->width();
  LabelA1->setAlignment(fits ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
}

void TForm1::ShowStatus() {
  const bool notice = status_.isEmpty();
  LabelA1->setText(notice ? notice_ : status_);
  AlignStatus();
  QPalette p = LabelA1->palette();
  p.setColor(QPalette::WindowText,
             notice && noticeAlert_ ? QColor(Qt::red) : palette().color(QPalette::WindowText));
  LabelA1->setPalette(p);
}

void TForm1::ShowTally(const TTallyGrid& grid) {
  for (int r = 0; r < kTallyRows; ++r)
    for (int c = 0; c < kTallyColumns; ++c)
      StringGrid1->item(r, c)->setText(ShiftJisToQString(grid.Cell(c, r)));
  // A column widens to its widest number, so that no count is cut; the design widths stay
  // where the numbers fit. The cell's margins are those the style draws text inside.
  const QFontMetrics metrics(StringGrid1->font());
  const int margin =
      2 * (StringGrid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, StringGrid1) +
           1) +
      2;
  for (int c = 1; c < kTallyColumns; ++c) {
    int widest = 0;
    for (int r = 1; r < kTallyRows; ++r)
      widest = std::max(widest, metrics.horizontalAdvance(StringGrid1->item(r, c)->text()));
    StringGrid1->setColumnWidth(c, std::max(TDesignLengths::GridColumnWidth, widest + margin));
  }
}

QMargins TForm1::FrameMargins() const {
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  // Before the window is framed, what the window manager said its frame would be.
  if (frame == client && expectedMargins_) return *expectedMargins_;
  return {std::max(0, client.left() - frame.left()), std::max(0, client.top() - frame.top()),
          std::max(0, frame.right() - client.right()),
          std::max(0, frame.bottom() - client.bottom())};
}

QRect TForm1::OuterGeometry() const { return frameGeometry(); }

void TForm1::SetOuterGeometry(const QRect& outer) {
  // The client area is what Qt sizes; the frame's margins are known once the window manager
  // has framed the window (none without one), so this is repeated until the frame fits.
  const QMargins m = FrameMargins();
  const int extraWidth = m.left() + m.right();
  const int extraHeight = m.top() + m.bottom();
  setMinimumSize(std::max(1, kMinWinWidth - extraWidth), std::max(1, kMinWinHeight - extraHeight));
  const QSize client(std::max(1, outer.width() - extraWidth),
                     std::max(1, outer.height() - extraHeight));
  if (size() != client) resize(client);
  // The frame's top-left corner is placed once, before the window is mapped: the window
  // manager is asked to put the frame's corner, not the client's, at the point. The window's
  // geometry agrees with the widget's, so showing it keeps that request. Once mapped, only
  // the size is corrected, which keeps the frame's corner where it is.
  QWindow* window = windowHandle();
  if (window && window->isVisible()) return;
  move(outer.topLeft());
  if (window) window->setFramePosition(outer.topLeft());
}

void TForm1::ContinuePlacement() {
  if (!placing_) return;
  if (placementTimer_.elapsed() > kPlacementMilliseconds) {
    placing_ = false;  // the window manager has the last word
    return;
  }
  // Geometry reports arrive late and out of date after mapping: act only on one that shows
  // the window framed with its frame's corner in place, and then correct the size alone.
  const bool framed = frameGeometry() != geometry();
  if (windowManager_ && (!framed || frameGeometry().topLeft() != placement_.topLeft())) return;
  if (OuterGeometry() == placement_) {
    placing_ = false;
    return;
  }
  SetOuterGeometry(placement_);
}

void TForm1::ApplyMinimumSize() {
  const QMargins m = FrameMargins();
  setMinimumSize(std::max(1, kMinWinWidth - m.left() - m.right()),
                 std::max(1, kMinWinHeight - m.top() - m.bottom()));
}

void TForm1::ResizeWindow(int width, int height) {
  // A window manager holds the frame to the minimum through the size hints; resizing here too
  // would act on a late geometry report and move the window.
  if (windowManager_) return;
  const QMargins m = FrameMargins();
  resize(width - m.left() - m.right(), height - m.top() - m.bottom());
}

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  return Form.FormKeyDown(key, (modifiers & Qt::ShiftModifier) != 0,
                          (modifiers & Qt::ControlModifier) != 0);
}

bool TForm1::FormMouseWheel(const QWheelEvent& event) {
  const QPointF at = event.globalPosition();
  return Form.FormMouseWheel(event.angleDelta().y(), PaintBox1->DevicePixel(at.x()),
                             PaintBox1->DevicePixel(at.y()));
}

// Screen positions scaled as the preview's pixels are: only their differences are used.
TPreviewPlace TForm1::PreviewPlace() const {
  const QPoint origin = mapToGlobal(QPoint(0, 0));
  const auto px = [this](int v) { return PaintBox1->DevicePixel(v); };
  return {px(origin.x()),     px(origin.y()), px(PaintBox1->x()),
          px(PaintBox1->y()), PreviewWidth(), PreviewHeight()};
}

void TForm1::CursorPos(int& x, int& y) const {
  const QPoint p = QCursor::pos();
  x = PaintBox1->DevicePixel(p.x());
  y = PaintBox1->DevicePixel(p.y());
}

void TForm1::FocusEditA() { EditA->setFocus(); }

void TForm1::PaintOnPreview(const std::function<void(TCanvas&)>& draw) {
  {
    TQtCanvas canvas(PaintBox1->Surface());
    draw(canvas);
  }
  PaintBox1->ShowSurface();
}

bool TForm1::TakeDragImage() {
  DragImage = PaintBox1->Surface().copy();
  if (DragImage->isNull()) DragImage.reset();
  return DragImage.has_value();
}

void TForm1::FreeDragImage() { DragImage.reset(); }

void TForm1::ShowDragImageAt(int x, int y) {
  if (!DragImage) return;
  QImage& surface = PaintBox1->Surface();
  {
    TQtCanvas canvas(surface);
    ClearCanvas(canvas, surface.width(), surface.height());
  }
  QPainter painter(&surface);
  painter.drawImage(x, y, *DragImage);
  painter.end();
  PaintBox1->ShowSurface();
}

int TForm1::PreviewWidth() const { return PaintBox1->SurfaceSize().width(); }
int TForm1::PreviewHeight() const { return PaintBox1->SurfaceSize().height(); }

TCanvas& TForm1::BeginPreviewDrawing() {
  canvas_ = std::make_unique<TQtCanvas>(PaintBox1->Surface());
  return *canvas_;
}

void TForm1::ShowPreviewProgress() { PaintBox1->ShowSurfaceNow(); }

std::vector<TCanvas*> TForm1::BeginBandedPreviewDrawing(std::span<const TBand> bands) {
  return HandOutBandCanvases(
      bandCanvases_, bands, [&] { return MakeBandCanvases(PaintBox1->Surface(), bands); },
      [&]() -> TCanvas& { return BeginPreviewDrawing(); });
}

void TForm1::EndPreviewDrawing() {
  canvas_.reset();
  bandCanvases_.clear();
  PaintBox1->ShowSurface();
}

bool TForm1::StoreViewImage() {
  ViewImage = PaintBox1->Surface().copy();
  if (ViewImage->isNull()) ViewImage.reset();
  return ViewImage.has_value();
}

void TForm1::DrawViewImage() {
  if (!ViewImage) return;
  QPainter painter(&PaintBox1->Surface());
  painter.drawImage(0, 0, *ViewImage);
}

void TForm1::FreeImages() {
  ViewImage.reset();
  DragImage.reset();
}

bool TForm1::QueueFirstDrawing() {
  // The drawing follows this paint, so that the rest of the window (the side panel, the
  // grid, the help text) reaches the screen first; the picture is the same.
  if (!drawingQueued_) {
    drawingQueued_ = true;
    QTimer::singleShot(0, this, [this] {
      drawingQueued_ = false;
      if (ViewImage || Form.Closed()) return;
      if (BeforeFirstDrawing) BeforeFirstDrawing();
      Form.DrawQueuedPicture();
    });
  }
  return true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const bool keyOrWheel = event->type() == QEvent::KeyPress || event->type() == QEvent::Wheel;
  if (keyOrWheel && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget == this || isAncestorOf(widget)) {
      if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (FormKeyDown(key->key(), key->modifiers())) return true;
      } else if (FormMouseWheel(*static_cast<QWheelEvent*>(event))) {
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (Shown || Form.Closed()) return;
  Form.FormShow();
  EditA->setFocus();
}

void TForm1::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  ContinuePlacement();
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutControls();
  if (resizing_) return;
  resizing_ = true;
  ApplyMinimumSize();
  Form.FormResize();
  resizing_ = false;
  ContinuePlacement();
}

void TForm1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // The form has no maximise button; a window manager that shows one anyway (openbox keeps
  // it on every resizable window, whatever the hints say) gets the window back at once.
  if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized))
    QTimer::singleShot(0, this, [this] { setWindowState(windowState() & ~Qt::WindowMaximized); });
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!Form.Closed()) Form.FormClose();
  event->accept();
}

}  // namespace sxf

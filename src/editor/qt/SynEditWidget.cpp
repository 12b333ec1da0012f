#include "editor/qt/SynEditWidget.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>

namespace tarnwick {

namespace {

constexpr int kCaretBlink = 530;
constexpr int kDragScrollInterval = 100;
// A drag of selected text names the editor it comes from; only live editors are believed.
const QString kTextDragMime = QStringLiteral("application/x-tarnwick-editor-drag");

std::vector<TSynEditWidget*>& LiveEditors() {
  static std::vector<TSynEditWidget*> editors;
  return editors;
}

Qt::DropAction DropActionFor(bool sameEditor, Qt::KeyboardModifiers modifiers) {
  bool copy = sameEditor ? (modifiers & Qt::ControlModifier) : !(modifiers & Qt::ShiftModifier);
  return copy ? Qt::CopyAction : Qt::MoveAction;
}

}  // namespace

TSynEditWidget::TSynEditWidget(TClipboard& clipboard, QWidget* parent)
    : QAbstractScrollArea(parent), editor_(canvas_, clipboard) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setAcceptDrops(true);
  setAcceptDrops(true);
  editor_.OnRepaint = [this](TSynEdit&) { Changed(); };
  caretTimer_.setInterval(kCaretBlink);
  connect(&caretTimer_, &QTimer::timeout, this, [this] {
    caretShown_ = !caretShown_;
    viewport()->update();
  });
  viewport()->setMouseTracking(true);
  // While the thumb is dragged, a hint names the line that would be on top.
  connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, [this](int value) {
    if (!(editor_.Options() & eoShowScrollHint)) return;
    QToolTip::showText(QCursor::pos(), QString::fromStdString(editor_.ScrollHintText(value)), this);
  });
  dragScrollTimer_.setInterval(kDragScrollInterval);
  connect(&dragScrollTimer_, &QTimer::timeout, this,
          [this] { editor_.DragScrollTick(lastMouse_.x(), lastMouse_.y(), ShiftStateOf(lastModifiers_)); });
  editor_.Focused = false;
  LiveEditors().push_back(this);
  SyncScrollBars();
}

TSynEditWidget::~TSynEditWidget() { std::erase(LiveEditors(), this); }

TKeyCode TSynEditWidget::KeyCodeOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: break;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return static_cast<TKeyCode>(VK_F1 + (qtKey - Qt::Key_F1));
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return static_cast<TKeyCode>(qtKey);
  return 0;
}

TShiftState TSynEditWidget::ShiftStateOf(Qt::KeyboardModifiers modifiers) {
  TShiftState shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= ssShift;
  if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
  if (modifiers & Qt::AltModifier) shift |= ssAlt;
  return shift;
}

void TSynEditWidget::Changed() {
  SyncScrollBars();
  RestartCaretBlink();
  viewport()->update();
}

void TSynEditWidget::RestartCaretBlink() {
  caretShown_ = true;
  if (hasFocus()) caretTimer_.start();
}

void TSynEditWidget::SyncScrollBars() {
  syncing_ = true;
  TScrollBarInfo vertical = editor_.VerticalScrollInfo();
  verticalScrollBar()->setRange(vertical.min, std::max(vertical.min, vertical.max - vertical.page + 1));
  verticalScrollBar()->setPageStep(std::max(vertical.page, 1));
  verticalScrollBar()->setValue(vertical.position);
  if (editor_.WordWrap()) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  } else {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    TScrollBarInfo horizontal = editor_.HorizontalScrollInfo();
    horizontalScrollBar()->setRange(horizontal.min, std::max(horizontal.min, horizontal.max - horizontal.page + 1));
    horizontalScrollBar()->setPageStep(std::max(horizontal.page, 1));
    horizontalScrollBar()->setValue(horizontal.position);
  }
  syncing_ = false;
}

void TSynEditWidget::scrollContentsBy(int, int) {
  if (syncing_) return;
  // Bars beyond 32767 stand for proportionally more rows.
  TScrollBarInfo vertical = editor_.VerticalScrollInfo();
  int rows = editor_.DisplayRowCount();
  int top = vertical.max == 32767 && rows > 32767 ? static_cast<int>(static_cast<long long>(verticalScrollBar()->value()) * rows / 32767)
                                                  : verticalScrollBar()->value();
  editor_.IncPaintLock();
  editor_.SetTopRow(top);
  if (!editor_.WordWrap()) editor_.SetLeftColumn(horizontalScrollBar()->value());
  editor_.DecPaintLock();
}

void TSynEditWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  QPalette palette = this->palette();
  canvas_.Begin(&painter, &palette);
  QRect area = event->rect();
  editor_.Paint(canvas_, {area.left(), area.top(), area.right() + 1, area.bottom() + 1});
  if (hasFocus() && caretShown_) {
    TRect caret = editor_.CaretRect();
    painter.fillRect(QRect(caret.left, caret.top, caret.right - caret.left, caret.bottom - caret.top),
                     canvas_.ToQColor(editor_.FontColor));
  }
  canvas_.End();
}

void TSynEditWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  editor_.SetClientSize(viewport()->width(), viewport()->height());
  SyncScrollBars();
}

void TSynEditWidget::keyPressEvent(QKeyEvent* event) {
  TKeyCode key = KeyCodeOf(event->key());
  TShiftState shift = ShiftStateOf(event->modifiers());
  if (event->key() == Qt::Key_Backtab) shift |= ssShift;
  if (event->key() == Qt::Key_Tab && !editor_.WantTabs) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  bool consumed = key != 0 && editor_.KeyDown(key, shift);
  if (!consumed) {
    // The characters this key produced; control characters are ignored by the editor itself.
    for (char32_t code : event->text().toUcs4()) editor_.KeyPress(code);
  }
  event->accept();
}

void TSynEditWidget::keyReleaseEvent(QKeyEvent* event) {
  editor_.KeyUp(KeyCodeOf(event->key()), ShiftStateOf(event->modifiers()));
  event->accept();
}

void TSynEditWidget::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty()) {
    std::string text = event->commitString().toStdString();
    editor_.ExecuteCommand(ecImeStr, 0, &text);
  }
  event->accept();
}

QVariant TSynEditWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (query == Qt::ImCursorRectangle) {
    TRect caret = editor_.CaretRect();
    return QRect(caret.left, caret.top, caret.right - caret.left, caret.bottom - caret.top);
  }
  return QAbstractScrollArea::inputMethodQuery(query);
}

void TSynEditWidget::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  QPoint at = event->position().toPoint();
  pressedAt_ = at;
  if (event->button() == Qt::LeftButton)
    editor_.MouseDown(at.x(), at.y(), ShiftStateOf(event->modifiers()), false);
  else if (event->button() == Qt::RightButton)
    editor_.RightMouseDown(at.x(), at.y());
}

void TSynEditWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) editor_.MouseDown(at.x(), at.y(), ShiftStateOf(event->modifiers()), true);
}

void TSynEditWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) {
    QPoint at = event->position().toPoint();
    switch (editor_.MouseCursorAt(at.x(), at.y())) {
      case TSynMouseCursor::crDefault:
      case TSynMouseCursor::crArrow: viewport()->setCursor(Qt::ArrowCursor); break;
      case TSynMouseCursor::crIBeam: viewport()->setCursor(Qt::IBeamCursor); break;
    }
    return;
  }
  lastMouse_ = event->position().toPoint();
  lastModifiers_ = event->modifiers();
  if (editor_.DragPending()) {
    if ((lastMouse_ - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) StartTextDrag();
    return;
  }
  editor_.MouseMove(lastMouse_.x(), lastMouse_.y());
  bool outside = !viewport()->rect().adjusted(editor_.GutterRealWidth() + 2, 0, 0, 0).contains(lastMouse_);
  if (outside && editor_.MouseSelecting()) {
    if (!dragScrollTimer_.isActive()) dragScrollTimer_.start();
  } else {
    dragScrollTimer_.stop();
  }
}

void TSynEditWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    dragScrollTimer_.stop();
    editor_.MouseUp();
    if (editor_.OnClick) editor_.OnClick(editor_);
  }
}

void TSynEditWidget::wheelEvent(QWheelEvent* event) {
  editor_.MouseWheel(event->angleDelta().y(), ShiftStateOf(event->modifiers()), QApplication::wheelScrollLines());
  event->accept();
}

void TSynEditWidget::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  editor_.Focused = true;
  RestartCaretBlink();
  viewport()->update();
}

void TSynEditWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  editor_.Focused = false;
  caretTimer_.stop();
  viewport()->update();
}

bool TSynEditWidget::focusNextPrevChild(bool next) {
  // Tab belongs to the text while the editor wants tabs.
  return editor_.WantTabs ? false : QAbstractScrollArea::focusNextPrevChild(next);
}

void TSynEditWidget::StartTextDrag() {
  editor_.DragStarted();
  auto* data = new QMimeData;
  data->setText(QString::fromStdString(editor_.SelectedText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  data->setData(kTextDragMime, QByteArray::number(reinterpret_cast<quintptr>(this)));
  QDrag drag(this);
  drag.setMimeData(data);
  drag.exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

void TSynEditWidget::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* data = event->mimeData();
  if (data->hasFormat(kTextDragMime) && !editor_.ReadOnly()) {
    bool same = data->data(kTextDragMime).toULongLong() == reinterpret_cast<quintptr>(this);
    event->setDropAction(DropActionFor(same, event->modifiers()));
    event->accept();
  } else if (data->hasUrls() && editor_.AcceptsDroppedFiles()) {
    event->acceptProposedAction();
  }
}

void TSynEditWidget::dragMoveEvent(QDragMoveEvent* event) {
  const QMimeData* data = event->mimeData();
  if (data->hasFormat(kTextDragMime)) {
    bool same = data->data(kTextDragMime).toULongLong() == reinterpret_cast<quintptr>(this);
    event->setDropAction(DropActionFor(same, event->modifiers()));
  }
  event->accept();
}

void TSynEditWidget::dropEvent(QDropEvent* event) {
  const QMimeData* data = event->mimeData();
  if (data->hasFormat(kTextDragMime)) {
    auto id = static_cast<quintptr>(data->data(kTextDragMime).toULongLong());
    for (TSynEditWidget* source : LiveEditors()) {
      if (reinterpret_cast<quintptr>(source) != id) continue;
      QPoint at = event->position().toPoint();
      bool copy = DropActionFor(source == this, event->modifiers()) == Qt::CopyAction;
      if (editor_.DropSelectionFrom(source->Editor(), at.x(), at.y(), copy)) event->acceptProposedAction();
      setFocus(Qt::OtherFocusReason);
      return;
    }
    return;
  }
  std::vector<std::string> files;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
  QPoint at = event->position().toPoint();
  editor_.DropFiles(at.x(), at.y(), files);
  event->acceptProposedAction();
}

}  // namespace tarnwick

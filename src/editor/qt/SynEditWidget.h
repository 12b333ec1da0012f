#pragma once

#include <QAbstractScrollArea>
#include <QTimer>

#include "editor/SynEdit.h"
#include "platform/qt/QtCanvas.h"

namespace tarnwick {

// The window of one editor: it hands the editor its size, keys, characters, input-method
// text, mouse and wheel, and paints what the editor draws. No editing happens here.
class TSynEditWidget : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TSynEditWidget(TClipboard& clipboard, QWidget* parent = nullptr);
  ~TSynEditWidget() override;

  TSynEdit& Editor() { return editor_; }
  // The editor's virtual key for a Qt key, or 0 when it has none.
  static TKeyCode KeyCodeOf(int qtKey);
  static TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void scrollContentsBy(int dx, int dy) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Changed();
  void SyncScrollBars();
  void RestartCaretBlink();
  void StartTextDrag();

  TQtCanvas canvas_;
  TSynEdit editor_;
  QTimer caretTimer_;
  QTimer dragScrollTimer_;
  QPoint lastMouse_;
  QPoint pressedAt_;
  Qt::KeyboardModifiers lastModifiers_;
  bool caretShown_ = true;
  bool syncing_ = false;
};

}  // namespace tarnwick

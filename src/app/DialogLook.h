#pragma once

class QDialog;
class QLayout;
class QPushButton;
class QSize;
class QString;
class QWidget;

namespace tarnwick {

// The look every option and search window shares: the caption, the window font, and a fixed
// border at the design size (or at what the controls need, should this system's font be
// wider than the design's).
void SetDialogLook(QDialog& dialog, const QString& caption, const QSize& clientSize);
void CentreOnScreen(QWidget& window);
// The default button with the given caption and Cancel, which closes the window, at the right
// of a row.
QLayout* ButtonRow(QDialog& dialog, const char* defaultCaption, QPushButton*& defaultButton, QPushButton*& cancel);

}  // namespace tarnwick

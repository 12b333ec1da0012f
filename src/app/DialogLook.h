#pragma once

#include <utility>

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
// A new control with its name, by which the window's code and its tests know it.
template <class TControl, class... TArgs>
TControl* NamedControl(const char* name, TArgs&&... args) {
  auto* control = new TControl(std::forward<TArgs>(args)...);
  control->setObjectName(name);
  return control;
}
// The default button with the given caption and Cancel, which closes the window, at the right
// of a row.
QLayout* ButtonRow(QDialog& dialog, const char* defaultCaption, QPushButton*& defaultButton, QPushButton*& cancel);

}  // namespace tarnwick

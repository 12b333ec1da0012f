#pragma once

#include <QDialog>

#include "editor/SynEditSearch.h"

class QLabel;

namespace tarnwick {

// Asks before one replacement; placed by the caller next to the match.
class TfrmConfirmReplace : public QDialog {
 public:
  explicit TfrmConfirmReplace(QWidget* parent);

  QLabel* lblReplaceText;

  // Shows the window modally with its client area at topLeft; Cancel, Esc and the close box all answer raCancel.
  TSynReplaceAction Ask(const std::string& search, const QPoint& topLeft);
};

}  // namespace tarnwick

#pragma once

#include "app/SearchWindow.h"

namespace tarnwick {

// The Replace Text window: it closes when the replacing starts, which then asks before each
// match from the caret to the end of the text.
class TfrmReplace : public TSearchWindow {
 public:
  explicit TfrmReplace(TfrmMain& main);

  QLineEdit* edtReplaceText;

  void ReplaceClick();
};

}  // namespace tarnwick

#pragma once

#include "app/SearchWindow.h"

class QRadioButton;

namespace tarnwick {

// The Find Text window: Find Next searches on from the last match each time it is pressed.
class TfrmFind : public TSearchWindow {
 public:
  explicit TfrmFind(TfrmMain& main);

  QRadioButton* rbDirectionUp;
  QRadioButton* rbDirectionDown;

  void FindNextClick();
};

}  // namespace tarnwick

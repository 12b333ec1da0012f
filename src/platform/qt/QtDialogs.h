#pragma once

#include "platform/Dialogs.h"

namespace tarnwick {

class TQtDialogs : public TDialogs {
 public:
  TModalResult ShowMessageBox(const TMessageBox& box) override;
};

}  // namespace tarnwick

#pragma once

#include <deque>
#include <vector>

#include "platform/Dialogs.h"

namespace tarnwick {

// Answers boxes from a script and records every box shown. A box with no scripted answer is
// recorded as unanswered and gets Cancel (or OK when that is its only button), so a test
// fails on its check instead of hanging.
class TScriptedDialogs : public TDialogs {
 public:
  void Answer(TModalResult result) { answers_.push_back(result); }

  TModalResult ShowMessageBox(const TMessageBox& box) override;

  std::vector<TMessageBox> shown;
  int unanswered = 0;

 private:
  std::deque<TModalResult> answers_;
};

}  // namespace tarnwick

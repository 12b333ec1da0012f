#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/Dialogs.h"

namespace tarnwick {

// Answers boxes from a script and records every box shown. A box with no scripted answer is
// recorded as unanswered and gets Cancel (or OK when that is its only button), so a test
// fails on its check instead of hanging.
// File dialogs work the same way: each showing takes the next scripted choice (no files means
// Cancel) and records the dialog as it was shown.
class TScriptedDialogs : public TDialogs {
 public:
  void Answer(TModalResult result) { answers_.push_back(result); }
  void ChooseFiles(std::vector<std::string> files) { fileChoices_.push_back(std::move(files)); }
  void CancelFileDialog() { fileChoices_.emplace_back(); }

  TModalResult ShowMessageBox(const TMessageBox& box) override;
  bool ExecuteOpenDialog(TFileDialog& dialog, std::vector<std::string>& files) override;
  bool ExecuteSaveDialog(TFileDialog& dialog, std::string& file) override;

  std::vector<TMessageBox> shown;
  std::vector<TFileDialog> fileDialogsShown;
  int unanswered = 0;

 private:
  bool NextFileChoice(TFileDialog& dialog, std::vector<std::string>& files);

  std::deque<TModalResult> answers_;
  std::deque<std::vector<std::string>> fileChoices_;
};

}  // namespace tarnwick

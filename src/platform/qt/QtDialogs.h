#pragma once

#include "platform/Dialogs.h"

namespace tarnwick {

class TQtDialogs : public TDialogs {
 public:
  TModalResult ShowMessageBox(const TMessageBox& box) override;
  bool ExecuteOpenDialog(TFileDialog& dialog, std::vector<std::string>& files) override;
  bool ExecuteSaveDialog(TFileDialog& dialog, std::string& file) override;
};

}  // namespace tarnwick

#include "platform/test/ScriptedDialogs.h"

namespace tarnwick {

TModalResult TScriptedDialogs::ShowMessageBox(const TMessageBox& box) {
  shown.push_back(box);
  if (!answers_.empty()) {
    TModalResult result = answers_.front();
    answers_.pop_front();
    return result;
  }
  if (box.buttons == mbOK) return TModalResult::mrOk;
  ++unanswered;
  return TModalResult::mrCancel;
}

bool TScriptedDialogs::NextFileChoice(TFileDialog& dialog, std::vector<std::string>& files) {
  fileDialogsShown.push_back(dialog);
  if (fileChoices_.empty()) {
    ++unanswered;
    return false;
  }
  files = std::move(fileChoices_.front());
  fileChoices_.pop_front();
  if (files.empty()) return false;
  std::size_t slash = files.front().rfind('/');
  if (slash != std::string::npos) dialog.folder = files.front().substr(0, slash + 1);
  return true;
}

bool TScriptedDialogs::ExecuteOpenDialog(TFileDialog& dialog, std::vector<std::string>& files) {
  return NextFileChoice(dialog, files);
}

bool TScriptedDialogs::ExecuteSaveDialog(TFileDialog& dialog, std::string& file) {
  std::vector<std::string> files;
  if (!NextFileChoice(dialog, files)) return false;
  file = files.front();
  return true;
}

}  // namespace tarnwick

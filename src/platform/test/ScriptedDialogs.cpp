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

}  // namespace tarnwick

#include "platform/Dialogs.h"

namespace tarnwick {

namespace {

const char* CaptionOf(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning: return "Warning";
    case TMsgDlgType::mtError: return "Error";
    case TMsgDlgType::mtInformation: return "Information";
    case TMsgDlgType::mtConfirmation: return "Confirm";
  }
  return "";
}

}  // namespace

TModalResult TDialogs::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                                  const std::string& details) {
  return ShowMessageBox({CaptionOf(type), text, details, type, buttons});
}

void TDialogs::ShowException(const std::string& message, const std::string& details) {
  ShowMessageBox({"Tarnwick", message, details, TMsgDlgType::mtError, mbOK});
}

}  // namespace tarnwick

#pragma once

#include <string>
#include <vector>

namespace tarnwick {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

enum TMsgDlgBtn : unsigned {
  mbYes = 1u << 0,
  mbNo = 1u << 1,
  mbOK = 1u << 2,
  mbCancel = 1u << 3,
  mbAbort = 1u << 4,
  mbRetry = 1u << 5,
  mbIgnore = 1u << 6,
  mbAll = 1u << 7,
  mbNoToAll = 1u << 8,
  mbYesToAll = 1u << 9,
};
using TMsgDlgButtons = unsigned;

enum class TModalResult { mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo, mrAll, mrNoToAll, mrYesToAll };

struct TMessageBox {
  std::string caption;
  std::string text;
  std::string details;  // a second, smaller paragraph with the cause; often empty
  TMsgDlgType type = TMsgDlgType::mtInformation;
  TMsgDlgButtons buttons = mbOK;
};

struct TFileDialogFilter {
  std::string label;
  std::string patterns;  // separated by ";"
};

// An open or save dialog that lives for the whole run. The owner sets its title, file name and
// filter; the filter entry and the folder the user chose stay in it for the next showing.
struct TFileDialog {
  std::string title;
  std::string fileName;
  std::vector<TFileDialogFilter> filters;
  int filterIndex = 1;  // 1-based
  std::string folder;
  bool allowMultiSelect = false;  // for the open dialog
};

// Message boxes and the common dialogs, shown modally over the active window.
class TDialogs {
 public:
  virtual ~TDialogs() = default;

  virtual TModalResult ShowMessageBox(const TMessageBox& box) = 0;
  // The open dialog for one or more existing files: false when the user cancels; otherwise
  // the full paths in the order the dialog gives them.
  virtual bool ExecuteOpenDialog(TFileDialog& dialog, std::vector<std::string>& files) = 0;
  // The save dialog: the name is taken exactly as typed and no overwrite question is asked.
  virtual bool ExecuteSaveDialog(TFileDialog& dialog, std::string& file) = 0;

  // A standard box, captioned with the name of its type ("Warning", "Error", "Information",
  // "Confirm").
  TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                          const std::string& details = {});
  // The box for an error that no command caught: the program's title as caption, an error
  // icon and an OK button.
  void ShowException(const std::string& message, const std::string& details = {});
};

}  // namespace tarnwick

// The commands of the File menu that create, open and save documents, and the recent files
// behind the Reopen commands.

#include <QTabWidget>

#include <algorithm>
#include <filesystem>

#include "app/Action.h"
#include "app/Main.h"
#include "app/Misc.h"
#include "editor/qt/SynEditWidget.h"
#include "platform/FileErrors.h"

namespace tarnwick {

void TfrmMain::New() {
  PathList.push_back(kUntitledPath);
  TSynEdit& editor = AddDocumentPage({});
  if (FileExists(Settings.StartupTemplate)) {
    try {
      editor.Lines().LoadFile(Settings.StartupTemplate);
    } catch (const EFileError&) {
      // A template that cannot be read is no reason to refuse a new page.
    }
  }
  editor.Tag = 0;
  UpdateStatusBar(true, true);
}

bool TfrmMain::Open() {
  std::vector<std::string> paths;
  if (OpenPending) {
    paths.push_back(PendingPath);
    OpenPending = false;
  } else if (!services_.dialogs.ExecuteOpenDialog(opdMain, paths)) {
    return true;
  }
  bool allOpened = true;
  for (const std::string& given : paths) {
    std::string path = AbsolutePath(given);
    auto open = std::find(PathList.begin(), PathList.end(), path);
    if (open != PathList.end()) {
      SetActivePage(static_cast<int>(open - PathList.begin()));
      AddRecentFile(path);
      pcMainChange();
      continue;
    }
    PathList.push_back(path);
    TSynEdit& editor = AddDocumentPage(FileNameOfPath(path));
    try {
      editor.Lines().LoadFile(path);
    } catch (const EFileError& e) {
      // The page stays, empty and unsaved, so the user sees which file it was.
      services_.dialogs.ShowException(e.what());
      allOpened = false;
      break;
    }
    editor.Tag = 1;
    AddRecentFile(path);
  }
  UpdateStatusBar(true, true);
  return allOpened;
}

TSaveResult TfrmMain::WriteDocument(int index, const std::string& path) {
  try {
    EditorList[index]->Editor().Lines().SaveFile(path);
  } catch (const EFileError& e) {
    services_.dialogs.ShowException(e.what());
    return TSaveResult::srFailed;
  }
  EditorList[index]->Editor().Tag = 1;
  return TSaveResult::srSaved;
}

TSaveResult TfrmMain::Save() {
  if (!SavingAll) SaveTarget = ActiveIndex();
  if (EditorList[SaveTarget]->Editor().Tag == 0) return SaveAs();
  return WriteDocument(SaveTarget, PathList[SaveTarget]);
}

TSaveResult TfrmMain::SaveAs() {
  if (!SavingAll) SaveTarget = ActiveIndex();
  std::string caption = PageCaption(SaveTarget).toStdString();
  svdMain.title = "Save \"" + caption + "\" As";
  svdMain.fileName = caption;
  std::string path;
  if (!services_.dialogs.ExecuteSaveDialog(svdMain, path)) return TSaveResult::srCancelled;
  path = AbsolutePath(path);
  TSaveResult result = TSaveResult::srCancelled;
  bool write = true;
  std::error_code ignored;
  if (std::filesystem::exists(path, ignored)) {
    std::string question = "File " + path + " already exists. Overwrite?";
    write = services_.dialogs.MessageDlg(question, TMsgDlgType::mtConfirmation, mbYes | mbNo) == TModalResult::mrYes;
  }
  if (write) {
    result = WriteDocument(SaveTarget, path);
    if (result == TSaveResult::srSaved) {
      PathList[SaveTarget] = path;
      SetPageCaption(SaveTarget, QString::fromStdString(FileNameOfPath(path)));
    }
  }
  UpdateStatusBar(true, true);
  return result;
}

void TfrmMain::SaveAll() {
  SavingAll = true;
  for (int index = 0; index < DocumentCount(); ++index) {
    SaveTarget = index;
    if (Save() == TSaveResult::srFailed) break;
  }
  SavingAll = false;
}

void TfrmMain::AddRecentFile(const std::string& path) { AddToRecentFiles(Settings.File, path); }

void TfrmMain::RefreshReopenItems() {
  for (TAction* action : actReopen) action->setVisible(false);
  for (int n = 0; n < kRecentFileCount; ++n) {
    if (Settings.File[n].empty()) continue;
    // "&" marks the access key in a caption, so one in the path is shown doubled.
    std::string path = Settings.File[n];
    QString shown = QString::fromStdString(path).replace('&', QStringLiteral("&&"));
    actReopen[n]->setText(QStringLiteral("&%1  ").arg(n + 1) + shown);
    actReopen[n]->setVisible(true);
    actReopen[n]->setEnabled(true);
    actReopen[n]->OnExecute = [this, path] { ReopenItemExecute(path); };
  }
}

void TfrmMain::ReopenItemExecute(const std::string& path) {
  OpenPending = true;
  PendingPath = path;
  Open();
}

}  // namespace tarnwick

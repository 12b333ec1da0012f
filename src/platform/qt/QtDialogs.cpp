#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace tarnwick {

namespace {

QMessageBox::Icon IconOf(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning: return QMessageBox::Warning;
    case TMsgDlgType::mtError: return QMessageBox::Critical;
    case TMsgDlgType::mtInformation: return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

struct TButtonKind {
  TMsgDlgBtn bit;
  QMessageBox::StandardButton standard;  // NoButton: a button with its own caption
  const char* caption;
  TModalResult result;
};

// In the order the buttons stand in a box.
const TButtonKind kButtons[] = {
    {mbYes, QMessageBox::Yes, nullptr, TModalResult::mrYes},
    {mbNo, QMessageBox::No, nullptr, TModalResult::mrNo},
    {mbOK, QMessageBox::Ok, nullptr, TModalResult::mrOk},
    {mbCancel, QMessageBox::Cancel, nullptr, TModalResult::mrCancel},
    {mbAbort, QMessageBox::Abort, nullptr, TModalResult::mrAbort},
    {mbRetry, QMessageBox::Retry, nullptr, TModalResult::mrRetry},
    {mbIgnore, QMessageBox::Ignore, nullptr, TModalResult::mrIgnore},
    {mbAll, QMessageBox::NoButton, "&All", TModalResult::mrAll},
    {mbNoToAll, QMessageBox::NoToAll, nullptr, TModalResult::mrNoToAll},
    {mbYesToAll, QMessageBox::YesToAll, nullptr, TModalResult::mrYesToAll},
};

// Qt reads a filter's patterns from between its parentheses, separated by blanks.
QString QtNameFilter(const TFileDialogFilter& filter) {
  std::string label = filter.label;
  std::size_t open = label.rfind('(');
  if (open != std::string::npos)
    for (std::size_t i = open; i < label.size(); ++i)
      if (label[i] == ';') label[i] = ' ';
  return QString::fromStdString(label);
}

std::vector<std::string> RunFileDialog(TFileDialog& state, QFileDialog::AcceptMode mode, QFileDialog::FileMode fileMode) {
  QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(state.title),
                     QFile::decodeName(state.folder.c_str()));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(fileMode);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setSizeGripEnabled(true);
  QStringList filters;
  for (const TFileDialogFilter& filter : state.filters) filters << QtNameFilter(filter);
  dialog.setNameFilters(filters);
  if (state.filterIndex >= 1 && state.filterIndex <= filters.size()) dialog.selectNameFilter(filters[state.filterIndex - 1]);
  if (!state.fileName.empty()) dialog.selectFile(QFile::decodeName(state.fileName.c_str()));
  std::vector<std::string> files;
  if (dialog.exec() != QDialog::Accepted) return files;
  state.folder = QFile::encodeName(dialog.directory().absolutePath()).toStdString() + "/";
  state.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  for (const QString& file : dialog.selectedFiles()) files.push_back(QFile::encodeName(file).toStdString());
  return files;
}

}  // namespace

bool TQtDialogs::ExecuteOpenDialog(TFileDialog& dialog, std::vector<std::string>& files) {
  files = RunFileDialog(dialog, QFileDialog::AcceptOpen,
                        dialog.allowMultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  return !files.empty();
}

bool TQtDialogs::ExecuteSaveDialog(TFileDialog& dialog, std::string& file) {
  std::vector<std::string> files = RunFileDialog(dialog, QFileDialog::AcceptSave, QFileDialog::AnyFile);
  if (files.empty()) return false;
  file = files.front();
  return true;
}

TModalResult TQtDialogs::ShowMessageBox(const TMessageBox& box) {
  QMessageBox dialog(IconOf(box.type), QString::fromStdString(box.caption), QString::fromStdString(box.text),
                     QMessageBox::NoButton, QApplication::activeWindow());
  if (!box.details.empty()) dialog.setInformativeText(QString::fromStdString(box.details));
  std::vector<std::pair<QAbstractButton*, TModalResult>> answers;
  for (const TButtonKind& kind : kButtons) {
    if (!(box.buttons & kind.bit)) continue;
    QAbstractButton* button = kind.standard != QMessageBox::NoButton
                                  ? static_cast<QAbstractButton*>(dialog.addButton(kind.standard))
                                  : dialog.addButton(QString::fromUtf8(kind.caption), QMessageBox::AcceptRole);
    answers.emplace_back(button, kind.result);
  }
  dialog.exec();
  for (const auto& [button, result] : answers)
    if (dialog.clickedButton() == button) return result;
  // Closed with Esc or the close box: the answer that stops what was asked.
  if (box.buttons & mbCancel) return TModalResult::mrCancel;
  if (box.buttons & mbNo) return TModalResult::mrNo;
  return TModalResult::mrOk;
}

}  // namespace tarnwick

#include "platform/qt/QtDialogs.h"

#include <QApplication>
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

}  // namespace

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

#include "app/ConfirmReplace.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "app/DialogLook.h"

namespace tarnwick {

TfrmConfirmReplace::TfrmConfirmReplace(QWidget* parent) : QDialog(parent) {
  setObjectName("frmConfirmReplace");
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
  icon->setFixedSize(32, 32);
  lblReplaceText = NamedControl<QLabel>("lblReplaceText", this);
  lblReplaceText->setWordWrap(true);
  lblReplaceText->setMinimumSize(261, 33);
  lblReplaceText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(4);
  buttons->addStretch();
  const std::pair<const char*, TSynReplaceAction> answers[] = {
      {"Yes", TSynReplaceAction::raReplace},
      {"Yes to All", TSynReplaceAction::raReplaceAll},
      {"No", TSynReplaceAction::raSkip},
      {"Cancel", TSynReplaceAction::raCancel},
  };
  for (const auto& [caption, action] : answers) {
    auto* button = NamedControl<QPushButton>(caption, caption, this);
    button->setFixedWidth(74);
    if (action == TSynReplaceAction::raReplace) button->setDefault(true);
    connect(button, &QPushButton::clicked, this, [this, answer = action] { done(static_cast<int>(answer)); });
    buttons->addWidget(button);
  }
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 8, 8, 6);
  grid->addWidget(icon, 0, 0, Qt::AlignTop);
  grid->addWidget(lblReplaceText, 0, 1);
  grid->addLayout(buttons, 1, 0, 1, 2);
  SetDialogLook(*this, "Confirm Replace", QSize(329, 85));
}

TSynReplaceAction TfrmConfirmReplace::Ask(const std::string& search, const QPoint& topLeft) {
  lblReplaceText->setText(QString::fromStdString("Replace this occurence of \"" + search + "\"?"));
  // The corner of its client area: the same place whatever frame the desktop draws around it.
  setGeometry(QRect(topLeft, size()));
  // reject() ends with 0, which is raCancel.
  return static_cast<TSynReplaceAction>(exec());
}

}  // namespace tarnwick

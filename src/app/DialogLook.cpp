#include "app/DialogLook.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>

namespace tarnwick {

void SetDialogLook(QDialog& dialog, const QString& caption, const QSize& clientSize) {
  dialog.setWindowTitle(caption);
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(11);
  dialog.setFont(font);
  dialog.setFixedSize(clientSize.expandedTo(dialog.sizeHint()));
}

void CentreOnScreen(QWidget& window) {
  QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect area = screen->geometry();
  window.move(area.left() + (area.width() - window.width()) / 2, area.top() + (area.height() - window.height()) / 2);
}

QLayout* ButtonRow(QDialog& dialog, const char* defaultCaption, QPushButton*& defaultButton, QPushButton*& cancel) {
  defaultButton = new QPushButton(defaultCaption, &dialog);
  defaultButton->setDefault(true);
  cancel = new QPushButton("Cancel", &dialog);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(defaultButton);
  row->addWidget(cancel);
  return row;
}

}  // namespace tarnwick

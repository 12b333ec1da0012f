#include "app/UpDown.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/Misc.h"

namespace tarnwick {

TUpDown::TUpDown(QLineEdit& associate, QWidget* parent) : QWidget(parent), associate_(associate) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFixedSize(15, associate.sizeHint().height() / 2);
    button->setFocusPolicy(Qt::NoFocus);
    column->addWidget(button);
  }
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::Step(int delta) {
  int value = kMin;
  TryStrToInt(associate_.text().toStdString(), value);
  value = std::clamp(value + delta, kMin, kMax);
  associate_.setText(QString::number(value));
}

}  // namespace tarnwick

#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tarnwick {

// Up-down arrows joined to a text box: a click takes the box's number, steps it by one within
// 0 to 100 and writes it back. What is typed into the box is not held to that range.
class TUpDown : public QWidget {
 public:
  TUpDown(QLineEdit& associate, QWidget* parent);

  static constexpr int kMin = 0;
  static constexpr int kMax = 100;

  void Step(int delta);
  QToolButton* Up() const { return up_; }
  QToolButton* Down() const { return down_; }

 private:
  QLineEdit& associate_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace tarnwick

#pragma once

#include <QAction>

#include <functional>

namespace tarnwick {

// One command of the main window: what menus, buttons and shortcut keys point at. Its enable
// rule is asked whenever the application becomes idle and again just before the command runs,
// so a command that has just become impossible never runs.
class TAction : public QAction {
  Q_OBJECT

 public:
  TAction(const QString& name, const QString& category, QObject* owner);

  QString Category() const { return category_; }
  // Empty: always enabled.
  std::function<bool()> EnabledWhen;
  std::function<void()> OnExecute;

  void Update();

 private:
  void Triggered();

  QString category_;
};

}  // namespace tarnwick

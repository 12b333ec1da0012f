#include "app/Action.h"

namespace tarnwick {

TAction::TAction(const QString& name, const QString& category, QObject* owner) : QAction(owner), category_(category) {
  setObjectName(name);
  connect(this, &QAction::triggered, this, &TAction::Triggered);
}

void TAction::Update() {
  if (EnabledWhen) setEnabled(EnabledWhen());
}

void TAction::Triggered() {
  Update();
  if (isEnabled() && OnExecute) OnExecute();
}

}  // namespace tarnwick

#pragma once

#include <QApplication>

namespace tarnwick {

class TDialogs;

// The application object: an error that no command caught ends that command only; its
// message is shown and the program goes on.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);

  void SetDialogs(TDialogs* dialogs) { dialogs_ = dialogs; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  TDialogs* dialogs_ = nullptr;
};

}  // namespace tarnwick

#include "app/Application.h"

#include <cstdio>
#include <exception>

#include "platform/Dialogs.h"
#include "platform/RegistryStore.h"

namespace tarnwick {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) { setApplicationName("Tarnwick"); }

bool TApplication::notify(QObject* receiver, QEvent* event) {
  std::string message, details;
  try {
    return QApplication::notify(receiver, event);
  } catch (const ERegistryException& e) {
    message = e.what();
    details = e.Reason();
  } catch (const std::exception& e) {
    message = e.what();
  }
  if (dialogs_ != nullptr)
    dialogs_->ShowException(message, details);
  else
    std::fprintf(stderr, "Tarnwick: %s\n", message.c_str());
  return false;
}

}  // namespace tarnwick

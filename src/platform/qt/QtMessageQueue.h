#pragma once

#include <map>
#include <memory>

#include "platform/PollMessageQueue.h"

class QSocketNotifier;
class QTimer;

namespace tarnwick {

// The message queue inside Qt's event loop: everything the poll queue watches is mirrored in
// one epoll set, and Qt wakes us when that set is ready. A wait runs the Qt loop, so the
// window repaints and its buttons work while a synchronous FTP call is waiting.
class TQtMessageQueue : public TPollMessageQueue {
 public:
  TQtMessageQueue();
  ~TQtMessageQueue() override;

  void WaitMessages(int timeoutMs) override;

 private:
  void InterestsChanged() override;

  int epoll_ = -1;
  std::map<int, unsigned> mirrored_;  // descriptor -> epoll events registered for it
  std::unique_ptr<QSocketNotifier> notifier_;
  std::unique_ptr<QTimer> waitTimer_;
};

}  // namespace tarnwick

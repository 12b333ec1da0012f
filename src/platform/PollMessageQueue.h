#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include <poll.h>

#include "platform/MessageQueue.h"

namespace tarnwick {

// The message queue over poll(), for tests and tools: posted messages wait in a list, socket
// readiness is turned into socket events when the queue is pumped or waited on.
class TPollMessageQueue : public TMessageQueue {
 public:
  TPollMessageQueue();
  ~TPollMessageQueue() override;

  void Post(TMessageTarget* target, unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;
  void Forget(TMessageTarget* target) override;
  void SelectSocket(int fd, TMessageTarget* target, unsigned message, unsigned events) override;
  void WantWrite(int fd) override;
  void SetTimer(TMessageTarget* target, unsigned id, unsigned intervalMs) override;
  void KillTimer(TMessageTarget* target, unsigned id) override;
  void PumpMessages() override;
  void WaitMessages(int timeoutMs) override;

 protected:
  // The descriptors and readiness the next poll asks for: the wake-up and the timer descriptor
  // first, then the sockets.
  std::vector<pollfd> Interests() const;
  // How many messages were delivered so far.
  std::uint64_t DispatchedCount() const { return dispatched_; }
  // Called when what Interests() returns may have changed, so a host event loop can follow.
  virtual void InterestsChanged() {}

 private:
  struct TMessage {
    TMessageTarget* target;
    unsigned message;
    std::intptr_t wParam, lParam;
  };
  struct TWatch {
    TMessageTarget* target;
    unsigned message;
    unsigned events;
    bool listening;      // readiness means a connection waits
    bool connecting;     // a connect result is still to come
    bool wantWrite;      // report the next chance to send
    bool readPending;    // a read event waits in the queue
    bool acceptPending;
    bool closed;         // the close event was sent
  };

  struct TTimer {
    TMessageTarget* target;
    unsigned id;
    unsigned interval;
    std::uint64_t due;  // milliseconds on the steady clock
  };

  // Polls the sockets for up to timeoutMs and queues the events they are ready for.
  void Poll(int timeoutMs);
  // Queues the messages of the timers that are due and arms the timer descriptor for the next.
  void RunTimers();
  void Dispatch(std::size_t count);

  std::mutex mutex_;  // guards messages_: other threads post
  std::deque<TMessage> messages_;
  std::map<int, TWatch> watches_;
  int wakeup_ = -1;  // an eventfd that a post from another thread makes readable
  std::vector<TTimer> timers_;
  int timerFd_ = -1;  // a timerfd that becomes readable when the earliest timer is due
  std::uint64_t dispatched_ = 0;
};

}  // namespace tarnwick

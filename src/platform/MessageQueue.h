#pragma once

#include <cstdint>

namespace tarnwick {

// Socket event bits, as the socket's messages carry them.
enum : unsigned { FD_READ = 1, FD_WRITE = 2, FD_OOB = 4, FD_ACCEPT = 8, FD_CONNECT = 16, FD_CLOSE = 32 };

// The event and its error code packed into a socket message's second parameter.
constexpr std::intptr_t SocketEventParam(unsigned event, int error) {
  return static_cast<std::intptr_t>(event | (static_cast<unsigned>(error) << 16));
}
constexpr unsigned SocketEventOf(std::intptr_t param) { return static_cast<unsigned>(param) & 0xFFFF; }
constexpr int SocketErrorOf(std::intptr_t param) { return static_cast<int>((static_cast<unsigned>(param) >> 16) & 0xFFFF); }

// The message a timer delivers, with the timer's id as wParam.
constexpr unsigned WM_TIMER = 0x0113;

class TMessageTarget {
 public:
  virtual ~TMessageTarget() = default;
  virtual void HandleMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) = 0;
};

// The user-interface thread's queue: messages posted to targets (from any thread), and the
// readiness of sockets delivered as socket-event messages (wParam the descriptor, lParam the
// event and error): connect once a connection is made or refused, read while data waits,
// write when sending can resume after it had to wait, accept for a waiting connection, and
// close exactly once, after the data before it was read.
class TMessageQueue {
 public:
  virtual ~TMessageQueue() = default;

  // Safe from any thread.
  virtual void Post(TMessageTarget* target, unsigned message, std::intptr_t wParam, std::intptr_t lParam) = 0;
  // Drops the messages waiting for target and stops its sockets' events (before it is freed).
  virtual void Forget(TMessageTarget* target) = 0;
  // Reports the events of the bits in events for fd to target as message; 0 stops.
  virtual void SelectSocket(int fd, TMessageTarget* target, unsigned message, unsigned events) = 0;
  // A send on fd would have blocked: one write event follows when it can take data again.
  virtual void WantWrite(int fd) = 0;
  // Delivers WM_TIMER with id to target every intervalMs until killed; setting an id again
  // restarts it. Expiries that pass while the owner is busy come as one message.
  virtual void SetTimer(TMessageTarget* target, unsigned id, unsigned intervalMs) = 0;
  virtual void KillTimer(TMessageTarget* target, unsigned id) = 0;
  // Dispatches everything waiting now, without waiting.
  virtual void PumpMessages() = 0;
  // Sleeps until something can be dispatched or timeoutMs passed, then dispatches it.
  virtual void WaitMessages(int timeoutMs) = 0;
};

}  // namespace tarnwick

#include "platform/PollMessageQueue.h"

#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include "platform/SocketErrors.h"

namespace tarnwick {

namespace {

std::uint64_t NowMs() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace

TPollMessageQueue::TPollMessageQueue()
    : wakeup_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), timerFd_(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {}

TPollMessageQueue::~TPollMessageQueue() {
  if (wakeup_ >= 0) ::close(wakeup_);
  if (timerFd_ >= 0) ::close(timerFd_);
}

void TPollMessageQueue::SetTimer(TMessageTarget* target, unsigned id, unsigned intervalMs) {
  KillTimer(target, id);
  timers_.push_back({target, id, std::max(intervalMs, 1u), NowMs() + std::max(intervalMs, 1u)});
  RunTimers();
}

void TPollMessageQueue::KillTimer(TMessageTarget* target, unsigned id) {
  std::erase_if(timers_, [&](const TTimer& t) { return t.target == target && t.id == id; });
}

void TPollMessageQueue::RunTimers() {
  std::uint64_t now = NowMs();
  std::uint64_t next = 0;
  for (TTimer& timer : timers_) {
    if (timer.due <= now) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({timer.target, WM_TIMER, static_cast<std::intptr_t>(timer.id), 0});
      }
      timer.due = now + timer.interval;
    }
    if (next == 0 || timer.due < next) next = timer.due;
  }
  itimerspec arm{};  // all zero disarms
  if (next != 0) {
    std::uint64_t wait = next - now;
    arm.it_value.tv_sec = static_cast<time_t>(wait / 1000);
    arm.it_value.tv_nsec = static_cast<long>(wait % 1000 * 1000000);
  }
  ::timerfd_settime(timerFd_, 0, &arm, nullptr);
}

void TPollMessageQueue::Post(TMessageTarget* target, unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({target, message, wParam, lParam});
  }
  std::uint64_t one = 1;
  [[maybe_unused]] ssize_t written = ::write(wakeup_, &one, sizeof one);
}

void TPollMessageQueue::Forget(TMessageTarget* target) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(messages_, [target](const TMessage& m) { return m.target == target; });
  }
  std::erase_if(watches_, [target](const auto& watch) { return watch.second.target == target; });
  std::erase_if(timers_, [target](const TTimer& t) { return t.target == target; });
  InterestsChanged();
}

void TPollMessageQueue::SelectSocket(int fd, TMessageTarget* target, unsigned message, unsigned events) {
  if (events == 0) {
    watches_.erase(fd);
    return InterestsChanged();
  }
  int listening = 0;
  socklen_t size = sizeof listening;
  ::getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size);
  watches_[fd] = {target, message, events, listening != 0, (events & FD_CONNECT) != 0 && listening == 0,
                  false, false, false, false};
  InterestsChanged();
}

void TPollMessageQueue::WantWrite(int fd) {
  auto it = watches_.find(fd);
  if (it == watches_.end()) return;
  it->second.wantWrite = true;
  InterestsChanged();
}

std::vector<pollfd> TPollMessageQueue::Interests() const {
  std::vector<pollfd> fds;
  fds.push_back({wakeup_, POLLIN, 0});
  fds.push_back({timerFd_, POLLIN, 0});
  for (const auto& [fd, watch] : watches_) {
    short interest = 0;
    if (!watch.closed && !watch.readPending && !watch.acceptPending) interest |= POLLIN;
    if (watch.connecting || watch.wantWrite) interest |= POLLOUT;
    if (interest != 0) fds.push_back({fd, interest, 0});
  }
  return fds;
}

void TPollMessageQueue::Poll(int timeoutMs) {
  std::vector<pollfd> fds = Interests();
  int ready = ::poll(fds.data(), fds.size(), timeoutMs);
  if (ready <= 0) return;
  if (fds[0].revents & POLLIN) {
    std::uint64_t count;
    [[maybe_unused]] ssize_t read = ::read(wakeup_, &count, sizeof count);
  }
  if (fds[1].revents & POLLIN) {
    std::uint64_t expiries;
    [[maybe_unused]] ssize_t read = ::read(timerFd_, &expiries, sizeof expiries);
    RunTimers();
  }
  std::vector<TMessage> events;
  for (std::size_t i = 2; i < fds.size(); ++i) {
    short got = fds[i].revents;
    if (got == 0) continue;
    int fd = fds[i].fd;
    TWatch& watch = watches_.at(fd);
    auto post = [&](unsigned event, int error) {
      events.push_back({watch.target, watch.message, fd, SocketEventParam(event, WinsockCodeOf(error))});
    };
    if (watch.connecting && (got & (POLLOUT | POLLERR | POLLHUP))) {
      int error = 0;
      socklen_t size = sizeof error;
      ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
      watch.connecting = false;
      post(FD_CONNECT, error);
      if (error != 0) {
        watch.closed = true;
        continue;
      }
      watch.wantWrite = true;  // a new connection can take data: the first write event
      continue;
    }
    if (watch.wantWrite && (got & POLLOUT)) {
      watch.wantWrite = false;
      post(FD_WRITE, 0);
    }
    if (!(got & (POLLIN | POLLHUP | POLLERR)) || watch.closed) continue;
    if (watch.listening) {
      if (!(watch.events & FD_ACCEPT)) continue;
      watch.acceptPending = true;
      post(FD_ACCEPT, 0);
      continue;
    }
    int pending = 0;
    if (::ioctl(fd, FIONREAD, &pending) == 0 && pending > 0) {
      watch.readPending = true;
      post(FD_READ, 0);
    } else {
      // Readable with nothing to read: the peer closed (or the connection failed).
      int error = 0;
      socklen_t size = sizeof error;
      ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
      watch.closed = true;
      post(FD_CLOSE, error);
    }
  }
  std::lock_guard<std::mutex> lock(mutex_);
  for (const TMessage& m : events) messages_.push_back(m);
}

void TPollMessageQueue::Dispatch(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    TMessage message;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (messages_.empty()) break;
      message = messages_.front();
      messages_.pop_front();
    }
    // A socket event read from the queue lets the socket report the next one.
    auto watch = watches_.find(static_cast<int>(message.wParam));
    if (watch != watches_.end() && watch->second.target == message.target && watch->second.message == message.message) {
      if (SocketEventOf(message.lParam) & FD_READ) watch->second.readPending = false;
      if (SocketEventOf(message.lParam) & FD_ACCEPT) watch->second.acceptPending = false;
    }
    ++dispatched_;
    message.target->HandleMessage(message.message, message.wParam, message.lParam);
  }
  InterestsChanged();
}

void TPollMessageQueue::PumpMessages() {
  Poll(0);
  std::size_t count;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    count = messages_.size();
  }
  Dispatch(count);
}

void TPollMessageQueue::WaitMessages(int timeoutMs) {
  bool waiting;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting = !messages_.empty();
  }
  Poll(waiting ? 0 : std::max(timeoutMs, 0));
  std::size_t count;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    count = messages_.size();
  }
  Dispatch(count);
}

}  // namespace tarnwick

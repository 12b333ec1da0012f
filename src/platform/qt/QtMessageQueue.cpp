#include "platform/qt/QtMessageQueue.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

namespace tarnwick {

TQtMessageQueue::TQtMessageQueue() : epoll_(::epoll_create1(EPOLL_CLOEXEC)) {
  notifier_ = std::make_unique<QSocketNotifier>(epoll_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { PumpMessages(); });
  waitTimer_ = std::make_unique<QTimer>();
  waitTimer_->setSingleShot(true);
  InterestsChanged();
}

TQtMessageQueue::~TQtMessageQueue() {
  notifier_.reset();
  if (epoll_ >= 0) ::close(epoll_);
}

void TQtMessageQueue::InterestsChanged() {
  if (epoll_ < 0) return;
  std::map<int, unsigned> wanted;
  for (const pollfd& p : Interests())
    wanted[p.fd] = ((p.events & POLLIN) ? EPOLLIN : 0u) | ((p.events & POLLOUT) ? EPOLLOUT : 0u);
  for (auto it = mirrored_.begin(); it != mirrored_.end();) {
    if (wanted.count(it->first) != 0) {
      ++it;
      continue;
    }
    ::epoll_ctl(epoll_, EPOLL_CTL_DEL, it->first, nullptr);  // fails harmlessly once closed
    it = mirrored_.erase(it);
  }
  for (const auto& [fd, events] : wanted) {
    auto known = mirrored_.find(fd);
    if (known != mirrored_.end() && known->second == events) continue;
    epoll_event event{};
    event.events = events;
    event.data.fd = fd;
    // A descriptor closed and reopened under the same number is new to epoll: add it again.
    if (known == mirrored_.end() || ::epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &event) != 0)
      ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
    mirrored_[fd] = events;
  }
}

void TQtMessageQueue::WaitMessages(int timeoutMs) {
  // What is already waiting is delivered without sleeping, but the window's own events run
  // either way: a busy transfer must not freeze it.
  std::uint64_t before = DispatchedCount();
  PumpMessages();
  if (DispatchedCount() != before) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return;
  }
  waitTimer_->start(std::max(timeoutMs, 0));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  waitTimer_->stop();
}

}  // namespace tarnwick

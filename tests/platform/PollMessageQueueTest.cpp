#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/PollMessageQueue.h"
#include "platform/SocketErrors.h"
#include "support/Loopback.h"

namespace tarnwick {
namespace {

constexpr unsigned kSocketMessage = 1025;

struct TRecorder : TMessageTarget {
  std::vector<std::pair<unsigned, int>> events;  // event, error
  std::vector<unsigned> posted;
  int readOnEvent = -1;  // a descriptor to drain on each read event
  void HandleMessage(unsigned message, std::intptr_t, std::intptr_t lParam) override {
    if (message != kSocketMessage) {
      posted.push_back(message);
      return;
    }
    events.emplace_back(SocketEventOf(lParam), SocketErrorOf(lParam));
    if (SocketEventOf(lParam) == FD_READ && readOnEvent >= 0) {
      char buffer[64];
      [[maybe_unused]] ssize_t n = ::recv(readOnEvent, buffer, sizeof buffer, 0);
    }
  }
};

int ListenOnLoopback(int& port) { return test::ListenOnLoopback(port, 4); }

int ConnectNonBlocking(int port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  return fd;
}

void WaitFor(TPollMessageQueue& queue, const std::function<bool()>& done) {
  for (int i = 0; i < 200 && !done(); ++i) queue.WaitMessages(10);
}

TEST(PollMessageQueue, ReportsConnectWriteReadAndOneCloseInOrder) {
  TPollMessageQueue queue;
  int port;
  int listener = ListenOnLoopback(port);
  int client = ConnectNonBlocking(port);
  TRecorder recorder;
  recorder.readOnEvent = client;
  queue.SelectSocket(client, &recorder, kSocketMessage, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE);
  int server = ::accept(listener, nullptr, nullptr);
  WaitFor(queue, [&] { return recorder.events.size() >= 2; });
  ASSERT_GE(recorder.events.size(), 2u);
  EXPECT_EQ(recorder.events[0], (std::pair<unsigned, int>{FD_CONNECT, 0}));
  EXPECT_EQ(recorder.events[1], (std::pair<unsigned, int>{FD_WRITE, 0})) << "a new connection can take data";

  recorder.events.clear();
  ASSERT_EQ(::send(server, "hello", 5, 0), 5);
  ::close(server);
  WaitFor(queue, [&] { return !recorder.events.empty() && recorder.events.back().first == FD_CLOSE; });
  for (int i = 0; i < 5; ++i) queue.WaitMessages(5);
  ASSERT_EQ(recorder.events.size(), 2u);
  EXPECT_EQ(recorder.events[0].first, FD_READ) << "the data comes before the close";
  EXPECT_EQ(recorder.events[1].first, FD_CLOSE);
  ::close(client);
  ::close(listener);
}

TEST(PollMessageQueue, ARefusedConnectionIsAConnectEventWithItsCode) {
  TPollMessageQueue queue;
  int port;
  int listener = ListenOnLoopback(port);
  ::close(listener);  // nobody listens there now
  int client = ConnectNonBlocking(port);
  TRecorder recorder;
  queue.SelectSocket(client, &recorder, kSocketMessage, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE);
  WaitFor(queue, [&] { return !recorder.events.empty(); });
  ASSERT_EQ(recorder.events.size(), 1u);
  EXPECT_EQ(recorder.events[0], (std::pair<unsigned, int>{FD_CONNECT, WSAECONNREFUSED}));
  EXPECT_EQ(WinsockErrorDesc(WSAECONNREFUSED), "Connection refused");
  ::close(client);
}

TEST(PollMessageQueue, AWaitingConnectionIsAnAcceptEvent) {
  TPollMessageQueue queue;
  int port;
  int listener = ListenOnLoopback(port);
  TRecorder recorder;
  queue.SelectSocket(listener, &recorder, kSocketMessage, FD_ACCEPT | FD_CLOSE);
  int client = ConnectNonBlocking(port);
  WaitFor(queue, [&] { return !recorder.events.empty(); });
  ASSERT_FALSE(recorder.events.empty());
  EXPECT_EQ(recorder.events[0].first, FD_ACCEPT);
  ::close(client);
  ::close(listener);
}

TEST(PollMessageQueue, PostsFromAnotherThreadWakeTheWaitWhichNeverSpins) {
  TPollMessageQueue queue;
  TRecorder recorder;
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    queue.Post(&recorder, 7, 0, 0);
  });
  auto start = std::chrono::steady_clock::now();
  WaitFor(queue, [&] { return !recorder.posted.empty(); });
  poster.join();
  EXPECT_EQ(recorder.posted, std::vector<unsigned>{7});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));

  rusage before{}, after{};
  ::getrusage(RUSAGE_SELF, &before);
  auto waitStart = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - waitStart < std::chrono::milliseconds(300)) queue.WaitMessages(100);
  ::getrusage(RUSAGE_SELF, &after);
  auto cpu = [](const rusage& u) { return u.ru_utime.tv_sec * 1000000L + u.ru_utime.tv_usec + u.ru_stime.tv_sec * 1000000L + u.ru_stime.tv_usec; };
  EXPECT_LT(cpu(after) - cpu(before), 75000) << "a quarter of the wait at most";

  queue.Post(&recorder, 8, 0, 0);
  queue.Forget(&recorder);
  queue.PumpMessages();
  EXPECT_EQ(recorder.posted, std::vector<unsigned>{7}) << "forgotten messages are not delivered";
}

TEST(PollMessageQueue, TimersTickWhileWaitingStopWhenKilledAndWhenTheirTargetIsForgotten) {
  TPollMessageQueue queue;
  TRecorder recorder, other;
  queue.SetTimer(&recorder, 1, 20);
  queue.SetTimer(&other, 1, 20);
  auto waitFor = [&](int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) queue.WaitMessages(10);
  };
  waitFor(210);
  EXPECT_GE(recorder.posted.size(), 3u);  // loose: a loaded machine delays ticks, and late ones merge
  EXPECT_LE(recorder.posted.size(), 11u);
  EXPECT_EQ(recorder.posted.front(), WM_TIMER);

  queue.KillTimer(&recorder, 1);
  queue.Forget(&other);
  std::size_t ticks = recorder.posted.size(), otherTicks = other.posted.size();
  waitFor(60);
  EXPECT_EQ(recorder.posted.size(), ticks);
  EXPECT_EQ(other.posted.size(), otherTicks);
}

}  // namespace
}  // namespace tarnwick

#include <QCoreApplication>
#include <QTimer>

#include <fstream>

#include "ftp/FtpTestSupport.h"
#include "platform/qt/QtMessageQueue.h"

namespace tarnwick {
namespace {

using namespace test;
using FtpQtQueueTest = FtpClientFixtureOn<TQtMessageQueue>;

struct TCounter : TMessageTarget {
  int messages = 0;
  void HandleMessage(unsigned, std::intptr_t, std::intptr_t) override {
    ++messages;
    QCoreApplication::exit(0);
  }
};

TEST_F(FtpQtQueueTest, AStoreOnARealServerRunsInsideTheQtLoopAndTheWindowStaysLive) {
  TRealFtpServer server;
  ASSERT_GT(server.Port(), 0) << "pyftpdlib did not start";
  Aim(server.Port());
  ASSERT_TRUE(client.OpenSession()) << client.ErrorMessage();
  TTempDir local;
  std::string bytes(3u << 20, 'x');
  std::ofstream(local.Path() + "/big.html", std::ios::binary) << bytes;
  client.LocalFileName = local.Path() + "/big.html";
  client.HostFileName = "big.html";

  // A timer stands for the window: it must keep firing while the client waits.
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(1);
  int blocks = 0;
  client.OnProgress = [&](TCustomFtpCli&, std::int64_t, bool&) { ++blocks; };
  ASSERT_TRUE(client.StoreFile()) << client.ErrorMessage();
  timer.stop();
  std::ifstream stored(server.Root() + "/big.html", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(stored), {}), bytes);
  EXPECT_GT(ticks, 0) << "the Qt loop ran during the transfer";
  EXPECT_EQ(blocks, static_cast<int>(bytes.size() / 1460) + 2);
  EXPECT_TRUE(client.CloseSession());
}

TEST_F(FtpQtQueueTest, AMessagePostedFromAnotherThreadWakesTheQtLoop) {
  TCounter counter;
  std::thread poster([&] { queue.Post(&counter, 1030, 0, 0); });
  QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(QCoreApplication::exec(), 0);
  poster.join();
  EXPECT_EQ(counter.messages, 1);
  queue.Forget(&counter);
}

TEST_F(FtpQtQueueTest, TimersTickInsideTheQtLoop) {
  TCounter counter;
  queue.SetTimer(&counter, 3, 10);
  QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(QCoreApplication::exec(), 0) << "the timer message ended the loop";
  queue.KillTimer(&counter, 3);
  EXPECT_EQ(counter.messages, 1);
}

}  // namespace
}  // namespace tarnwick

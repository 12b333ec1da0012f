#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "ftp/FtpCli.h"
#include "platform/PollMessageQueue.h"
#include "platform/SystemServices.h"
#include "support/TempDir.h"

namespace tarnwick {
namespace {

// The real clock, which the client's deadlines run on.
struct TClock : TSystemServices {
  std::string ProgramFolder() const override { return "/"; }
  std::vector<std::string> InstalledFonts() const override { return {}; }
  std::string SystemFixedFont() const override { return {}; }
  std::uint32_t TickCount() const override {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }
};

// pyftpdlib on 127.0.0.1, started for the test and stopped by its process id.
class TRealFtpServer {
 public:
  TRealFtpServer() {
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::close(out[0]);
      std::string script = std::string(TARNWICK_TEST_SOURCE_DIR) + "/ftp/ftp_server.py";
      ::execl("/usr/bin/python3", "python3", script.c_str(), root_.Path().c_str(), nullptr);
      ::_exit(127);
    }
    ::close(out[1]);
    char line[32] = {};
    FILE* reader = ::fdopen(out[0], "r");
    if (reader != nullptr && std::fgets(line, sizeof line, reader) != nullptr) port_ = std::atoi(line);
    if (reader != nullptr) std::fclose(reader);
  }
  ~TRealFtpServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  int Port() const { return port_; }
  const std::string& Root() const { return root_.Path(); }

 private:
  test::TTempDir root_;
  pid_t pid_ = -1;
  int port_ = 0;
};

// A server of our own that plays a script on the first connection, for what real servers
// will not do on demand.
class TScriptedServer {
 public:
  using TScript = std::function<void(TScriptedServer&)>;

  explicit TScriptedServer(TScript script) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 1);
    socklen_t size = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, script] {
      client_ = ::accept(listener_, nullptr, nullptr);
      if (client_ >= 0) script(*this);
      if (client_ >= 0) ::close(client_);
    });
  }
  ~TScriptedServer() {
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    thread_.join();
  }
  int Port() const { return port_; }
  void Send(const std::string& bytes) { [[maybe_unused]] ssize_t n = ::send(client_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
  // The next command line, without its line end ("" when the client went away).
  std::string Command() {
    std::string line;
    char c;
    while (::recv(client_, &c, 1, 0) == 1) {
      if (c == '\n') break;
      if (c != '\r') line += c;
    }
    return line;
  }
  void Hold(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

 private:
  int listener_ = -1;
  int client_ = -1;
  int port_ = 0;
  std::thread thread_;
};

class FtpClientTest : public testing::Test {
 protected:
  TPollMessageQueue queue;
  TClock clock;
  TFtpClient client{queue, clock};

  void Aim(int port) {
    client.HostName = "127.0.0.1";
    client.Port = std::to_string(port);
    client.UserName = "tester";
    client.PassWord = "secret";
  }
};

TEST_F(FtpClientTest, LogsInChangesAndPrintsTheFolderAndQuitsOnARealServer) {
  TRealFtpServer server;
  ASSERT_GT(server.Port(), 0) << "pyftpdlib did not start";
  Aim(server.Port());
  ASSERT_TRUE(client.OpenSession()) << client.ErrorMessage();
  EXPECT_TRUE(client.Connected());
  client.HostDirName = "readonly";
  EXPECT_TRUE(client.ChangeDirectory()) << client.ErrorMessage();
  EXPECT_TRUE(client.PrintDirectory());
  EXPECT_NE(client.LastReply().find("/readonly"), std::string::npos) << client.LastReply();
  client.HostDirName = "missing";
  EXPECT_FALSE(client.ChangeDirectory());
  EXPECT_EQ(client.ErrorMessage().substr(0, 3), "550") << client.ErrorMessage();
  EXPECT_TRUE(client.CloseSession()) << client.ErrorMessage();
  EXPECT_FALSE(client.Connected());
}

TEST_F(FtpClientTest, ARefusedLoginFailsWithTheServersReply) {
  TRealFtpServer server;
  ASSERT_GT(server.Port(), 0);
  Aim(server.Port());
  client.PassWord = "wrong";
  EXPECT_FALSE(client.OpenSession());
  EXPECT_EQ(client.ErrorMessage().substr(0, 3), "530") << client.ErrorMessage();
  EXPECT_TRUE(client.Connected()) << "the connection stays until the caller closes it";
  client.CloseSession();
  EXPECT_FALSE(client.Connected()) << "and nothing is left half open";

  client.PassWord = "";
  EXPECT_FALSE(client.OpenSession());
  EXPECT_EQ(client.ErrorMessage(), "500 Password empty") << "no login without a password";
}

TEST_F(FtpClientTest, AMultiLineGreetingAnd230ToUserAndEveryLineEnd) {
  TScriptedServer server([](TScriptedServer& s) {
    s.Send("220-Welcome\r\n220-to the\r\n220 test server\r\n");
    if (s.Command() == "USER tester") s.Send("230 Logged in without a password\n");
    if (s.Command() == "PWD") s.Send("257 \"/home\"\r\r\n");
    if (s.Command() == "QUIT") s.Send("221 Bye\r\n");
  });
  Aim(server.Port());
  int greetings = 0;
  client.OnSessionConnected = [&](TCustomFtpCli&, int) { ++greetings; };
  ASSERT_TRUE(client.OpenSession()) << client.ErrorMessage();
  EXPECT_EQ(greetings, 1) << "once, at the last line";
  EXPECT_TRUE(client.PrintDirectory());
  EXPECT_EQ(client.LastReply(), "257 \"/home\"") << "CR CR LF read without its CRs";
  EXPECT_TRUE(client.CloseSession());
}

TEST_F(FtpClientTest, NetworkFailuresAreReplyShapedErrors) {
  client.HostName = "no-such-host.invalid";
  client.UserName = "u";
  client.PassWord = "p";
  EXPECT_FALSE(client.OpenSession());
  EXPECT_EQ(client.ErrorMessage().substr(0, 4), "500 ") << client.ErrorMessage();
  EXPECT_NE(client.ErrorMessage().find("Winsock error #"), std::string::npos);

  int port;
  {
    TScriptedServer closed([](TScriptedServer&) {});
    port = closed.Port();
  }
  Aim(port);
  EXPECT_FALSE(client.OpenSession());
  EXPECT_EQ(client.ErrorMessage(), "500 Connection refused (Winsock error #10061)");
  EXPECT_FALSE(client.Connected());
}

TEST_F(FtpClientTest, ASilentServerTimesOutWithoutSpinning) {
  TScriptedServer server([](TScriptedServer& s) {
    s.Send("220 Hello\r\n");
    s.Command();
    s.Hold(3000);
  });
  Aim(server.Port());
  client.Timeout = 2;
  rusage before{}, after{};
  ::getrusage(RUSAGE_SELF, &before);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client.OpenSession());
  auto waited = std::chrono::steady_clock::now() - start;
  ::getrusage(RUSAGE_SELF, &after);
  EXPECT_EQ(client.ErrorMessage(), "426 Timeout");
  EXPECT_FALSE(client.Connected()) << "the session is torn down";
  EXPECT_GE(waited, std::chrono::milliseconds(1900));
  auto cpu = [](const rusage& u) {
    return u.ru_utime.tv_sec * 1000000L + u.ru_utime.tv_usec + u.ru_stime.tv_sec * 1000000L + u.ru_stime.tv_usec;
  };
  EXPECT_LT(cpu(after) - cpu(before), 500000) << "less than a quarter of the wait in CPU time";
}

TEST_F(FtpClientTest, AReplyLineLongerThanTheBufferEndsTheOperation) {
  TScriptedServer server([](TScriptedServer& s) {
    s.Send("220 " + std::string(5000, 'x') + "\r\n");
    s.Hold(1000);
  });
  Aim(server.Port());
  client.Timeout = 5;
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client.OpenSession());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << "no stall";
  EXPECT_EQ(client.ErrorMessage(), "500 Reply line longer than 4095 bytes");
}

}  // namespace
}  // namespace tarnwick

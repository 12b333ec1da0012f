#pragma once

// What the FTP tests share: pyftpdlib on loopback, a scripted server, and a client aimed at
// either.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "ftp/FtpCli.h"
#include "platform/PollMessageQueue.h"
#include "platform/test/RunningClockServices.h"
#include "support/Loopback.h"
#include "support/TempDir.h"

namespace tarnwick::test {

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
  TTempDir root_;
  pid_t pid_ = -1;
  int port_ = 0;
};

// A server of our own that plays a script on the first connection, for what real servers
// will not do on demand.
class TScriptedServer {
 public:
  using TScript = std::function<void(TScriptedServer&)>;

  explicit TScriptedServer(TScript script) {
    listener_ = ListenOnLoopback(port_, 1);
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
  // Opens the data connection a "PORT h1,h2,h3,h4,p1,p2" command asks for; -1 on failure.
  static int ConnectTo(const std::string& portCommand) {
    int h1, h2, h3, h4, p1, p2;
    if (std::sscanf(portCommand.c_str(), "PORT %d,%d,%d,%d,%d,%d", &h1, &h2, &h3, &h4, &p1, &p2) != 6) return -1;
    int data = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(static_cast<std::uint32_t>(h1 << 24 | h2 << 16 | h3 << 8 | h4));
    address.sin_port = htons(static_cast<std::uint16_t>(p1 * 256 + p2));
    if (::connect(data, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      ::close(data);
      return -1;
    }
    return data;
  }
  // Everything the client sends on a data connection until it closes it; closes it too.
  static std::string ReadAll(int data) {
    std::string bytes;
    char block[4096];
    ssize_t got;
    while ((got = ::recv(data, block, sizeof block, 0)) > 0) bytes.append(block, static_cast<std::size_t>(got));
    ::close(data);
    return bytes;
  }
  void Hold(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

 private:
  int listener_ = -1;
  int client_ = -1;
  int port_ = 0;
  std::thread thread_;
};

// A client on the given kind of message queue, aimed at a test server by Aim.
template <class TQueue>
class FtpClientFixtureOn : public testing::Test {
 protected:
  TQueue queue;
  TRunningClockServices clock;
  TFtpClient client{queue, clock};

  void Aim(int port) {
    client.HostName = "127.0.0.1";
    client.Port = std::to_string(port);
    client.UserName = "tester";
    client.PassWord = "secret";
  }
};
using FtpClientFixture = FtpClientFixtureOn<TPollMessageQueue>;

}  // namespace tarnwick::test

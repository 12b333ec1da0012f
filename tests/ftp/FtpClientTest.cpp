#include <sys/resource.h>

#include "ftp/FtpTestSupport.h"

namespace tarnwick {
namespace {

using namespace test;
using FtpClientTest = FtpClientFixture;

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

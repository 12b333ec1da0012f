#include <sys/file.h>

#include <fcntl.h>

#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "ftp/FtpTestSupport.h"

namespace tarnwick {
namespace {

using namespace test;

// Bytes of every value except CR, so the server's representation type cannot change them.
std::string SampleBytes(std::size_t size) {
  std::mt19937 random(7);
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    c = static_cast<char>(random() % 256);
    if (c == '\r') c = 'r';
  }
  return bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class FtpStoreTest : public FtpClientFixture {
 protected:
  TTempDir local;
  std::vector<std::int64_t> progress;
  std::vector<std::string> commands;
  std::vector<std::string> log;

  void SetUp() override {
    client.OnProgress = [this](TCustomFtpCli&, std::int64_t count, bool&) { progress.push_back(count); };
    client.OnCommand = [this](TCustomFtpCli&, std::string& command) { commands.push_back(command); };
    client.OnDisplay = [this](TCustomFtpCli&, std::string& line) { log.push_back(line); };
  }
  std::string LocalFile(const std::string& bytes) {
    std::string path = local.Path() + "/page.html";
    WriteFile(path, bytes);
    client.LocalFileName = path;
    return path;
  }
  bool Logged(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }
};

TEST_F(FtpStoreTest, StoresFilesOfEverySizeByteForByteOnARealServer) {
  TRealFtpServer server;
  ASSERT_GT(server.Port(), 0) << "pyftpdlib did not start";
  Aim(server.Port());
  ASSERT_TRUE(client.OpenSession()) << client.ErrorMessage();
  for (std::size_t size : {0u, 1460u, 1461u, 5u << 20}) {
    SCOPED_TRACE(size);
    progress.clear();
    std::string bytes = SampleBytes(size);
    LocalFile(bytes);
    client.HostFileName = "upload" + std::to_string(size) + ".bin";
    ASSERT_TRUE(client.StoreFile()) << client.ErrorMessage();
    EXPECT_EQ(ReadFile(server.Root() + "/" + client.HostFileName), bytes);
    // One event before each block and one at the end of the file.
    ASSERT_EQ(progress.size(), (size + 1459) / 1460 + 1);
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), static_cast<std::int64_t>(size));
    EXPECT_EQ(client.ByteCount(), static_cast<std::int64_t>(size));
  }
  EXPECT_EQ(commands[2].rfind("PORT 127,0,0,1,", 0), 0u) << commands[2];
  EXPECT_EQ(std::count_if(commands.begin(), commands.end(), [](auto& c) { return c.rfind("TYPE", 0) == 0; }), 0);
  EXPECT_TRUE(client.CloseSession());
}

TEST_F(FtpStoreTest, AFolderWithoutWritePermissionRefusesTheStoreAndTheNextStoreStillWorks) {
  TRealFtpServer server;
  ASSERT_GT(server.Port(), 0);
  Aim(server.Port());
  ASSERT_TRUE(client.OpenSession());
  LocalFile("<p>hello</p>\n");
  client.HostDirName = "readonly";
  ASSERT_TRUE(client.ChangeDirectory());
  client.HostFileName = "page.html";
  EXPECT_FALSE(client.StoreFile());
  EXPECT_EQ(client.ErrorMessage().substr(0, 3), "550") << client.ErrorMessage();
  EXPECT_EQ(client.DataSocket().State(), TSocketState::wsClosed);

  client.HostDirName = "/";
  ASSERT_TRUE(client.ChangeDirectory());
  EXPECT_TRUE(client.StoreFile()) << client.ErrorMessage();
  EXPECT_EQ(ReadFile(server.Root() + "/page.html"), "<p>hello</p>\n");
}

TEST_F(FtpStoreTest, ALocalFileThatCannotBeOpenedSendsNoStor) {
  TRealFtpServer server;
  ASSERT_GT(server.Port(), 0);
  Aim(server.Port());
  ASSERT_TRUE(client.OpenSession());
  std::string path = LocalFile("locked");
  int other = ::open(path.c_str(), O_RDONLY);  // another program holding the file exclusively
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  for (const std::string& name : {path, local.Path() + "/missing.html"}) {
    commands.clear();
    client.LocalFileName = name;
    client.HostFileName = "x.html";
    EXPECT_FALSE(client.StoreFile());
    EXPECT_EQ(client.ErrorMessage(), "426 Unable to open local file " + name);
    EXPECT_TRUE(std::none_of(commands.begin(), commands.end(), [](auto& c) { return c.rfind("STOR", 0) == 0; }));
    EXPECT_EQ(client.DataSocket().State(), TSocketState::wsClosed);
  }
  ::close(other);
  client.LocalFileName = path;
  EXPECT_TRUE(client.StoreFile()) << "the lock is gone, and so is the refusal";
}

// The scripted server's side of a store: PORT accepted, STOR answered, the data connection
// opened before or after the 150 as asked, then the file read to its end.
struct TStoreScript {
  bool connectFirst = false;
  std::string finalReply = "226 Transfer complete\r\n";
  std::size_t resetAfter = 0;  // bytes read before the data connection is reset; 0 reads all
  std::string received;
  std::string portCommand;

  void operator()(TScriptedServer& s) {
    s.Send("220 ready\r\n");
    s.Command();
    s.Send("331 password\r\n");
    s.Command();
    s.Send("230 in\r\n");
    portCommand = s.Command();
    s.Send("200 PORT ok\r\n");
    if (s.Command().rfind("STOR ", 0) != 0) return;
    int data = -1;
    if (connectFirst) {
      data = TScriptedServer::ConnectTo(portCommand);
      s.Hold(100);
    }
    s.Send("150 Opening data connection\r\n");
    if (!connectFirst) data = TScriptedServer::ConnectTo(portCommand);
    if (resetAfter == 0) {
      received = TScriptedServer::ReadAll(data);
    } else {
      char block[4096];
      ssize_t got;
      while (received.size() < resetAfter && (got = ::recv(data, block, sizeof block, 0)) > 0)
        received.append(block, static_cast<std::size_t>(got));
      // The final reply first, then the reset: the failure comes after the server's word.
      s.Send(finalReply);
      s.Hold(50);
      linger reset{1, 0};
      ::setsockopt(data, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
      ::close(data);
      s.Command();
      return;
    }
    s.Send(finalReply);
    s.Command();
  }
};

TEST_F(FtpStoreTest, TheFileIsSentOnceWhicheverComesFirstTheDataConnectionOrThe150) {
  std::string bytes = SampleBytes(100000);
  for (bool connectFirst : {false, true}) {
    SCOPED_TRACE(connectFirst);
    TStoreScript script;
    script.connectFirst = connectFirst;
    {
      TScriptedServer server(std::ref(script));
      Aim(server.Port());
      ASSERT_TRUE(client.OpenSession()) << client.ErrorMessage();
      LocalFile(bytes);
      client.HostFileName = "page.html";
      EXPECT_TRUE(client.StoreFile()) << client.ErrorMessage();
      client.AbortSession();
    }
    EXPECT_EQ(script.received, bytes);
    EXPECT_EQ(script.portCommand.rfind("PORT 127,0,0,1,", 0), 0u);
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](auto& l) { return l.rfind("! 100000 bytes received/sent in ", 0) == 0; }));
  }
}

TEST_F(FtpStoreTest, FailedTransfersAndCancelledOnesReturnFalseWithTheReason) {
  struct Case {
    const char* name;
    std::string finalReply;
    bool abort;
    std::string expected;
  } cases[] = {
      {"failure after 150", "451 Disk full\r\n", false, "451 Disk full"},
      {"cancelled, server confirms", "226 Transfer complete\r\n", true, "426 Transfer cancelled by user"},
      {"cancelled, server objects", "426 Connection closed; transfer aborted\r\n", true,
       "426 Connection closed; transfer aborted"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    TStoreScript script;
    script.finalReply = c.finalReply;
    {
      TScriptedServer server(std::ref(script));
      Aim(server.Port());
      ASSERT_TRUE(client.OpenSession());
      LocalFile(SampleBytes(5000));
      client.HostFileName = "page.html";
      client.OnProgress = [&](TCustomFtpCli&, std::int64_t, bool& abort) { abort = c.abort; };
      EXPECT_FALSE(client.StoreFile());
      EXPECT_EQ(client.ErrorMessage(), c.expected);
      client.AbortSession();
    }
    if (c.abort) {
      EXPECT_EQ(script.received, "") << "the first block is never sent";
      EXPECT_TRUE(Logged("! Abort requested"));
    } else {
      EXPECT_EQ(script.received.size(), 5000u);
      EXPECT_TRUE(Logged("! STOR Failed"));
    }
  }
}

TEST_F(FtpStoreTest, ADataConnectionResetAfterTheFinalReplyFailsTheStoreWhateverTheReplySaid) {
  for (std::string finalReply : {"226 Transfer complete\r\n", "451 Transfer aborted\r\n"}) {
    SCOPED_TRACE(finalReply);
    TStoreScript script;
    script.resetAfter = 10000;
    script.finalReply = finalReply;
    TScriptedServer server(std::ref(script));
    Aim(server.Port());
    ASSERT_TRUE(client.OpenSession());
    LocalFile(SampleBytes(8u << 20));
    client.HostFileName = "page.html";
    EXPECT_FALSE(client.StoreFile());
    if (finalReply[0] == '2')
      EXPECT_EQ(client.ErrorMessage().rfind("426 Data connection closed. ", 0), 0u) << client.ErrorMessage();
    else
      EXPECT_EQ(client.ErrorMessage(), "451 Transfer aborted");
    client.AbortSession();
  }
}

TEST_F(FtpStoreTest, ARefusedPortOrADroppedControlConnectionFailsTheStore) {
  {
    TScriptedServer server([](TScriptedServer& s) {
      s.Send("220 ready\r\n230-no password needed\r\n");
      s.Command();
      s.Send("230 in\r\n");
      s.Command();
      s.Send("500 PORT not understood\r\n");
      s.Command();
    });
    Aim(server.Port());
    ASSERT_TRUE(client.OpenSession());
    LocalFile("x");
    client.HostFileName = "x";
    EXPECT_FALSE(client.StoreFile());
    EXPECT_EQ(client.ErrorMessage(), "500 PORT not understood");
    EXPECT_EQ(client.DataSocket().State(), TSocketState::wsClosed) << "no listener is left open";
    client.AbortSession();
  }
  {
    TScriptedServer server([](TScriptedServer& s) {
      s.Send("220 ready\r\n");
      s.Command();
      s.Send("230 in\r\n");
      s.Command();
      s.Send("200 ok\r\n");
      s.Command();
      s.Send("150 go\r\n");  // and hangs up without a final reply
    });
    Aim(server.Port());
    ASSERT_TRUE(client.OpenSession());
    LocalFile(SampleBytes(3000));
    client.HostFileName = "x";
    EXPECT_FALSE(client.StoreFile()) << "a transfer the server never confirmed is no success";
    EXPECT_EQ(client.ErrorMessage().substr(0, 3), "500") << client.ErrorMessage();
  }
}

}  // namespace
}  // namespace tarnwick

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ftp/WSocket.h"
#include "platform/PollMessageQueue.h"
#include "platform/SocketErrors.h"

namespace tarnwick {
namespace {

class WSocketTest : public testing::Test {
 protected:
  TPollMessageQueue queue;

  void PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 300 && !done(); ++i) queue.WaitMessages(10);
  }
};

TEST_F(WSocketTest, PropertiesFollowTheirRules) {
  TWSocket socket(queue);
  EXPECT_EQ(socket.State(), TSocketState::wsClosed);
  EXPECT_EQ(socket.Proto(), "tcp");
  EXPECT_EQ(socket.LocalAddr(), "0.0.0.0");
  socket.SetLocalAddr("");
  EXPECT_EQ(socket.LocalAddr(), "0.0.0.0");
  socket.SetAddr("  127.0.0.1 ");
  EXPECT_EQ(socket.Addr(), "127.0.0.1");
  try {
    socket.Send("x");
    ADD_FAILURE() << "sent on a closed socket";
  } catch (const ESocketException& e) {
    std::string text = e.what();
    EXPECT_EQ(text, "Error 10057 in function Send\r\nSocket is not connected");
  }
  int errors = 0;
  socket.OnError = [&](TWSocket&) { ++errors; };
  EXPECT_EQ(socket.Send("x"), -1);
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(socket.LastError(), WSAENOTCONN);
}

TEST_F(WSocketTest, ADottedAddressResolvesAtOnceANameLater) {
  TWSocket socket(queue);
  std::vector<int> done;
  socket.OnDnsLookupDone = [&](TWSocket&, int error) { done.push_back(error); };
  socket.DnsLookup("127.0.0.1");
  EXPECT_EQ(done, std::vector<int>{0}) << "inside the call";
  EXPECT_EQ(socket.DnsResult(), "127.0.0.1");
  done.clear();
  socket.DnsLookup("localhost");
  EXPECT_TRUE(done.empty()) << "a name is looked up on the side";
  PumpUntil([&] { return !done.empty(); });
  EXPECT_EQ(done, std::vector<int>{0});
  EXPECT_EQ(socket.DnsResult(), "127.0.0.1");
  done.clear();
  socket.DnsLookup("1.2.3");
  EXPECT_TRUE(done.empty()) << "three numbers are no dotted address";
  PumpUntil([&] { return !done.empty(); });
  EXPECT_EQ(done.size(), 1u);
}

TEST_F(WSocketTest, ConnectsSendsReceivesAndClosesOnceWithTheDataFirst) {
  TWSocket server(queue), serving(queue), client(queue);
  server.SetAddr("127.0.0.1");
  server.SetPort("0");
  server.Listen();
  ASSERT_EQ(server.State(), TSocketState::wsListening);
  std::string received;
  server.OnSessionAvailable = [&](TWSocket& s, int) { serving.Dup(s.Accept()); };
  serving.OnDataAvailable = [&](TWSocket& s, int) {
    char buffer[4096];
    int n = s.Receive(buffer, sizeof buffer);
    if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
  };

  std::vector<std::string> events;
  client.OnSessionConnected = [&](TWSocket&, int error) { events.push_back("connected " + std::to_string(error)); };
  client.OnDataSent = [&](TWSocket&, int) { events.push_back("sent"); };
  client.OnDataAvailable = [&](TWSocket& s, int) {
    char buffer[64];
    int n = s.Receive(buffer, sizeof buffer);
    if (n > 0) events.push_back("data " + std::string(buffer, static_cast<std::size_t>(n)));
  };
  client.OnSessionClosed = [&](TWSocket&, int error) { events.push_back("closed " + std::to_string(error)); };
  client.SetAddr("127.0.0.1");
  client.SetPort(std::to_string(server.GetXPort()));
  client.Connect();
  PumpUntil([&] { return client.State() == TSocketState::wsConnected && serving.State() == TSocketState::wsConnected; });
  ASSERT_EQ(client.State(), TSocketState::wsConnected);
  EXPECT_THROW(client.SetAddr("127.0.0.2"), ESocketException) << "Cannot change Addr if not closed";

  std::string big(100000, 'x');
  EXPECT_EQ(client.Send(big), 100000);
  EXPECT_EQ(std::count(events.begin(), events.end(), "sent"), 0) << "never from inside Send";
  PumpUntil([&] { return received.size() == big.size(); });
  EXPECT_EQ(received, big);
  EXPECT_GE(std::count(events.begin(), events.end(), "sent"), 1);

  events.clear();
  serving.Send("bye");
  queue.PumpMessages();
  serving.Close();
  PumpUntil([&] { return !events.empty() && events.back().rfind("closed", 0) == 0; });
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], "data bye");
  EXPECT_EQ(events[1], "closed 0");
  for (int i = 0; i < 5; ++i) queue.WaitMessages(5);
  EXPECT_EQ(events.size(), 2u) << "closed exactly once";
  EXPECT_EQ(client.State(), TSocketState::wsClosed);

  try {
    client.Connect();
    ADD_FAILURE() << "connected without a port";
  } catch (const ESocketException& e) {
    EXPECT_STREQ(e.what(), "Connect: No Port Specified") << "a close forgets Addr and Port";
  }
}

TEST_F(WSocketTest, ARefusedConnectionReportsItsCode) {
  TWSocket probe(queue);
  probe.SetAddr("127.0.0.1");
  probe.SetPort("0");
  probe.Listen();
  std::string port = std::to_string(probe.GetXPort());
  probe.Close();

  TWSocket client(queue);
  std::vector<int> connected;
  client.OnSessionConnected = [&](TWSocket&, int error) { connected.push_back(error); };
  client.SetAddr("127.0.0.1");
  client.SetPort(port);
  client.Connect();
  PumpUntil([&] { return !connected.empty(); });
  EXPECT_EQ(connected, std::vector<int>{WSAECONNREFUSED});
  EXPECT_EQ(client.State(), TSocketState::wsClosed);
}

TEST_F(WSocketTest, PortsByNameAndByLeadingDigits) {
  for (const char* port : {"ftp", " 21", "21abc"}) {
    TWSocket client(queue);
    int connected = -1;
    client.OnSessionConnected = [&](TWSocket&, int error) { connected = error; };
    client.SetAddr("127.0.0.1");
    client.SetPort(port);
    EXPECT_NO_THROW(client.Connect()) << port;
    PumpUntil([&] { return connected >= 0; });
    EXPECT_GE(connected, 0) << port << ": resolved, and the connection was tried";
  }
  TWSocket bad(queue);
  bad.SetAddr("127.0.0.1");
  bad.SetPort("no-such-service");
  try {
    bad.Connect();
    ADD_FAILURE();
  } catch (const ESocketException& e) {
    EXPECT_EQ(std::string(e.what()).rfind("connect: WSocketResolvePort: Cannot convert port 'no-such-service'", 0), 0u) << e.what();
  }
}

}  // namespace
}  // namespace tarnwick

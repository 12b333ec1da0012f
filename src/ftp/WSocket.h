#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ftp/WSockBuf.h"
#include "platform/MessageQueue.h"

struct sockaddr_in;

namespace tarnwick {

class ESocketException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TSocketState {
  wsInvalidState, wsOpened, wsBound, wsConnecting, wsSocksConnected, wsConnected, wsAccepting, wsListening, wsClosed,
};
enum class TSocketLingerOnOff { wsLingerOff, wsLingerOn, wsLingerNoSet };
enum TWSocketOption : unsigned { wsoNoReceiveLoop = 1, wsoTcpNoDelay = 2, wsoSIO_RCVALL = 4 };

constexpr int kSocketSegmentSize = 1460;
constexpr int kInvalidSocket = -1;

// A non-blocking TCP socket whose every event arrives later, as a message, on the thread that
// owns the message queue: name resolved, connected, data arrived, sending can go on, a
// connection waits, closed.
class TWSocket : public TMessageTarget {
 public:
  using TErrorEvent = std::function<void(TWSocket&, int error)>;
  using TNotifyEvent = std::function<void(TWSocket&)>;
  using TChangeStateEvent = std::function<void(TWSocket&, TSocketState from, TSocketState to)>;
  using TSendDataEvent = std::function<void(TWSocket&, int bytesSent)>;
  using TBgExceptionEvent = std::function<void(TWSocket&, const std::exception& e, bool& canClose)>;

  explicit TWSocket(TMessageQueue& queue);
  ~TWSocket() override;
  TWSocket(const TWSocket&) = delete;
  TWSocket& operator=(const TWSocket&) = delete;

  TSocketState State() const { return state_; }
  int Handle() const { return handle_; }
  const std::string& Addr() const { return addr_; }
  void SetAddr(const std::string& value);
  const std::string& Port() const { return port_; }
  void SetPort(const std::string& value);
  const std::string& Proto() const { return proto_; }
  void SetProto(const std::string& value);
  const std::string& LocalAddr() const { return localAddr_; }
  void SetLocalAddr(const std::string& value);
  const std::string& LocalPort() const { return localPort_; }
  void SetLocalPort(const std::string& value);
  TSocketLingerOnOff LingerOnOff = TSocketLingerOnOff::wsLingerOn;
  int LingerTimeout = 0;
  unsigned ComponentOptions = 0;
  int ListenBacklog = 5;
  int LastError() const { return lastError_; }
  long long ReadCount() const { return readCount_; }
  const std::string& DnsResult() const { return dnsResult_; }
  const std::vector<std::string>& DnsResultList() const { return dnsResultList_; }
  bool AllSent() const { return allSent_; }
  // The local and the peer's address and port of the open handle ("" and 0 without one).
  std::string GetXAddr() const;
  int GetXPort() const;
  std::string PeerAddr() const;

  void DnsLookup(const std::string& name);
  void CancelDnsLookup();
  void Connect();
  void Listen();
  int Accept();
  void Dup(int handle);
  int Send(std::string_view bytes);
  int SendStr(const std::string& text) { return text.empty() ? 0 : Send(text); }
  int Receive(char* buffer, int size);
  void Close();
  void CloseDelayed();
  void AbortSocket();
  void PumpMessages() { queue_.PumpMessages(); }
  TMessageQueue& Queue() { return queue_; }

  TErrorEvent OnDnsLookupDone;
  TErrorEvent OnSessionConnected;
  TErrorEvent OnSessionAvailable;
  TErrorEvent OnDataAvailable;
  TErrorEvent OnDataSent;
  TErrorEvent OnSessionClosed;
  TChangeStateEvent OnChangeState;
  TSendDataEvent OnSendData;
  TNotifyEvent OnError;
  TBgExceptionEvent OnBgException;

  void HandleMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;

 private:
  struct TLookup;

  void Reset();
  void ChangeState(TSocketState state);
  void RaiseException(const std::string& text);
  void ReportSocketError(const std::string& function, int error);
  void SessionClosed(int error);
  void ApplyLinger();
  void SelectEvents(unsigned events);
  // The protocol, port and host set on the socket as an address; raises what it cannot read.
  sockaddr_in ResolveAddress(const char* where);
  // The same, reporting a failure as the socket reports errors.
  bool ResolveAddressReporting(const char* where, sockaddr_in& into);
  void TryToSend();
  void ReceiveLoop(unsigned options, int error);
  void SocketEvent(unsigned events, int error);
  void LookupDone(std::intptr_t request, const std::vector<std::string>& addresses, int error);
  void CloseHandle(bool withShutdown);
  // Closes the handle, tells the owner the session ended and puts the settings back to defaults.
  void CloseOpenHandle(bool withShutdown);

  TMessageQueue& queue_;
  int handle_ = kInvalidSocket;
  TSocketState state_ = TSocketState::wsClosed;
  std::string addr_, port_, proto_ = "tcp", localAddr_ = "0.0.0.0", localPort_ = "0";
  bool addrAssigned_ = false, portAssigned_ = false, protoAssigned_ = true;
  std::deque<TBuffer> sendQueue_;
  bool allSent_ = true;
  bool closeNotified_ = false;
  bool destroying_ = false;
  int lastError_ = 0;
  long long readCount_ = 0;
  std::string dnsResult_;
  std::vector<std::string> dnsResultList_;
  std::shared_ptr<TLookup> lookup_;
  std::intptr_t lookupRequest_ = 0;
  std::intptr_t nextRequest_ = 1;
};

// Hands an exception that a handler let out to the owner's background-exception event, whose
// own exceptions are swallowed; true when the owner lets the object be closed.
template <class TSender, class THandler>
bool BgExceptionLetsClose(const THandler& handler, TSender& sender, const std::exception& e) {
  bool canClose = true;
  if (handler) {
    try {
      handler(sender, e, canClose);
    } catch (...) {
    }
  }
  return canClose;
}

// "Error <code> in function <name>" and the code's description on the next line.
std::string SocketErrorText(int code, const std::string& function);

}  // namespace tarnwick

#include "ftp/WSocket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/SocketErrors.h"

namespace tarnwick {

namespace {

constexpr unsigned kSocketEvent = 1025;   // WM_USER + 1
constexpr unsigned kLookupDone = 1026;    // WM_USER + 2
constexpr unsigned kCloseDelayed = 1028;  // WM_USER + 4
constexpr std::size_t kSegmentsPerSend = 64;

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Four groups of decimal digits, each at most 255, separated by dots; blanks only around.
bool IsDottedAddress(const std::string& name) {
  std::string text = Trim(name);
  int groups = 0, value = 0, digits = 0;
  for (char c : text) {
    if (c == '.') {
      if (digits == 0 || ++groups > 3) return false;
      value = digits = 0;
    } else if (c >= '0' && c <= '9') {
      value = value * 10 + (c - '0');
      if (++digits > 3 || value > 255) return false;
    } else {
      return false;
    }
  }
  return groups == 3 && digits > 0;
}

}  // namespace

// A lookup on its helper thread; the socket may go away before it ends.
struct TWSocket::TLookup {
  std::mutex mutex;
  TWSocket* owner;
  std::intptr_t request;
  std::vector<std::string> addresses;
  int error = 0;
};

std::string SocketErrorText(int code, const std::string& function) {
  return "Error " + std::to_string(code) + " in function " + function + "\r\n" + WinsockErrorDesc(code);
}

TWSocket::TWSocket(TMessageQueue& queue) : queue_(queue) { Reset(); }

TWSocket::~TWSocket() {
  destroying_ = true;
  if (lookup_) {
    std::lock_guard<std::mutex> lock(lookup_->mutex);
    lookup_->owner = nullptr;
  }
  if (handle_ != kInvalidSocket) CloseHandle(true);
  queue_.Forget(this);
}

void TWSocket::Reset() {
  addrAssigned_ = portAssigned_ = false;
  proto_ = "tcp";
  protoAssigned_ = true;
  localPort_ = "0";
  localAddr_ = "0.0.0.0";
  LingerOnOff = TSocketLingerOnOff::wsLingerOn;
  LingerTimeout = 0;
  handle_ = kInvalidSocket;
  ChangeState(TSocketState::wsClosed);
  allSent_ = true;
  readCount_ = 0;
  closeNotified_ = false;
}

void TWSocket::ChangeState(TSocketState state) {
  if (state == state_) return;
  TSocketState old = std::exchange(state_, state);
  if (OnChangeState) OnChangeState(*this, old, state);
}

// ---- properties ---------------------------------------------------------------------------

namespace {

void SetText(std::string& field, bool& assigned, const std::string& value, TSocketState state, const char* name) {
  std::string trimmed = Trim(value);
  if (assigned && trimmed == field) return;
  if (state != TSocketState::wsClosed) throw ESocketException(std::string("Cannot change ") + name + " if not closed");
  field = trimmed;
  assigned = !trimmed.empty();
}

}  // namespace

void TWSocket::SetAddr(const std::string& value) { SetText(addr_, addrAssigned_, value, state_, "Addr"); }
void TWSocket::SetPort(const std::string& value) { SetText(port_, portAssigned_, value, state_, "Port"); }
void TWSocket::SetProto(const std::string& value) { SetText(proto_, protoAssigned_, value, state_, "Proto"); }

void TWSocket::SetLocalAddr(const std::string& value) {
  if (state_ != TSocketState::wsClosed) throw ESocketException("Cannot change LocalAddr if not closed");
  localAddr_ = value.empty() ? "0.0.0.0" : value;
}

void TWSocket::SetLocalPort(const std::string& value) {
  if (state_ != TSocketState::wsClosed) throw ESocketException("Cannot change LocalPort if not closed");
  localPort_ = value;
}

// ---- errors -------------------------------------------------------------------------------

void TWSocket::RaiseException(const std::string& text) {
  if (OnError) {
    OnError(*this);
    return;
  }
  throw ESocketException(text);
}

void TWSocket::ReportSocketError(const std::string& function, int error) {
  int code = WinsockCodeOf(error);
  if (code == WSAECONNRESET || code == WSAENOTCONN) {
    if (handle_ != kInvalidSocket) {
      queue_.SelectSocket(handle_, this, kSocketEvent, 0);
      ::close(handle_);
      handle_ = kInvalidSocket;
    }
    if (state_ != TSocketState::wsClosed) SessionClosed(code);
    ChangeState(TSocketState::wsClosed);
  }
  lastError_ = code;
  RaiseException(SocketErrorText(code, function));
}

void TWSocket::SessionClosed(int error) {
  if (closeNotified_) return;
  closeNotified_ = true;
  if (OnSessionClosed) OnSessionClosed(*this, error);
}

// ---- name lookup --------------------------------------------------------------------------

void TWSocket::DnsLookup(const std::string& name) {
  if (name.empty()) {
    RaiseException("DNS lookup: invalid host name.");
    if (OnDnsLookupDone) OnDnsLookupDone(*this, WSAEINVAL);
    return;
  }
  if (lookupRequest_ != 0) CancelDnsLookup();
  dnsResult_.clear();
  dnsResultList_.clear();
  in_addr address{};
  if (IsDottedAddress(name) && ::inet_aton(Trim(name).c_str(), &address) != 0) {
    dnsResult_ = ::inet_ntoa(address);
    dnsResultList_.push_back(dnsResult_);
    if (OnDnsLookupDone) OnDnsLookupDone(*this, 0);
    return;
  }
  // The lookup runs on a helper thread; its result comes back through the queue.
  lookupRequest_ = nextRequest_++;
  lookup_ = std::make_shared<TLookup>();
  lookup_->owner = this;
  lookup_->request = lookupRequest_;
  std::thread([lookup = lookup_, host = Trim(name), queue = &queue_] {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &result);
    std::vector<std::string> addresses;
    for (addrinfo* entry = result; status == 0 && entry != nullptr; entry = entry->ai_next) {
      char text[INET_ADDRSTRLEN];
      ::inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(entry->ai_addr)->sin_addr, text, sizeof text);
      if (std::find(addresses.begin(), addresses.end(), text) == addresses.end()) addresses.push_back(text);
    }
    if (result != nullptr) ::freeaddrinfo(result);
    std::lock_guard<std::mutex> lock(lookup->mutex);
    lookup->addresses = std::move(addresses);
    lookup->error = status == 0 ? 0 : status == EAI_AGAIN ? WSATRY_AGAIN : WSAHOST_NOT_FOUND;
    if (lookup->owner != nullptr) queue->Post(lookup->owner, kLookupDone, lookup->request, 0);
  }).detach();
}

void TWSocket::CancelDnsLookup() {
  if (lookupRequest_ == 0) return;
  {
    std::lock_guard<std::mutex> lock(lookup_->mutex);
    lookup_->owner = nullptr;
  }
  lookup_.reset();
  lookupRequest_ = 0;
  if (!destroying_ && OnDnsLookupDone) OnDnsLookupDone(*this, WSAEINTR);
}

void TWSocket::LookupDone(std::intptr_t request, const std::vector<std::string>& addresses, int error) {
  if (request != lookupRequest_) return;
  lookupRequest_ = 0;
  if (error == 0) {
    dnsResultList_ = addresses;
    if (!addresses.empty()) dnsResult_ = addresses.front();
  }
  if (OnDnsLookupDone) OnDnsLookupDone(*this, error);
}

// ---- connecting and listening -------------------------------------------------------------

sockaddr_in TWSocket::ResolveAddress(const char* where) {
  sockaddr_in resolved{};
  resolved.sin_family = AF_INET;
  std::string prefix = std::string(where) + ": ";
  std::string proto = Trim(proto_);
  std::string lowered = proto;
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (proto.empty() || proto.size() >= 32) throw ESocketException(prefix + "WSocketResolveProto: Invalid Protocol.");
  if (lowered != "tcp" && !(std::isdigit(static_cast<unsigned char>(proto[0])) && std::stoi(proto) == IPPROTO_TCP))
    throw ESocketException(prefix + "WSocketResolveProto: Cannot convert protocol '" + proto + "', Error #" +
                           std::to_string(WSAEPROTONOSUPPORT));
  // A text starting with a digit is a number (the digits up to the first other character).
  std::string portText = port_;
  std::size_t first = portText.find_first_not_of(' ');
  if (Trim(portText).empty() || Trim(portText).size() >= 32) throw ESocketException(prefix + "WSocketResolvePort: Invalid Port.");
  if (std::isdigit(static_cast<unsigned char>(portText[first]))) {
    int number = 0;
    for (std::size_t i = first; i < portText.size() && std::isdigit(static_cast<unsigned char>(portText[i])); ++i)
      number = number * 10 + (portText[i] - '0');
    resolved.sin_port = htons(static_cast<std::uint16_t>(number));
  } else {
    servent* service = ::getservbyname(Trim(portText).c_str(), "tcp");
    if (service == nullptr)
      throw ESocketException(prefix + "WSocketResolvePort: Cannot convert port '" + Trim(portText) + "', Error #" +
                             std::to_string(WSANO_DATA));
    resolved.sin_port = static_cast<std::uint16_t>(service->s_port);
  }
  std::string host = Trim(addr_);
  if (host.empty() || host.size() > 256) throw ESocketException(prefix + "WSocketResolveHost: '" + host + "' Invalid Hostname.");
  in_addr numeric{};
  if (IsDottedAddress(host)) {
    if (::inet_aton(host.c_str(), &numeric) == 0 || (numeric.s_addr == INADDR_NONE && host != "255.255.255.255"))
      throw ESocketException(prefix + "WSocketResolveHost: '" + host + "' Invalid IP address.");
    resolved.sin_addr = numeric;
    return resolved;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* result = nullptr;
  if (::getaddrinfo(host.c_str(), nullptr, &hints, &result) != 0 || result == nullptr)
    throw ESocketException(prefix + "WSocketResolveHost: Cannot convert host address '" + host + "', Error #" +
                           std::to_string(WSAHOST_NOT_FOUND));
  resolved.sin_addr = reinterpret_cast<sockaddr_in*>(result->ai_addr)->sin_addr;
  ::freeaddrinfo(result);
  return resolved;
}

bool TWSocket::ResolveAddressReporting(const char* where, sockaddr_in& into) {
  try {
    into = ResolveAddress(where);
    return true;
  } catch (const ESocketException& e) {
    RaiseException(e.what());
    return false;
  }
}

void TWSocket::ApplyLinger() {
  if (LingerOnOff == TSocketLingerOnOff::wsLingerNoSet || handle_ == kInvalidSocket) return;
  linger value{LingerOnOff == TSocketLingerOnOff::wsLingerOn ? 1 : 0, LingerTimeout};
  // Linger on with no time would make every close a reset: only a real timeout turns it on.
  if (value.l_onoff && value.l_linger == 0) return;
  if (::setsockopt(handle_, SOL_SOCKET, SO_LINGER, &value, sizeof value) != 0) ReportSocketError("setsockopt(SO_LINGER)", errno);
}

void TWSocket::SelectEvents(unsigned events) { queue_.SelectSocket(handle_, this, kSocketEvent, events); }

void TWSocket::Connect() {
  if (handle_ != kInvalidSocket && state_ != TSocketState::wsClosed) {
    RaiseException("Connect: Socket already in use");
    return;
  }
  if (!portAssigned_) return RaiseException("Connect: No Port Specified");
  if (!addrAssigned_) return RaiseException("Connect: No IP Address Specified");
  if (!protoAssigned_) return RaiseException("Connect: No Protocol Specified");
  sockaddr_in peer{};
  if (!ResolveAddressReporting("connect", peer)) return;
  sendQueue_.clear();
  allSent_ = true;
  handle_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (handle_ < 0) {
    handle_ = kInvalidSocket;
    return ReportSocketError("Connect (socket)", errno);
  }
  ChangeState(TSocketState::wsOpened);
  int on = 1;
  ::setsockopt(handle_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (ComponentOptions & wsoTcpNoDelay) ::setsockopt(handle_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  ApplyLinger();
  ::setsockopt(handle_, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
  if (localPort_ != "0" || localAddr_ != "0.0.0.0") {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_aton(localAddr_.c_str(), &local.sin_addr);
    local.sin_port = htons(static_cast<std::uint16_t>(std::atoi(localPort_.c_str())));
    if (::bind(handle_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
      return RaiseException("winsock.bind failed, error #" + std::to_string(WinsockCodeOf(errno)));
    localPort_ = std::to_string(GetXPort());
  }
  SelectEvents(FD_READ | FD_WRITE | FD_ACCEPT | FD_CONNECT | FD_CLOSE);
  if (::connect(handle_, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0 || errno == EINPROGRESS) {
    ChangeState(TSocketState::wsConnecting);
    return;
  }
  lastError_ = WinsockCodeOf(errno);
  ReportSocketError("Connect", errno);
}

void TWSocket::Listen() {
  if (!portAssigned_ || !protoAssigned_ || !addrAssigned_) {
    lastError_ = WSAEINVAL;
    return RaiseException(!portAssigned_    ? "listen: port not assigned"
                          : !protoAssigned_ ? "listen: protocol not assigned"
                                            : "listen: address not assigned");
  }
  sockaddr_in local{};
  if (!ResolveAddressReporting("listen", local)) return;
  sendQueue_.clear();
  handle_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (handle_ < 0) {
    handle_ = kInvalidSocket;
    return ReportSocketError("socket", errno);
  }
  int on = 1;
  ::setsockopt(handle_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (::bind(handle_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) return ReportSocketError("Bind", errno);
  ChangeState(TSocketState::wsBound);
  if (::listen(handle_, ListenBacklog) != 0) return ReportSocketError("Listen", errno);
  ChangeState(TSocketState::wsListening);
  SelectEvents(FD_ACCEPT | FD_CLOSE);
}

int TWSocket::Accept() {
  if (state_ != TSocketState::wsListening) {
    lastError_ = WSAEINVAL;
    RaiseException(SocketErrorText(WSAEINVAL, "not a listening socket"));
    return kInvalidSocket;
  }
  int accepted = ::accept4(handle_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (accepted < 0) {
    ReportSocketError("Accept", errno);
    return kInvalidSocket;
  }
  return accepted;
}

void TWSocket::Dup(int handle) {
  if (handle <= 0) {
    lastError_ = WSAEINVAL;
    return RaiseException(SocketErrorText(WSAEINVAL, "Dup"));
  }
  if (handle_ != kInvalidSocket) {
    queue_.SelectSocket(handle_, this, kSocketEvent, 0);
    ::close(handle_);
    ChangeState(TSocketState::wsClosed);
  }
  handle_ = handle;
  closeNotified_ = false;
  ApplyLinger();
  SelectEvents(FD_READ | FD_WRITE | FD_CLOSE);
  queue_.WantWrite(handle_);
  ChangeState(TSocketState::wsConnected);
}

std::string TWSocket::GetXAddr() const {
  sockaddr_in local{};
  socklen_t size = sizeof local;
  if (handle_ == kInvalidSocket || ::getsockname(handle_, reinterpret_cast<sockaddr*>(&local), &size) != 0) return {};
  return ::inet_ntoa(local.sin_addr);
}

int TWSocket::GetXPort() const {
  sockaddr_in local{};
  socklen_t size = sizeof local;
  if (handle_ == kInvalidSocket || ::getsockname(handle_, reinterpret_cast<sockaddr*>(&local), &size) != 0) return 0;
  return ntohs(local.sin_port);
}

std::string TWSocket::PeerAddr() const {
  sockaddr_in peer{};
  socklen_t size = sizeof peer;
  if (handle_ == kInvalidSocket || ::getpeername(handle_, reinterpret_cast<sockaddr*>(&peer), &size) != 0) return {};
  return ::inet_ntoa(peer.sin_addr);
}

// ---- sending and receiving ----------------------------------------------------------------

int TWSocket::Send(std::string_view bytes) {
  if (state_ != TSocketState::wsConnected && state_ != TSocketState::wsSocksConnected) {
    lastError_ = WSAENOTCONN;
    RaiseException(SocketErrorText(WSAENOTCONN, "Send"));
    return -1;
  }
  allSent_ = false;
  std::string_view rest = bytes;
  while (!rest.empty()) {
    if (sendQueue_.empty()) sendQueue_.emplace_back(kSocketSegmentSize);
    std::size_t taken = sendQueue_.back().Write(rest);
    if (taken == 0) {
      sendQueue_.emplace_back(kSocketSegmentSize);
      continue;
    }
    rest.remove_prefix(taken);
  }
  TryToSend();
  // The data-sent event always comes from the message loop, never from inside Send.
  if (allSent_) queue_.Post(this, kSocketEvent, handle_, SocketEventParam(FD_WRITE, 0));
  return static_cast<int>(bytes.size());
}

void TWSocket::TryToSend() {
  if (handle_ == kInvalidSocket || sendQueue_.empty()) return;
  for (;;) {
    // Hands the kernel several segments in one call: a 1460-byte send each would cost a
    // system call per segment.
    iovec pieces[kSegmentsPerSend];
    std::size_t count = 0, unread = 0;
    for (const TBuffer& segment : sendQueue_) {
      if (count == kSegmentsPerSend) break;
      std::string_view bytes = segment.Peek();
      if (bytes.empty()) continue;
      pieces[count++] = {const_cast<char*>(bytes.data()), bytes.size()};
      unread += bytes.size();
    }
    if (count == 0) {
      while (sendQueue_.size() > 1) sendQueue_.pop_front();
      allSent_ = true;
      return;
    }
    msghdr message{};
    message.msg_iov = pieces;
    message.msg_iovlen = count;
    ssize_t sent = ::sendmsg(handle_, &message, MSG_NOSIGNAL);
    if (sent < 0) {
      int code = WinsockCodeOf(errno);
      if (code == WSAEWOULDBLOCK) {
        queue_.WantWrite(handle_);
        return;
      }
      if (code == WSAEINVAL || code == WSAENOTSOCK || code == WSAECONNABORTED || code == WSAECONNRESET ||
          code == WSAENOTCONN) {
        closeNotified_ = true;
        Close();
        if (OnSessionClosed) OnSessionClosed(*this, code);
        return;
      }
      return ReportSocketError("TryToSend failed", errno);
    }
    if (sent == 0) return;
    for (std::size_t left = static_cast<std::size_t>(sent); left > 0;) {
      TBuffer& first = sendQueue_.front();
      std::size_t taken = std::min(left, first.Peek().size());
      first.Remove(taken);
      left -= taken;
      if (first.Empty() && sendQueue_.size() > 1) sendQueue_.pop_front();
    }
    if (OnSendData) OnSendData(*this, static_cast<int>(sent));
    if (static_cast<std::size_t>(sent) < unread) {
      queue_.WantWrite(handle_);
      return;
    }
  }
}

int TWSocket::Receive(char* buffer, int size) {
  ssize_t count = ::recv(handle_, buffer, static_cast<std::size_t>(std::max(size, 0)), 0);
  if (count < 0) {
    lastError_ = WinsockCodeOf(errno);
    return -1;
  }
  readCount_ += count;
  return static_cast<int>(count);
}

void TWSocket::ReceiveLoop(unsigned options, int error) {
  for (;;) {
    lastError_ = 0;
    if (OnDataAvailable) {
      // A handler's exception ends the loop and goes no further.
      try {
        OnDataAvailable(*this, error);
      } catch (const std::exception&) {
        return;
      }
    } else {
      char discard[1024];
      if (Receive(discard, sizeof discard) < 0 && lastError_ == WSAEWOULDBLOCK) {
        lastError_ = 0;
        return;
      }
    }
    if ((options & wsoNoReceiveLoop) || lastError_ != 0 || handle_ == kInvalidSocket) return;
    int pending = 0;
    if (::ioctl(handle_, FIONREAD, &pending) != 0) {
      lastError_ = WinsockCodeOf(errno);
      return;
    }
    if (pending <= 0) return;
  }
}

// ---- closing ------------------------------------------------------------------------------

void TWSocket::CloseHandle(bool withShutdown) {
  queue_.SelectSocket(handle_, this, kSocketEvent, 0);
  if (withShutdown) ::shutdown(handle_, SHUT_WR);
  ::close(handle_);
  handle_ = kInvalidSocket;
}

void TWSocket::Close() {
  if (handle_ == kInvalidSocket) {
    if (state_ != TSocketState::wsClosed) {
      ChangeState(TSocketState::wsClosed);
      Reset();
    }
    return;
  }
  CloseOpenHandle(true);
}

void TWSocket::CloseOpenHandle(bool withShutdown) {
  CloseHandle(withShutdown);
  ChangeState(TSocketState::wsClosed);
  if (!destroying_) SessionClosed(0);
  Reset();
}

void TWSocket::CloseDelayed() { queue_.Post(this, kCloseDelayed, 0, 0); }

void TWSocket::AbortSocket() {
  CancelDnsLookup();
  sendQueue_.clear();
  allSent_ = true;
  if (handle_ != kInvalidSocket && state_ == TSocketState::wsConnected) {
    linger off{1, 0};  // discard what is unsent: a reset, no orderly shutdown
    ::setsockopt(handle_, SOL_SOCKET, SO_LINGER, &off, sizeof off);
  }
  if (handle_ == kInvalidSocket) {
    Close();
    return;
  }
  CloseOpenHandle(false);
}

// ---- events -------------------------------------------------------------------------------

void TWSocket::SocketEvent(unsigned events, int error) {
  if (events & FD_CONNECT) {
    if (state_ != TSocketState::wsConnected) {
      ChangeState(TSocketState::wsConnected);
      if (OnSessionConnected) OnSessionConnected(*this, error);
      if (error != 0 && state_ != TSocketState::wsClosed) Close();
    }
  }
  if (events & FD_READ) {
    if (state_ != TSocketState::wsConnected) {
      ChangeState(TSocketState::wsConnected);
      if (OnSessionConnected) OnSessionConnected(*this, error);
    }
    ReceiveLoop(ComponentOptions, error);
  }
  if (events & FD_WRITE) {
    TryToSend();
    if (allSent_ && OnDataSent) OnDataSent(*this, error);
  }
  if (events & FD_ACCEPT) {
    if (OnSessionAvailable) OnSessionAvailable(*this, error);
  }
  if (events & FD_CLOSE) {
    if (state_ == TSocketState::wsConnecting) return;
    if (handle_ != kInvalidSocket) ReceiveLoop(ComponentOptions & ~wsoNoReceiveLoop, error);
    SessionClosed(error);
    if (state_ != TSocketState::wsClosed) Close();
  }
}

void TWSocket::HandleMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  try {
    switch (message) {
      case kSocketEvent:
        if (static_cast<int>(wParam) == handle_ && handle_ != kInvalidSocket)
          SocketEvent(SocketEventOf(lParam), SocketErrorOf(lParam));
        break;
      case kLookupDone: {
        if (!lookup_) break;
        std::vector<std::string> addresses;
        int error;
        {
          std::lock_guard<std::mutex> lock(lookup_->mutex);
          addresses = lookup_->addresses;
          error = lookup_->error;
        }
        LookupDone(wParam, addresses, error);
        break;
      }
      case kCloseDelayed: Close(); break;
      default: break;
    }
  } catch (const std::exception& e) {
    // An exception that a handler let out: the owner may keep the socket, or it is aborted.
    if (BgExceptionLetsClose(OnBgException, *this, e)) {
      try {
        AbortSocket();
      } catch (...) {
      }
    }
  }
}

}  // namespace tarnwick

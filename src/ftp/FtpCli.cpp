#include "ftp/FtpCli.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/SocketErrors.h"
#include "platform/SystemServices.h"

namespace tarnwick {

namespace {

constexpr unsigned kRequestDone = 1025;  // WM_USER + 1
constexpr std::size_t kReplyBufferSize = 4096;

}  // namespace

int ReplyNumber(const std::string& line) {
  std::size_t at = 0;
  while (at < line.size() && line[at] == ' ') ++at;
  bool negative = at < line.size() && line[at] == '-';
  if (at < line.size() && (line[at] == '-' || line[at] == '+')) ++at;
  int number = 0;
  while (at < line.size() && std::isdigit(static_cast<unsigned char>(line[at]))) number = number * 10 + (line[at++] - '0');
  return negative ? -number : number;
}

TCustomFtpCli::TCustomFtpCli(TMessageQueue& queue, const TSystemServices& system)
    : queue_(queue), system_(system), controlSocket_(queue), dataSocket_(queue) {
  controlSocket_.OnDnsLookupDone = [this](TWSocket&, int error) { ControlDnsLookupDone(error); };
  controlSocket_.OnSessionConnected = [this](TWSocket&, int error) { ControlSessionConnected(error); };
  controlSocket_.OnDataAvailable = [this](TWSocket&, int) { ControlDataAvailable(); };
  controlSocket_.OnSessionClosed = [this](TWSocket&, int error) { ControlSessionClosed(error); };
}

TCustomFtpCli::~TCustomFtpCli() { queue_.Forget(this); }

void TCustomFtpCli::ChangeState(TFtpState state) {
  state_ = state;
  if (OnStateChange) OnStateChange(*this);
}

void TCustomFtpCli::Display(std::string line) {
  if (OnDisplay) OnDisplay(*this, line);
}

void TCustomFtpCli::ReportError(const std::string& text) {
  if (OnError) {
    std::string message = text;
    OnError(*this, message);
    return;
  }
  throw FtpException(text);
}

bool TCustomFtpCli::EnsureReady() {
  if (state_ == TFtpState::ftpReady || state_ == TFtpState::ftpBetweenSteps || state_ == TFtpState::ftpPassiveReady)
    return true;
  ReportError("FTP component not ready");
  return false;
}

void TCustomFtpCli::KeepFirstError() {
  if (errorMessage_.empty()) errorMessage_ = lastReply_;
}

void TCustomFtpCli::SetNetworkError(const std::string& prefix, int error) {
  lastReply_ = "500 " + prefix + WinsockErrorDesc(error) + " (Winsock error #" + std::to_string(error) + ")";
  replyCode_ = resultCode_ = 500;
  KeepFirstError();
}

void TCustomFtpCli::SendCommand(std::string command) {
  if (OnCommand) OnCommand(*this, command);
  Display("> " + command);
  if (controlSocket_.State() == TSocketState::wsConnected) controlSocket_.SendStr(command + "\r\n");
}

void TCustomFtpCli::SendRequest(TFtpRequest request, const std::string& command, std::vector<int> accepted,
                                std::function<void()> continuation) {
  if (command != "ABOR" && command != "STAT" && command != "QUIT") {
    if (!EnsureReady()) return;
    if (!controlConnected_) return ReportError("FTP component not connected");
  }
  if (!inChain_) requestKind_ = request;
  acceptedCodes_ = std::move(accepted);
  finished_ = false;
  replyHandler_ = [this] { StandardReply(); };
  continuation_ = std::move(continuation);
  errorMessage_.clear();
  ChangeState(TFtpState::ftpAwaitingReply);
  SendCommand(command);
}

void TCustomFtpCli::TakeFinalReply() {
  Display("< " + lastReply_);
  replyCode_ = ReplyNumber(lastReply_);
}

void TCustomFtpCli::StandardReply() {
  TakeFinalReply();
  if (!acceptedCodes_.empty()) {
    bool accepted = std::find(acceptedCodes_.begin(), acceptedCodes_.end(), replyCode_) != acceptedCodes_.end();
    resultCode_ = accepted ? 0 : replyCode_;
  } else {
    resultCode_ = replyCode_ < 500 ? 0 : replyCode_;
  }
  if (resultCode_ != 0) KeepFirstError();
  if (continuation_) {
    std::function<void()> next = std::move(continuation_);
    next();
  } else {
    FinishRequest(resultCode_);
  }
}

void TCustomFtpCli::FinishRequest(int code) {
  if (finished_) return;
  finished_ = true;
  if (code == 0 && chainNext_) {
    if (state_ != TFtpState::ftpAborting && state_ != TFtpState::ftpPassiveReady) ChangeState(TFtpState::ftpBetweenSteps);
    NextStep();
    return;
  }
  ChangeState(TFtpState::ftpReady);
  CloseDataSocket();
  if (inChain_ && savedCode_ >= 0) {
    lastReply_ = savedReply_;
    replyCode_ = savedCode_;
  }
  inChain_ = false;
  chainNext_ = false;
  queue_.Post(this, kRequestDone, static_cast<std::intptr_t>(requestKind_), code);
}

void TCustomFtpCli::RunSteps(TFtpRequest request, unsigned steps) {
  if (controlConnected_ && (steps & stepOpen)) return ReportError("FTP component already connected");
  if (!EnsureReady()) return;
  savedReply_ = lastReply_;
  savedCode_ = -1;
  requestKind_ = request;
  resultCode_ = 0;
  pendingSteps_ = steps;
  lastStep_ = 0;
  chainResult_ = 0;
  inChain_ = true;
  lastReply_.clear();
  errorMessage_.clear();
  chainNext_ = false;
  NextStep();
}

void TCustomFtpCli::NextStep() {
  if (state_ == TFtpState::ftpAborting) {
    pendingSteps_ = 0;
    chainResult_ = 426;
    errorMessage_ = "426 Operation aborted.";
  }
  chainNext_ = true;
  if (resultCode_ != 0) {
    chainResult_ = resultCode_;
    pendingSteps_ = (pendingSteps_ & stepQuit) && lastStep_ != stepQuit ? unsigned{stepQuit} : 0u;
  }
  for (unsigned step : {stepOpen, stepUser, stepPass, stepCwd, stepPort, stepStor, stepQuit}) {
    if (!(pendingSteps_ & step)) continue;
    pendingSteps_ &= ~step;
    unsigned previous = std::exchange(lastStep_, step);
    // A step refused before it sends anything ends the chain as a failure, with the reason as
    // its reply: it must never look like a login that worked.
    try {
      switch (step) {
        case stepOpen: return OpenAsync();
        case stepUser: return UserAsync();
        case stepPass:
          // After a 230 to USER the password is not asked for.
          if (previous == stepUser && replyCode_ != 331) continue;
          return PassAsync();
        case stepCwd:
          if (HostDirName.empty()) continue;
          return CwdAsync();
        case stepPort: return PortAsync();
        case stepStor: return StorAsync();
        case stepQuit:
          savedReply_ = lastReply_;
          savedCode_ = replyCode_;
          return QuitAsync();
        default: break;
      }
    } catch (const std::exception& e) {
      lastReply_ = std::string("500 ") + e.what();
      replyCode_ = resultCode_ = 500;
      KeepFirstError();
      chainNext_ = false;
      finished_ = false;
      return FinishRequest(500);
    }
  }
  pendingSteps_ = 0;
  chainNext_ = false;
  finished_ = false;
  FinishRequest(chainResult_);
}

// ---- requests and steps -------------------------------------------------------------------

void TCustomFtpCli::OpenAsync() {
  if (!EnsureReady()) return;
  if (controlConnected_) return ReportError("FTP component already connected");
  if (!inChain_) requestKind_ = TFtpRequest::ftpOpen;
  finished_ = false;
  replyBuffer_.clear();
  resultCode_ = 0;
  ChangeState(TFtpState::ftpResolving);
  controlSocket_.DnsLookup(HostName);
}

void TCustomFtpCli::ControlDnsLookupDone(int error) {
  if (state_ != TFtpState::ftpResolving) return;
  if (error != 0) {
    SetNetworkError("", error);
    return FinishRequest(error);
  }
  try {
    controlSocket_.SetAddr(controlSocket_.DnsResult());
    controlSocket_.SetLocalAddr(LocalAddr);
    controlSocket_.SetProto("tcp");
    controlSocket_.SetPort(Port);
    ChangeState(TFtpState::ftpAwaitingBanner);
    controlSocket_.Connect();
  } catch (const std::exception& e) {
    lastReply_ = std::string("500 ESocketException: ") + e.what();
    replyCode_ = resultCode_ = 500;
    KeepFirstError();
    FinishRequest(500);
  }
}

void TCustomFtpCli::ControlSessionConnected(int error) {
  if (error == 0) {
    controlConnected_ = true;  // the greeting comes next
    return;
  }
  SetNetworkError("", error);
  chainNext_ = false;
  FinishRequest(error);
  controlSocket_.Close();
  ChangeState(TFtpState::ftpReady);
}

void TCustomFtpCli::UserAsync() {
  if (UserName.empty()) return ReportError("UserName empty");
  SendRequest(TFtpRequest::ftpUser, "USER " + UserName, {331, 230});
}

void TCustomFtpCli::PassAsync() {
  if (PassWord.empty()) return ReportError("Password empty");
  SendRequest(TFtpRequest::ftpPass, "PASS " + PassWord, {230});
}

void TCustomFtpCli::CwdAsync() {
  if (HostDirName.empty()) return ReportError("HostDirName empty");
  SendRequest(TFtpRequest::ftpCwd, "CWD " + HostDirName, {200, 250, 257});
}

void TCustomFtpCli::PwdAsync() { SendRequest(TFtpRequest::ftpPwd, "PWD", {250, 257}); }

void TCustomFtpCli::QuitAsync() {
  localStream_.Close();
  // The connection closes after any final reply; the request ends through the close.
  SendRequest(TFtpRequest::ftpQuit, "QUIT", {221}, [this] { controlSocket_.Close(); });
}

void TCustomFtpCli::OpenSessionAsync() { RunSteps(TFtpRequest::ftpOpenSession, stepOpen | stepUser | stepPass); }

// ---- replies ------------------------------------------------------------------------------

void TCustomFtpCli::ControlDataAvailable() {
  char bytes[kReplyBufferSize];
  int room = static_cast<int>(kReplyBufferSize - 1 - replyBuffer_.size());
  int count = room > 0 ? controlSocket_.Receive(bytes, room) : 0;
  if (count > 0) replyBuffer_.append(bytes, static_cast<std::size_t>(count));
  for (;;) {
    std::size_t end = (Options & ftpAcceptLF) ? replyBuffer_.find('\n') : replyBuffer_.find("\r\n");
    if (end == std::string::npos) {
      if (replyBuffer_.size() >= kReplyBufferSize - 1) {
        // A line the buffer cannot hold: the operation ends instead of waiting for ever.
        replyBuffer_.clear();
        lastReply_ = "500 Reply line longer than " + std::to_string(kReplyBufferSize - 1) + " bytes";
        replyCode_ = resultCode_ = 500;
        KeepFirstError();
        chainNext_ = false;
        FinishRequest(500);
        controlSocket_.Close();
      }
      return;
    }
    std::string line = replyBuffer_.substr(0, end);
    replyBuffer_.erase(0, end + ((Options & ftpAcceptLF) ? 1 : 2));
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    lastReply_ = line;
    if (OnResponse) OnResponse(*this);
    bool numbered = !line.empty() && std::isdigit(static_cast<unsigned char>(line[0]));
    std::size_t digits = 0;
    while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits]))) ++digits;
    bool continued = digits < line.size() && line[digits] == '-';
    if (state_ == TFtpState::ftpAwaitingBanner) {
      Display("< " + line);
      if (!numbered || continued) continue;
      replyCode_ = ReplyNumber(line);
      if (replyCode_ != 220) {
        KeepFirstError();
        resultCode_ = replyCode_;
        controlSocket_.Close();
        return;
      }
      ChangeState(TFtpState::ftpBannerReceived);
      if (OnSessionConnected) OnSessionConnected(*this, 0);
      FinishRequest(0);
    } else if (state_ == TFtpState::ftpAwaitingReply) {
      if (!numbered || continued) {
        Display("< " + line);
        continue;
      }
      if (!replyHandler_) return ReportError("Program error: FNext is nil");
      replyHandler_();
    } else {
      Display("< " + line);
    }
    if (controlSocket_.State() == TSocketState::wsClosed) return;
  }
}

void TCustomFtpCli::ControlSessionClosed(int error) {
  if (controlConnected_) {
    controlConnected_ = false;
    if (state_ != TFtpState::ftpAborting) ChangeState(TFtpState::ftpOffline);
    if (OnSessionClosed) OnSessionClosed(*this, error);
  }
  if (state_ != TFtpState::ftpAborting) ChangeState(TFtpState::ftpBetweenSteps);
  if (error != 0) {
    SetNetworkError("Control connection closed. ", error);
  } else if (!finished_ && resultCode_ == 0 && !(inChain_ ? lastStep_ == stepQuit : requestKind_ == TFtpRequest::ftpQuit)) {
    // The server hung up before its final reply: the request did not succeed.
    lastReply_ = "500 Control connection closed before the final reply";
    replyCode_ = resultCode_ = 500;
    KeepFirstError();
  }
  FinishRequest(resultCode_);
}

void TCustomFtpCli::AbortSession() {
  TFtpState was = state_;
  ChangeState(TFtpState::ftpAborting);
  localStream_.Close();
  if (was == TFtpState::ftpResolving) controlSocket_.CancelDnsLookup();
  if (controlSocket_.State() != TSocketState::wsClosed) controlSocket_.Close();
  CloseDataSocket();
  localStream_.Close();
  controlConnected_ = false;
  ChangeState(TFtpState::ftpReady);
}

void TCustomFtpCli::HandleMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  if (message != kRequestDone && message != kStartSending) return;
  try {
    if (message == kStartSending) return StartSending();
    if (OnRequestDone) OnRequestDone(*this, static_cast<TFtpRequest>(wParam), static_cast<int>(lParam));
  } catch (const std::exception& e) {
    BgExceptionLetsClose(OnBgException, *this, e);  // nothing here to close
  }
}

// ---- the synchronous layer ----------------------------------------------------------------

TFtpClient::TFtpClient(TMessageQueue& queue, const TSystemServices& system) : TCustomFtpCli(queue, system) {}

bool TFtpClient::Progress(std::int64_t count) {
  MoveDeadline();
  return TCustomFtpCli::Progress(count);
}

void TFtpClient::MoveDeadline() { deadline_ = system_.TickCount() + static_cast<std::uint32_t>(Timeout) * 1000; }

bool TFtpClient::RunAndWait(const std::function<void()>& start) {
  try {
    start();
  } catch (const std::exception&) {
    return false;
  }
  return WaitUntilReady();
}

bool TFtpClient::WaitUntilReady() {
  MoveDeadline();
  for (;;) {
    if (state_ == TFtpState::ftpReady || state_ == TFtpState::ftpBetweenSteps) {
      queue_.PumpMessages();  // the request-finished message
      return resultCode_ == 0;
    }
    std::int32_t left = static_cast<std::int32_t>(deadline_ - system_.TickCount());
    if (Timeout > 0 && left <= 0) {
      AbortSession();
      errorMessage_ = "426 Timeout";
      replyCode_ = 426;
      return false;
    }
    // Sleeps in the queue's wait until something happens or the deadline comes: no spinning.
    queue_.WaitMessages(Timeout > 0 ? std::min<std::int32_t>(left, 100) : 100);
  }
}

bool TFtpClient::OpenSession() {
  // No login without both: said at once, in the form of a reply.
  if (UserName.empty() || PassWord.empty()) {
    errorMessage_ = UserName.empty() ? "500 UserName empty" : "500 Password empty";
    replyCode_ = 500;
    return false;
  }
  return RunAndWait([this] { OpenSessionAsync(); });
}
bool TFtpClient::ChangeDirectory() { return RunAndWait([this] { CwdAsync(); }); }
bool TFtpClient::PrintDirectory() { return RunAndWait([this] { PwdAsync(); }); }
bool TFtpClient::CloseSession() { return RunAndWait([this] { QuitAsync(); }); }
bool TFtpClient::StoreFile() { return RunAndWait([this] { StoreFileAsync(); }); }

}  // namespace tarnwick

// Sending one local file to the server: PORT, STOR, and the active-mode data connection the
// server opens to us.
#include <sys/socket.h>

#include <unistd.h>

#include <algorithm>

#include "ftp/FtpCli.h"
#include "platform/SocketErrors.h"
#include "platform/SystemServices.h"

namespace tarnwick {

namespace {

constexpr int kSendBlockSize = 1460;
constexpr int kBlocksPerBurst = 44;  // 64 KB
constexpr int kDiscardSize = 2048;

}  // namespace

void TCustomFtpCli::StoreFileAsync() { RunSteps(TFtpRequest::ftpStoreFile, stepPort | stepStor); }

void TCustomFtpCli::CloseDataSocket() {
  if (dataSocket_.State() != TSocketState::wsClosed) dataSocket_.Close();
}

void TCustomFtpCli::PortAsync() {
  dataSocket_.SetProto("tcp");
  dataSocket_.SetAddr("0.0.0.0");
  dataSocket_.SetPort("0");
  dataSocket_.OnSessionClosed = nullptr;
  dataSocket_.OnDataAvailable = nullptr;
  dataSocket_.OnDataSent = nullptr;
  dataSocket_.OnSessionAvailable = [this](TWSocket&, int) { StoreAcceptor(); };
  dataSocket_.LingerOnOff = TSocketLingerOnOff::wsLingerOn;
  dataSocket_.LingerTimeout = 10;
  dataSocket_.Listen();
  int port = dataSocket_.GetXPort();
  std::string host = controlSocket_.PeerAddr() == "127.0.0.1" ? "127.0.0.1" : controlSocket_.GetXAddr();
  std::replace(host.begin(), host.end(), '.', ',');
  byteCount_ = 0;
  SendRequest(TFtpRequest::ftpPort,
              "PORT " + host + "," + std::to_string(port / 256) + "," + std::to_string(port % 256), {200, 227});
}

void TCustomFtpCli::StorAsync() {
  if (!controlConnected_) return ReportError("STOR/APPE: not connected");
  if (LocalFileName.empty()) return ReportError("LocalFileName empty");
  finalReplySeen_ = dataClosed_ = finished_ = storAccepted_ = false;
  // Many servers connect as soon as PORT names the address, before STOR: that connection
  // counts, or the transfer would wait for one that never comes.
  dataConnected_ = dataSocket_.State() == TSocketState::wsConnected;
  sending_ = endOfFile_ = abortRequested_ = false;
  startTick_ = stopTick_ = 0;
  byteCount_ = 0;
  dataCloseError_ = 0;
  bool cancel = false;
  if (OnReadyToTransmit) OnReadyToTransmit(*this, cancel);
  if (cancel) return FailTransfer("426 Transmit cancelled by application");
  if (!localStream_.Open(LocalFileName, ShareMode))
    return FailTransfer("426 Unable to open local file " + LocalFileName);
  ChangeState(TFtpState::ftpAwaitingReply);
  replyHandler_ = [this] { StorReply(); };
  SendCommand("STOR " + HostFileName);
}

// Ends the STOR step before anything was sent, with a reason of our own.
void TCustomFtpCli::FailTransfer(const std::string& message) {
  errorMessage_ = message;
  replyCode_ = 426;
  Display("! " + message);
  CloseDataSocket();
  localStream_.Close();
  resultCode_ = 426;
  FinishRequest(426);
}

void TCustomFtpCli::StoreAcceptor() {
  int accepted = dataSocket_.Accept();
  if (accepted < 0) return;
  dataSocket_.OnSessionAvailable = nullptr;
  dataSocket_.Close();
  dataSocket_.OnSessionClosed = [this](TWSocket&, int error) { StoreDataClosed(error); };
  dataSocket_.OnDataAvailable = [](TWSocket& socket, int) {
    char discarded[kDiscardSize];
    socket.Receive(discarded, kDiscardSize);
  };
  dataSocket_.OnDataSent = [this](TWSocket&, int error) { SendNextBlock(error); };
  dataSocket_.ComponentOptions = wsoNoReceiveLoop;
  int sendBuffer = 0;
  socklen_t size = sizeof sendBuffer;
  if (::getsockopt(accepted, SOL_SOCKET, SO_SNDBUF, &sendBuffer, &size) != 0) {
    ::close(accepted);
    return ReportError("winsock.getsockopt(SO_SNDBUF) failed");
  }
  dataSocket_.LingerOnOff = TSocketLingerOnOff::wsLingerOff;
  dataSocket_.LingerTimeout = 10;
  dataSocket_.Dup(accepted);
  dataConnected_ = true;
  if (storAccepted_ && !sending_) queue_.Post(this, kStartSending, 0, 0);
}

void TCustomFtpCli::StorReply() {
  TakeFinalReply();
  if (replyCode_ == 150 || replyCode_ == 125) {
    storAccepted_ = true;
    if (dataConnected_ && !sending_) queue_.Post(this, kStartSending, 0, 0);
    replyHandler_ = [this] { TransferEndReply(); };
    return;
  }
  KeepFirstError();
  replyHandler_ = nullptr;
  CloseDataSocket();
  localStream_.Close();
  resultCode_ = replyCode_;
  FinishRequest(resultCode_);
}

void TCustomFtpCli::StartSending() {
  if (sending_ || !localStream_.IsOpen()) return;
  sending_ = true;
  startTick_ = system_.TickCount();
  SendNextBlock(0);
}

bool TCustomFtpCli::Progress(std::int64_t count) {
  bool abort = false;
  if (OnProgress) OnProgress(*this, count, abort);
  return abort;
}

void TCustomFtpCli::SendNextBlock(int error) {
  // Only one chain of blocks runs: the one the start of sending began, up to the end of file.
  if (!sending_ || endOfFile_ || !localStream_.IsOpen()) return;
  if (Progress(byteCount_)) return AbortTransfer();
  if (error != 0) {
    Display("! Error #" + std::to_string(error) + " sending data");
    return CloseDataSocket();
  }
  if (!storAccepted_ || !dataConnected_) return;
  // The file is read and handed over in 1460-byte blocks, each announced by a progress event,
  // but a whole burst of them goes out per data-sent notification: one notification per block
  // would cap the speed far below the network's. The burst bounds the memory used.
  char burst[kBlocksPerBurst * kSendBlockSize];
  int count = localStream_.Read(burst, static_cast<int>(sizeof burst));
  if (count < 0) {
    Display("! Error reading file");
    return CloseDataSocket();
  }
  if (count == 0) {
    // Every byte is with the kernel already (this runs when the send queue is empty), so the
    // close needs no pause first.
    dataSocket_.CloseDelayed();
    endOfFile_ = true;
    return;
  }
  int handed = std::min(count, kSendBlockSize);
  bool aborted = false;
  while (handed < count && !(aborted = Progress(byteCount_ + handed))) handed += std::min(count - handed, kSendBlockSize);
  byteCount_ += handed;
  dataSocket_.Send(std::string_view(burst, static_cast<std::size_t>(handed)));
  if (aborted) AbortTransfer();
}

void TCustomFtpCli::AbortTransfer() {
  abortRequested_ = true;
  endOfFile_ = true;
  Display("! Abort requested");
  CloseDataSocket();
}

void TCustomFtpCli::StoreDataClosed(int error) {
  localStream_.Close();
  dataClosed_ = true;
  dataCloseError_ = error;
  CompletionCheck();
}

void TCustomFtpCli::TransferEndReply() {
  TakeFinalReply();
  if (replyCode_ == 226 || replyCode_ == 250) {
    finalReplySeen_ = true;
    return CompletionCheck();
  }
  KeepFirstError();
  localStream_.Close();
  CloseDataSocket();
  Display("! STOR Failed");
  resultCode_ = replyCode_;
  FinishRequest(resultCode_);
}

void TCustomFtpCli::CompletionCheck() {
  if (!finalReplySeen_ || !dataClosed_) return;
  stopTick_ = system_.TickCount();
  std::uint32_t elapsed = stopTick_ - startTick_;
  std::string line = "! " + std::to_string(byteCount_) + " bytes received/sent in " +
                     std::to_string(elapsed / 1000) + " seconds";
  if (elapsed != 0) {
    std::int64_t rate = byteCount_ < 32768 ? byteCount_ * 1000LL / elapsed : byteCount_ / elapsed * 1000LL;
    line += " (" + std::to_string(rate) + " Bytes/sec)";
  }
  Display(line);
  resultCode_ = dataCloseError_;
  if (resultCode_ != 0 && errorMessage_.empty()) {
    // The server confirmed a file that did not arrive whole: say why it failed.
    errorMessage_ = "426 Data connection closed. " + WinsockErrorDesc(resultCode_) + " (Winsock error #" +
                    std::to_string(resultCode_) + ")";
  }
  // The server confirms what it got, but a file the user stopped is not on the server whole.
  if (resultCode_ == 0 && abortRequested_) {
    errorMessage_ = "426 Transfer cancelled by user";
    replyCode_ = resultCode_ = 426;
  }
  FinishRequest(resultCode_);
}

}  // namespace tarnwick

#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ftp/WSocket.h"
#include "platform/SharedReadFile.h"

namespace tarnwick {

class TSystemServices;

class FtpException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TFtpState { ftpOffline, ftpReady, ftpBetweenSteps, ftpResolving, ftpAwaitingBanner, ftpBannerReceived,
                       ftpAwaitingReply, ftpPassiveReady, ftpAborting };
enum class TFtpRequest { ftpNone, ftpOpen, ftpUser, ftpPass, ftpCwd, ftpPwd, ftpQuit, ftpOpenSession, ftpPort,
                         ftpStor, ftpStoreFile };
enum TFtpOption : unsigned { ftpAcceptLF = 1, ftpNoAutoResumeAt = 2, ftpAuthSsl = 4 };

// The FTP control session (RFC 959): every operation is asynchronous inside, one command or a
// chain of steps finishing when its final reply arrives, over a TWSocket.
class TCustomFtpCli : public TMessageTarget {
 public:
  using TNotifyEvent = std::function<void(TCustomFtpCli&)>;
  using TErrorEvent = std::function<void(TCustomFtpCli&, int error)>;
  using TRequestDoneEvent = std::function<void(TCustomFtpCli&, TFtpRequest request, int error)>;
  using TTextEvent = std::function<void(TCustomFtpCli&, std::string& text)>;
  using TProgressEvent = std::function<void(TCustomFtpCli&, std::int64_t count, bool& abort)>;
  using TReadyToTransmitEvent = std::function<void(TCustomFtpCli&, bool& cancel)>;

  TCustomFtpCli(TMessageQueue& queue, const TSystemServices& system);
  ~TCustomFtpCli() override;

  std::string HostName;
  std::string Port = "ftp";
  std::string UserName;
  std::string PassWord;
  std::string HostDirName;
  std::string LocalFileName;
  std::string HostFileName;
  bool Binary = true;  // only a TYPE step would use it, and none runs
  TFtpShareMode ShareMode = TFtpShareMode::ftpShareExclusive;
  std::string LocalAddr = "0.0.0.0";
  unsigned Options = ftpAcceptLF;

  TFtpState State() const { return state_; }
  const std::string& ErrorMessage() const { return errorMessage_; }
  const std::string& LastReply() const { return lastReply_; }
  int ReplyCode() const { return replyCode_; }
  int ResultCode() const { return resultCode_; }
  bool Connected() const { return controlSocket_.State() != TSocketState::wsClosed; }
  TWSocket& ControlSocket() { return controlSocket_; }
  TWSocket& DataSocket() { return dataSocket_; }
  std::int64_t ByteCount() const { return byteCount_; }

  // The asynchronous operations; each ends with OnRequestDone.
  void OpenAsync();
  void UserAsync();
  void PassAsync();
  void CwdAsync();
  void PwdAsync();
  void QuitAsync();
  void OpenSessionAsync();  // open, USER and PASS as one chain
  void PortAsync();
  void StorAsync();
  void StoreFileAsync();  // PORT and STOR as one chain
  void AbortSession();

  TErrorEvent OnSessionConnected;
  TErrorEvent OnSessionClosed;
  TNotifyEvent OnStateChange;
  TRequestDoneEvent OnRequestDone;
  TTextEvent OnDisplay;
  TTextEvent OnCommand;
  TNotifyEvent OnResponse;
  TTextEvent OnError;
  TProgressEvent OnProgress;
  TReadyToTransmitEvent OnReadyToTransmit;
  std::function<void(TCustomFtpCli&, const std::exception&, bool& canClose)> OnBgException;

  void HandleMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;

 protected:
  static constexpr unsigned kStartSending = 1026;  // WM_USER + 2

  enum TStep : unsigned { stepOpen = 1, stepUser = 2, stepPass = 4, stepCwd = 8, stepPort = 16, stepStor = 32,
                       stepQuit = 64 };

  void ChangeState(TFtpState state);
  void Display(std::string line);  // one protocol log line to OnDisplay
  void ReportError(const std::string& text);
  bool EnsureReady();
  void KeepFirstError();
  void SendCommand(std::string command);
  void SendRequest(TFtpRequest request, const std::string& command, std::vector<int> accepted,
                   std::function<void()> continuation = nullptr);
  void FinishRequest(int code);
  void RunSteps(TFtpRequest request, unsigned steps);
  void NextStep();
  void TakeFinalReply();  // logs the final reply line and takes its number as ReplyCode
  void StandardReply();
  void SetNetworkError(const std::string& prefix, int error);

  void ControlDnsLookupDone(int error);
  void ControlSessionConnected(int error);
  void ControlDataAvailable();
  void ControlSessionClosed(int error);

  // Fires OnProgress; the synchronous layer also counts it as a sign of life.
  virtual bool Progress(std::int64_t count);
  void StoreAcceptor();
  void StorReply();
  void TransferEndReply();
  void StartSending();
  void SendNextBlock(int error);
  void AbortTransfer();
  void StoreDataClosed(int error);
  void CompletionCheck();
  void FailTransfer(const std::string& message);
  void CloseDataSocket();

  TMessageQueue& queue_;
  const TSystemServices& system_;  // the tick count
  TWSocket controlSocket_;
  TFtpState state_ = TFtpState::ftpReady;
  bool controlConnected_ = false;
  std::string lastReply_;
  int replyCode_ = 0;
  int resultCode_ = 0;
  std::string errorMessage_;
  TFtpRequest requestKind_ = TFtpRequest::ftpNone;
  std::vector<int> acceptedCodes_;
  std::function<void()> replyHandler_;
  std::function<void()> continuation_;
  bool finished_ = true;
  bool inChain_ = false;
  unsigned pendingSteps_ = 0;
  unsigned lastStep_ = 0;
  int chainResult_ = 0;
  bool chainNext_ = false;
  std::string savedReply_;
  int savedCode_ = -1;
  std::string replyBuffer_;  // received bytes that are no complete line yet

  TWSocket dataSocket_;
  TSharedReadFile localStream_;
  std::int64_t byteCount_ = 0;  // wider than 32 bits: files over 2 GB must not wrap
  std::uint32_t startTick_ = 0;
  std::uint32_t stopTick_ = 0;
  bool sending_ = false;  // the first block went out; the tick alone cannot say so
  bool storAccepted_ = false;
  bool dataConnected_ = false;
  bool endOfFile_ = false;
  bool finalReplySeen_ = false;
  bool dataClosed_ = false;
  int dataCloseError_ = 0;
  bool abortRequested_ = false;
};

// The synchronous layer: each operation starts the asynchronous one and waits for it, up to
// Timeout seconds of silence, sleeping in the message queue's wait between events.
class TFtpClient : public TCustomFtpCli {
 public:
  TFtpClient(TMessageQueue& queue, const TSystemServices& system);

  int Timeout = 15;
  bool MultiThreaded = false;  // no effect: the queue given at construction is the pump either way

  bool OpenSession();
  bool ChangeDirectory();
  bool PrintDirectory();
  bool CloseSession();
  bool StoreFile();

 protected:
  bool Progress(std::int64_t count) override;
  bool RunAndWait(const std::function<void()>& start);
  bool WaitUntilReady();
  void MoveDeadline();

  std::uint32_t deadline_ = 0;
};

// The number at the start of a reply line (blanks, an optional sign, digits); 0 without one.
int ReplyNumber(const std::string& line);

}  // namespace tarnwick

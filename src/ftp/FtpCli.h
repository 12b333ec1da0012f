#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ftp/WSocket.h"

namespace tarnwick {

class TSystemServices;

class FtpException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TFtpState { ftpOffline, ftpReady, ftpBetweenSteps, ftpResolving, ftpAwaitingBanner, ftpBannerReceived,
                       ftpAwaitingReply, ftpPassiveReady, ftpAborting };
enum class TFtpRequest { ftpNone, ftpOpen, ftpUser, ftpPass, ftpCwd, ftpPwd, ftpQuit, ftpOpenSession };
enum TFtpOption : unsigned { ftpAcceptLF = 1, ftpNoAutoResumeAt = 2, ftpAuthSsl = 4 };

// The FTP control session (RFC 959): every operation is asynchronous inside, one command or a
// chain of steps finishing when its final reply arrives, over a TWSocket.
class TCustomFtpCli : public TMessageTarget {
 public:
  using TNotifyEvent = std::function<void(TCustomFtpCli&)>;
  using TErrorEvent = std::function<void(TCustomFtpCli&, int error)>;
  using TRequestDoneEvent = std::function<void(TCustomFtpCli&, TFtpRequest request, int error)>;
  using TTextEvent = std::function<void(TCustomFtpCli&, std::string& text)>;

  explicit TCustomFtpCli(TMessageQueue& queue);
  ~TCustomFtpCli() override;

  std::string HostName;
  std::string Port = "ftp";
  std::string UserName;
  std::string PassWord;
  std::string HostDirName;
  std::string LocalAddr = "0.0.0.0";
  unsigned Options = ftpAcceptLF;

  TFtpState State() const { return state_; }
  const std::string& ErrorMessage() const { return errorMessage_; }
  const std::string& LastReply() const { return lastReply_; }
  int ReplyCode() const { return replyCode_; }
  int ResultCode() const { return resultCode_; }
  bool Connected() const { return controlSocket_.State() != TSocketState::wsClosed; }
  TWSocket& ControlSocket() { return controlSocket_; }

  // The asynchronous operations; each ends with OnRequestDone.
  void OpenAsync();
  void UserAsync();
  void PassAsync();
  void CwdAsync();
  void PwdAsync();
  void QuitAsync();
  void OpenSessionAsync();  // open, USER and PASS as one chain
  void AbortSession();

  TErrorEvent OnSessionConnected;
  TErrorEvent OnSessionClosed;
  TNotifyEvent OnStateChange;
  TRequestDoneEvent OnRequestDone;
  TTextEvent OnDisplay;
  TTextEvent OnCommand;
  TNotifyEvent OnResponse;
  TTextEvent OnError;
  std::function<void(TCustomFtpCli&, const std::exception&, bool& canClose)> OnBgException;

  void HandleMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;

 protected:
  enum TStep : unsigned { stepOpen = 1, stepUser = 2, stepPass = 4, stepCwd = 8, stepQuit = 16 };

  void ChangeState(TFtpState state);
  void ReportError(const std::string& text);
  bool EnsureReady();
  void KeepFirstError();
  void SendCommand(std::string command);
  void SendRequest(TFtpRequest request, const std::string& command, std::vector<int> accepted,
                   std::function<void()> continuation = nullptr);
  void FinishRequest(int code);
  void RunSteps(TFtpRequest request, unsigned steps);
  void NextStep();
  void StandardReply();
  void SetNetworkError(const std::string& prefix, int error);

  void ControlDnsLookupDone(int error);
  void ControlSessionConnected(int error);
  void ControlDataAvailable();
  void ControlSessionClosed(int error);

  TMessageQueue& queue_;
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
};

// The synchronous layer: each operation starts the asynchronous one and waits for it, up to
// Timeout seconds of silence, sleeping in the message queue's wait between events.
class TFtpClient : public TCustomFtpCli {
 public:
  TFtpClient(TMessageQueue& queue, const TSystemServices& system);

  int Timeout = 15;
  bool MultiThreaded = false;

  bool OpenSession();
  bool ChangeDirectory();
  bool PrintDirectory();
  bool CloseSession();

 protected:
  bool RunAndWait(const std::function<void()>& start);
  bool WaitUntilReady();
  void MoveDeadline();

  const TSystemServices& system_;
  std::uint32_t deadline_ = 0;
};

// The number at the start of a reply line (blanks, an optional sign, digits); 0 without one.
int ReplyNumber(const std::string& line);

}  // namespace tarnwick

#pragma once

#include <QMainWindow>

#include <array>

#include "settings/RegistrySettings.h"

class QAction;
class QLabel;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;

namespace tarnwick {

class TDialogs;
class TRegistryStore;
class TSystemServices;

// The services of the system the main window works through; tests hand in scripted ones.
struct TAppServices {
  TDialogs& dialogs;
  TSystemServices& system;
  TRegistryStore& registry;
};

class TfrmMain : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kStatusPanelCount = 4;

  explicit TfrmMain(TAppServices services, QWidget* parent = nullptr);
  ~TfrmMain() override;

  void ClearStatusBar();
  QString StatusPanelText(int panel) const;
  void SetStatusPanelText(int panel, const QString& text);
  int StatusPanelWidth(int panel) const;

  TSettings Settings;
  bool ClassicLook = false;
  bool Closing = false;
  bool CloseCancelled = false;

  QTabWidget* pcMain = nullptr;
  QWidget* panNoDocsOpen = nullptr;
  QStatusBar* sbMain = nullptr;
  QTimer* tmrKeepAlive = nullptr;
  QToolBar* tbMain = nullptr;
  QToolBar* tbUpload = nullptr;
  QToolBar* tbHighlighting = nullptr;
  QAction* actExit = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLayout();
  void BuildStatusBar();
  TSettingsEnvironment SettingsEnvironment();
  void ReportLoadProblems(const TSettingsLoadReport& report);
  void RestoreGeometry();
  void RecordGeometry();
  // Saves the settings; a refusal is shown to the user, who can go on working.
  void SaveSettingsReporting();

  TAppServices services_;
  std::array<QLabel*, kStatusPanelCount> statusPanels_{};
  bool lastSaveFailed_ = false;
};

// Whether the look is the classic one without visual styles; this platform is always themed.
bool VisualStylesInactive();

}  // namespace tarnwick

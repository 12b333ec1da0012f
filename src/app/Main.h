#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/SynEditSearch.h"
#include "platform/Dialogs.h"
#include "settings/RegistrySettings.h"

class QComboBox;
class QLabel;
class QMenu;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;

namespace tarnwick {

class TAction;
class TClipboard;
class TfrmAbout;
class TfrmConfirmReplace;
class TfrmEdtOptions;
class TfrmFind;
class TfrmGenOptions;
class TfrmGotoLine;
class TfrmReplace;
class TRegistryStore;
class TSynCssSyn;
class TSynCustomHighlighter;
class TSynEdit;
class TSynEditSearch;
class TSynEditWidget;
class TSynHTMLSyn;
class TSynXMLSyn;
class TSystemServices;

// The services of the system the main window works through; tests hand in scripted ones.
struct TAppServices {
  TDialogs& dialogs;
  TSystemServices& system;
  TRegistryStore& registry;
  TClipboard& clipboard;
};

// How a save ended: only a written file lets a close go on.
enum class TSaveResult { srSaved, srCancelled, srFailed };

class TfrmMain : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kStatusPanelCount = 4;
  static constexpr int kRecentFileCount = 5;
  // The path of a document that has never been saved.
  static constexpr const char* kUntitledPath = ";";

  explicit TfrmMain(TAppServices services, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // Files named on the command line, opened when the window is first shown.
  std::vector<std::string> CommandLineArgs;

  // ---- the document workspace
  int DocumentCount() const { return static_cast<int>(PathList.size()); }
  // -1 when no document is open.
  int ActiveIndex() const;
  TSynEdit* ActiveEditor() const;
  TSynEditWidget* ActiveEditorWidget() const;
  QString PageCaption(int index) const;
  void SetPageCaption(int index, const QString& caption);
  void SetActivePage(int index);

  TSynEdit& AddDocumentPage(const std::string& name);
  void ApplyEditorSettings(TSynEdit& editor);
  void pcMainChange();
  void UpdateStatusBar(bool caretPanels, bool filePanel);
  void ClearStatusBar();
  void CloseActiveDocument();
  void CloseAll();
  void EditorChange(TSynEdit& editor);
  void EditorCaretMoved();
  void OpenDroppedFiles(const std::vector<std::string>& files);

  // ---- the file commands
  void New();
  // False when a file could not be read; the files after it are not opened.
  bool Open();
  TSaveResult Save();
  TSaveResult SaveAs();
  void SaveAll();
  void AddRecentFile(const std::string& path);
  void RefreshReopenItems();
  // The path the chosen Reopen command showed.
  void ReopenItemExecute(const std::string& path);

  // ---- the edit, view and help commands
  void Delete();
  void TimeDate();
  void ToolbarToggle(QToolBar* toolbar, TAction* action);
  void ShowHiddenCharsToggle();
  void WordWrapToggle();
  void ShowGutterToggle();
  void ShowLineNumbersToggle();
  void SetActiveHighlighter(TAction* choice);
  void TBXComboBoxItem2Change();
  void ViewOnlineFAQ();
  void ShowAbout();

  // ---- searching and the option windows
  // The one way the search windows and Find Next search the active document.
  void RunSearch(TSynSearchOptions options, const std::string& findText, const std::string& replaceText);
  void ConfirmReplaceText(const std::string& search, const std::string& replace, int line, int column,
                          TSynReplaceAction& action);
  void ShowFind();
  void ShowReplace();
  void FindNext();
  void ShowGotoLine();
  void ShowGeneralOptions();
  void ShowEditorOptions();

  TDialogs& Dialogs() { return services_.dialogs; }
  TSystemServices& System() { return services_.system; }
  // Saves the settings; a refusal is shown to the user, who can go on working.
  void SaveSettingsReporting();
  void SwitchKeepAliveTimer(bool on);

  // Asks every command's enable rule; runs whenever the application becomes idle.
  void UpdateActions();

  QString StatusPanelText(int panel) const;
  void SetStatusPanelText(int panel, const QString& text);
  int StatusPanelWidth(int panel) const;

  TSettings Settings;
  bool ClassicLook = false;
  bool Closing = false;
  bool CloseCancelled = false;
  bool OpenPending = false;
  std::string PendingPath;
  bool SavingAll = false;
  int SaveTarget = -1;
  std::string LastFindText;
  TSynSearchOptions LastFindOptions = 0;

  std::vector<QWidget*> PageList;
  std::vector<TSynEditWidget*> EditorList;
  std::vector<std::string> PathList;  // kUntitledPath for a document never saved

  TFileDialog opdMain;
  TFileDialog svdMain;

  QTabWidget* pcMain = nullptr;
  QWidget* panNoDocsOpen = nullptr;
  QStatusBar* sbMain = nullptr;
  QTimer* tmrKeepAlive = nullptr;
  QToolBar* tbMain = nullptr;
  QToolBar* tbHighlighting = nullptr;
  QLabel* lblHighlighting = nullptr;
  QComboBox* TBXComboBoxItem2 = nullptr;
  QToolButton* btnOpen = nullptr;
  QMenu* mnuReopen = nullptr;
  QMenu* popEditor = nullptr;
  // The windows of the program, created with the main window in this order.
  TfrmEdtOptions* frmEdtOptions = nullptr;
  TfrmAbout* frmAbout = nullptr;
  TfrmGenOptions* frmGenOptions = nullptr;
  TfrmGotoLine* frmGotoLine = nullptr;
  TfrmFind* frmFind = nullptr;
  TfrmReplace* frmReplace = nullptr;
  TfrmConfirmReplace* frmConfirmReplace = nullptr;

  std::unique_ptr<TSynHTMLSyn> synHTML;
  std::unique_ptr<TSynCssSyn> synCSS;
  std::unique_ptr<TSynXMLSyn> synXML;
  std::unique_ptr<TSynEditSearch> sesMain;

  TAction* actNew = nullptr;
  TAction* actOpen = nullptr;
  TAction* actClose = nullptr;
  TAction* actCloseAll = nullptr;
  TAction* actSave = nullptr;
  TAction* actSaveAs = nullptr;
  TAction* actSaveAll = nullptr;
  TAction* actExit = nullptr;
  TAction* actUndo = nullptr;
  TAction* actRedo = nullptr;
  TAction* actCut = nullptr;
  TAction* actCopy = nullptr;
  TAction* actPaste = nullptr;
  TAction* actDelete = nullptr;
  TAction* actSelectAll = nullptr;
  TAction* actFind = nullptr;
  TAction* actFindNext = nullptr;
  TAction* actReplace = nullptr;
  TAction* actGotoLine = nullptr;
  TAction* actTimeDate = nullptr;
  TAction* actToolbarMain = nullptr;
  TAction* actToolbarHighlighting = nullptr;
  TAction* actShowLineNumbers = nullptr;
  TAction* actShowGutter = nullptr;
  TAction* actShowHiddenChars = nullptr;
  TAction* actSHNone = nullptr;
  TAction* actSHHTML = nullptr;
  TAction* actSHCSS = nullptr;
  TAction* actSHXML = nullptr;
  TAction* actWordWrap = nullptr;
  TAction* actGeneralOptions = nullptr;
  TAction* actEdtOptions = nullptr;
  TAction* actFAQ = nullptr;
  TAction* actAbout = nullptr;
  std::array<TAction*, kRecentFileCount> actReopen{};

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  QMenu* createPopupMenu() override;

 private:
  void BuildLayout();
  void BuildStatusBar();
  void BuildActions();
  void BuildMenus();
  void BuildToolbars();
  QToolBar* AddClosableToolbar(const QString& caption, TAction* toggle);
  void FirstShow();
  void OpenCommandLineFiles();
  TSettingsEnvironment SettingsEnvironment();
  void ReportLoadProblems(const TSettingsLoadReport& report);
  void RestoreGeometry();
  void RecordGeometry();
  void SetHighlightingControlsEnabled(bool enabled);
  struct THighlighterChoice {
    TAction* action;
    TSynCustomHighlighter* highlighter;  // nullptr for none
  };
  // None, HTML, CSS, XML: the order of THighlighterKind.
  std::array<THighlighterChoice, 4> HighlighterChoices() const;
  void ShowHighlighterChoice(TAction* choice);
  TAction* HighlighterChoiceOf(const TSynEdit& editor) const;
  void DisposeDocument(int index);
  void ForEachEditor(const std::function<void(TSynEdit&)>& change);
  TSaveResult WriteDocument(int index, const std::string& path);
  bool HasDocument() const { return ActiveIndex() >= 0; }

  TAppServices services_;
  std::vector<TAction*> actions_;
  std::array<QLabel*, kStatusPanelCount> statusPanels_{};
  bool lastSaveFailed_ = false;
  bool shown_ = false;
  bool changingPages_ = false;  // pages are being added or removed by the workspace
};

// Whether the look is the classic one without visual styles; this platform is always themed.
bool VisualStylesInactive();

}  // namespace tarnwick

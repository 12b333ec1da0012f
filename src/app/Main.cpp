#include "app/Main.h"

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenu>
#include <QTabBar>

#include <filesystem>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QStackedLayout>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/About.h"
#include "app/Action.h"
#include "app/ConfirmReplace.h"
#include "app/EdtOptions.h"
#include "app/Find.h"
#include "app/GenOptions.h"
#include "app/GotoLine.h"
#include "app/Replace.h"
#include "app/Misc.h"
#include "editor/SynEditSearch.h"
#include "editor/qt/SynEditWidget.h"
#include "highlight/HighlighterConfiguration.h"
#include "highlight/SynHighlighterCSS.h"
#include "highlight/SynHighlighterHtml.h"
#include "highlight/SynHighlighterXML.h"
#include "platform/SystemServices.h"

namespace tarnwick {

namespace {

constexpr QRect kDesignGeometry(319, 118, 764, 609);
constexpr int kKeepAliveInterval = 25000;

struct TStatusPanelDesign {
  const char* text;
  int width;
  Qt::Alignment alignment;
};

const TStatusPanelDesign kStatusPanels[TfrmMain::kStatusPanelCount] = {
    {"Ln: 1", 60, Qt::AlignCenter},
    {"Col: 1", 64, Qt::AlignCenter},
    {"", 26, Qt::AlignCenter},  // the connection indicator, drawn by the program
    {"File", 50, Qt::AlignLeft | Qt::AlignVCenter},
};

const std::vector<TFileDialogFilter> kFileFilters = {
    {"All Files (*.*)", "*.*"},
    {"Web Pages (*.htm;*.html;*.shtml;*.shtm;*.stm;*.asp;*.aspx;*.css;*.htt;*.inc;*hta;*.htc;*.jsp;*.cfm;*.phtml;*.php;"
     "*.php2;*.php3;*.xml;*.xsl)",
     "*.htm;*.html;*.shtml;*.shtm;*.stm;*.asp;*.aspx;*.css;*.htt;*.inc;*hta;*.htc;*.jsp;*.cfm;*.phtml;*.php;*.php2;"
     "*.php3;*.xml;*.xsl"},
    {"Text File (*.txt)", "*.txt"},
};

TFileDialog FileDialogStartingOnWebPages(bool allowMultiSelect) {
  TFileDialog dialog;
  dialog.filters = kFileFilters;
  dialog.filterIndex = 2;
  dialog.allowMultiSelect = allowMultiSelect;
  return dialog;
}

}  // namespace

bool VisualStylesInactive() { return false; }

TfrmMain::TfrmMain(TAppServices services, QWidget* parent)
    : QMainWindow(parent),
      opdMain(FileDialogStartingOnWebPages(true)),
      svdMain(FileDialogStartingOnWebPages(false)),
      synHTML(std::make_unique<TSynHTMLSyn>()),
      synCSS(std::make_unique<TSynCssSyn>()),
      synXML(std::make_unique<TSynXMLSyn>()),
      sesMain(std::make_unique<TSynEditSearch>()),
      services_(services) {
  setWindowTitle("Tarnwick");
  QFont font("Tahoma");
  font.setPixelSize(11);
  setFont(font);
  setMinimumSize(300, 200);
  move(kDesignGeometry.topLeft());
  resize(kDesignGeometry.size());
  ConfigureHighlighters(*synHTML, *synCSS, *synXML);
  BuildActions();
  BuildLayout();
  BuildMenus();
  BuildToolbars();
  frmEdtOptions = new TfrmEdtOptions(*this);
  frmAbout = new TfrmAbout(this);
  frmGenOptions = new TfrmGenOptions(*this);
  frmGotoLine = new TfrmGotoLine(*this);
  frmFind = new TfrmFind(*this);
  frmReplace = new TfrmReplace(*this);
  frmConfirmReplace = new TfrmConfirmReplace(this);

  Closing = false;
  ClearStatusBar();
  ReportLoadProblems(LoadSettings(Settings, services_.registry, SettingsEnvironment()));
  tmrKeepAlive->setInterval(kKeepAliveInterval);
  SwitchKeepAliveTimer(Settings.FTPKeepAlive);
  RefreshReopenItems();
  RestoreGeometry();
  ClassicLook = VisualStylesInactive();
  if (!ClassicLook) statusPanels_[2]->setFixedWidth(kStatusPanels[2].width + 3);
  // The loop is about to wait: the application is idle.
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, &TfrmMain::UpdateActions);
}

TfrmMain::~TfrmMain() {
  // Pages still open go first: their editors use the highlighters and the search engine,
  // which go before the window's children would.
  changingPages_ = true;
  for (QWidget* page : PageList) delete page;
  PageList.clear();
  EditorList.clear();
  PathList.clear();
  // Saved once more as the window goes, as when it closed; a failure already reported at the
  // close is not reported twice.
  bool failedAtClose = lastSaveFailed_;
  try {
    SaveSettings(Settings, services_.registry, SettingsEnvironment());
  } catch (const ERegistryException& e) {
    if (!failedAtClose) services_.dialogs.ShowException(e.what(), e.Reason());
  }
}

void TfrmMain::BuildLayout() {
  auto* client = new QWidget(this);
  auto* column = new QVBoxLayout(client);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  auto* gap = new QWidget(client);
  gap->setFixedHeight(2);
  column->addWidget(gap);

  auto* pages = new QWidget(client);
  auto* stack = new QStackedLayout(pages);
  stack->setStackingMode(QStackedLayout::StackAll);
  pcMain = new QTabWidget(pages);
  pcMain->setObjectName("pcMain");
  // Every tab stays visible, so a tab's index is its document's index.
  pcMain->setUsesScrollButtons(false);
  pcMain->tabBar()->setExpanding(false);
  pcMain->setDocumentMode(false);
  pcMain->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(pcMain, &QTabWidget::currentChanged, this, [this] {
    // Pages that the workspace adds or removes are refreshed by the workspace itself.
    if (!changingPages_) pcMainChange();
  });
  connect(pcMain, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (HasDocument()) popEditor->popup(pcMain->mapToGlobal(at));
  });
  auto* blank = new QFrame(pages);
  blank->setObjectName("panNoDocsOpen");
  blank->setFrameShape(QFrame::NoFrame);
  blank->setAutoFillBackground(true);
  panNoDocsOpen = blank;
  stack->addWidget(pcMain);
  stack->addWidget(panNoDocsOpen);
  stack->setCurrentWidget(panNoDocsOpen);
  column->addWidget(pages, 1);
  setCentralWidget(client);

  tmrKeepAlive = new QTimer(this);
  BuildStatusBar();
}

void TfrmMain::BuildStatusBar() {
  sbMain = new QStatusBar(this);
  sbMain->setObjectName("sbMain");
  sbMain->setFixedHeight(19);
  for (int i = 0; i < kStatusPanelCount; ++i) {
    auto* panel = new QLabel(QString::fromUtf8(kStatusPanels[i].text), sbMain);
    panel->setAlignment(kStatusPanels[i].alignment);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    // The File panel shows a whole path, so it takes the rest of the bar.
    bool last = i == kStatusPanelCount - 1;
    if (last)
      panel->setMinimumWidth(kStatusPanels[i].width);
    else
      panel->setFixedWidth(kStatusPanels[i].width);
    sbMain->addWidget(panel, last ? 1 : 0);
    statusPanels_[i] = panel;
  }
  setStatusBar(sbMain);
}

QString TfrmMain::StatusPanelText(int panel) const { return statusPanels_.at(panel)->text(); }

void TfrmMain::SetStatusPanelText(int panel, const QString& text) { statusPanels_.at(panel)->setText(text); }

int TfrmMain::StatusPanelWidth(int panel) const { return statusPanels_.at(panel)->width(); }

TSettingsEnvironment TfrmMain::SettingsEnvironment() {
  // Qt knows the frame only once a window manager has drawn it, so the stored geometry is the
  // frame's position with the client's size: what is recorded is exactly what restores.
  return {services_.system, [this] { return TWindowBounds{x(), y(), width(), height()}; }};
}

void TfrmMain::ReportLoadProblems(const TSettingsLoadReport& report) {
  if (!report.storeError.empty()) services_.dialogs.ShowException(report.storeError, report.storeErrorReason);
  std::string notice = services_.registry.TakeDamageNotice();
  if (!report.defaultedValues.empty()) {
    std::string names;
    for (const std::string& name : report.defaultedValues) names += (names.empty() ? "" : ", ") + name;
    if (!notice.empty()) notice += "\n\n";
    notice += "These settings were stored with the wrong type and are back to their defaults: " + names + ".";
  }
  if (!notice.empty()) services_.dialogs.MessageDlg(notice, TMsgDlgType::mtWarning, mbOK);
}

void TfrmMain::RestoreGeometry() {
  // Applied as stored, without checking them against the screen.
  move(Settings.WindowLeft, Settings.WindowTop);
  resize(Settings.WindowWidth, Settings.WindowHeight);
  setWindowState(Settings.WindowMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
}

void TfrmMain::RecordGeometry() {
  if (isMaximized()) {
    Settings.WindowMaximized = true;
    return;
  }
  Settings.WindowMaximized = false;
  Settings.WindowLeft = x();
  Settings.WindowTop = y();
  Settings.WindowWidth = width();
  Settings.WindowHeight = height();
}

void TfrmMain::SaveSettingsReporting() {
  try {
    SaveSettings(Settings, services_.registry, SettingsEnvironment());
    lastSaveFailed_ = false;
  } catch (const ERegistryException& e) {
    lastSaveFailed_ = true;
    services_.dialogs.ShowException(e.what(), e.Reason());
  }
}

void TfrmMain::SwitchKeepAliveTimer(bool on) {
  if (on)
    tmrKeepAlive->start();
  else
    tmrKeepAlive->stop();
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FirstShow();
}

void TfrmMain::FirstShow() {
  panNoDocsOpen->show();
  SetHighlightingControlsEnabled(false);
  if (!CommandLineArgs.empty())
    OpenCommandLineFiles();
  else if (Settings.NewPageStartup)
    New();
  UpdateActions();
}

void TfrmMain::OpenCommandLineFiles() {
  std::string programFolder = services_.system.ProgramFolder();
  for (const std::string& arg : CommandLineArgs) {
    std::string path = ResolveParamPath(arg, programFolder);
    std::error_code ignored;
    // A folder is handed on too, so that the user is told why it does not open.
    if (!std::filesystem::exists(path, ignored)) continue;
    OpenPending = true;
    PendingPath = path;
    if (!Open()) return;
  }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  // Refused until every step has run, so that nothing half-done lets the window go.
  event->ignore();
  Closing = true;
  CloseCancelled = false;
  for (int n = DocumentCount() - 1; n >= 0; --n) {
    SetActivePage(n);
    CloseActiveDocument();
    if (CloseCancelled) {
      Closing = false;
      return;
    }
  }
  RecordGeometry();
  // Settings that cannot be saved are reported, and the window still closes: nobody is kept
  // from quitting by a folder they cannot write.
  SaveSettingsReporting();
  event->accept();
}

}  // namespace tarnwick

// The command table of the main window, and the menus, toolbars and context menu that point
// at its commands.

#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "app/Action.h"
#include "app/Main.h"
#include "app/Pictures.h"
#include "editor/qt/SynEditWidget.h"

namespace tarnwick {

namespace {

enum class TEnableRule { Always, Document, Pages, Save, Undo, Redo, Selection, Paste, FindNext };

enum class TCheckKind {
  None,
  Toggle,     // shows a check mark that the command's handler follows
  AutoCheck,  // the mark flips before the handler runs
  Radio,      // one of the highlighter choices: marking one clears the others
};

struct TActionDesign {
  TAction* TfrmMain::*field;
  const char* name;
  const char* category;
  const char* caption;
  const char* shortcut;
  const char* hint;
  int picture;  // -1: none
  TEnableRule enabledWhen;
  TCheckKind check;
  bool startsChecked;
  void (*execute)(TfrmMain&);
};

using W = TfrmMain;
using R = TEnableRule;
using C = TCheckKind;

const TActionDesign kActions[] = {
    {&W::actNew, "actNew", "File", "&New", "Ctrl+N", "New", 0, R::Always, C::None, false, [](W& w) { w.New(); }},
    {&W::actOpen, "actOpen", "File", "&Open...", "Ctrl+O", "Open", 1, R::Always, C::None, false, [](W& w) { w.Open(); }},
    {&W::actClose, "actClose", "File", "&Close", "Ctrl+F4", "Close", -1, R::Document, C::None, false,
     [](W& w) { w.CloseActiveDocument(); }},
    {&W::actCloseAll, "actCloseAll", "File", "C&lose All", "", "", -1, R::Pages, C::None, false, [](W& w) { w.CloseAll(); }},
    {&W::actSave, "actSave", "File", "&Save", "Ctrl+S", "Save", 2, R::Save, C::None, false, [](W& w) { w.Save(); }},
    {&W::actSaveAs, "actSaveAs", "File", "Save &As...", "", "Save As", -1, R::Document, C::None, false,
     [](W& w) { w.SaveAs(); }},
    {&W::actSaveAll, "actSaveAll", "File", "Sa&ve All", "Ctrl+Shift+S", "Save All", 10, R::Document, C::None, false,
     [](W& w) { w.SaveAll(); }},
    {&W::actExit, "actExit", "File", "E&xit", "", "Exit", -1, R::Always, C::None, false, [](W& w) { w.close(); }},
    {&W::actUndo, "actUndo", "Edit", "&Undo", "Ctrl+Z", "Undo", 13, R::Undo, C::None, false,
     [](W& w) { w.ActiveEditor()->Undo(); }},
    {&W::actRedo, "actRedo", "Edit", "&Redo", "Ctrl+Shift+Z", "Redo", 12, R::Redo, C::None, false,
     [](W& w) { w.ActiveEditor()->Redo(); }},
    {&W::actCut, "actCut", "Edit", "Cu&t", "Ctrl+X", "Cut", 4, R::Selection, C::None, false,
     [](W& w) { w.ActiveEditor()->CutSelectedText(); }},
    {&W::actCopy, "actCopy", "Edit", "&Copy", "Ctrl+C", "Copy", 5, R::Selection, C::None, false,
     [](W& w) { w.ActiveEditor()->CopySelectedText(); }},
    {&W::actPaste, "actPaste", "Edit", "&Paste", "Ctrl+V", "Paste", 6, R::Paste, C::None, false,
     [](W& w) { w.ActiveEditor()->PasteClipboard(); }},
    {&W::actDelete, "actDelete", "Edit", "De&lete", "Del", "", 14, R::Document, C::None, false, [](W& w) { w.Delete(); }},
    {&W::actSelectAll, "actSelectAll", "Edit", "Select &All", "Ctrl+A", "Select All", -1, R::Document, C::None, false,
     [](W& w) { w.ActiveEditor()->SelectAllText(); }},
    {&W::actFind, "actFind", "Edit", "&Find...", "Ctrl+F", "Find", 7, R::Document, C::None, false,
     [](W& w) { w.ShowFind(); }},
    {&W::actFindNext, "actFindNext", "Edit", "Find Next", "F3", "", -1, R::FindNext, C::None, false,
     [](W& w) { w.FindNext(); }},
    {&W::actReplace, "actReplace", "Edit", "R&eplace...", "Ctrl+H", "Replace", -1, R::Document, C::None, false,
     [](W& w) { w.ShowReplace(); }},
    {&W::actGotoLine, "actGotoLine", "Edit", "Go To...", "Ctrl+G", "", -1, R::Document, C::None, false,
     [](W& w) { w.ShowGotoLine(); }},
    {&W::actTimeDate, "actTimeDate", "Edit", "Time/&Date", "F5", "", -1, R::Document, C::None, false,
     [](W& w) { w.TimeDate(); }},
    {&W::actToolbarMain, "actToolbarMain", "View", "&Main", "", "", -1, R::Always, C::Toggle, true,
     [](W& w) { w.ToolbarToggle(w.tbMain, w.actToolbarMain); }},
    {&W::actToolbarHighlighting, "actToolbarHighlighting", "View", "&Highlighting", "", "", -1, R::Always, C::Toggle,
     true, [](W& w) { w.ToolbarToggle(w.tbHighlighting, w.actToolbarHighlighting); }},
    {&W::actShowLineNumbers, "actShowLineNumbers", "View", "Show &Line Numbers", "", "", 21, R::Document, C::AutoCheck,
     false, [](W& w) { w.ShowLineNumbersToggle(); }},
    {&W::actShowGutter, "actShowGutter", "View", "Show &Gutter", "", "", 20, R::Document, C::AutoCheck, true,
     [](W& w) { w.ShowGutterToggle(); }},
    {&W::actShowHiddenChars, "actShowHiddenChars", "View", "Show &Hidden Chars", "", "", 19, R::Document, C::AutoCheck,
     false, [](W& w) { w.ShowHiddenCharsToggle(); }},
    {&W::actSHNone, "actSHNone", "View", "&None", "", "None", -1, R::Document, C::Radio, false,
     [](W& w) { w.SetActiveHighlighter(w.actSHNone); }},
    {&W::actSHHTML, "actSHHTML", "View", "&HTML", "", "HTML", -1, R::Document, C::Radio, false,
     [](W& w) { w.SetActiveHighlighter(w.actSHHTML); }},
    {&W::actSHCSS, "actSHCSS", "View", "&CSS", "", "CSS", -1, R::Document, C::Radio, false,
     [](W& w) { w.SetActiveHighlighter(w.actSHCSS); }},
    {&W::actSHXML, "actSHXML", "View", "&XML", "", "XML", -1, R::Document, C::Radio, false,
     [](W& w) { w.SetActiveHighlighter(w.actSHXML); }},
    {&W::actWordWrap, "actWordWrap", "View", "&Word Wrap", "", "", 18, R::Document, C::AutoCheck, false,
     [](W& w) { w.WordWrapToggle(); }},
    {&W::actGeneralOptions, "actGeneralOptions", "Options", "General &Options...", "", "", 17, R::Always, C::None,
     false, [](W& w) { w.ShowGeneralOptions(); }},
    {&W::actEdtOptions, "actEdtOptions", "Options", "&Editor Options...", "", "", 22, R::Always, C::None, false,
     [](W& w) { w.ShowEditorOptions(); }},
    {&W::actFAQ, "actFAQ", "Help", "View Online &FAQ", "", "", 16, R::Always, C::None, false,
     [](W& w) { w.ViewOnlineFAQ(); }},
    {&W::actAbout, "actAbout", "Help", "&About...", "", "", -1, R::Always, C::None, false, [](W& w) { w.ShowAbout(); }},
};

bool RuleHolds(const TfrmMain& window, TEnableRule rule) {
  if (rule == R::Always) return true;
  if (rule == R::Pages) return window.pcMain->count() > 0;
  TSynEdit* editor = window.ActiveEditor();
  if (editor == nullptr) return false;
  switch (rule) {
    case R::Save: return editor->Tag == 0 || editor->Tag == 2;
    case R::Undo: return editor->CanUndo();
    case R::Redo: return editor->CanRedo();
    case R::Selection: return editor->HasSelection();
    case R::Paste: return editor->CanPaste();
    case R::FindNext: return !window.LastFindText.empty();
    default: return true;
  }
}

}  // namespace

void TfrmMain::BuildActions() {
  auto* highlighters = new QActionGroup(this);
  highlighters->setExclusive(true);
  for (const TActionDesign& design : kActions) {
    auto* action = new TAction(design.name, design.category, this);
    action->setText(QString::fromUtf8(design.caption));
    action->setShortcut(QKeySequence(QString::fromUtf8(design.shortcut)));
    action->setToolTip(QString::fromUtf8(design.hint));
    if (design.picture >= 0) action->setIcon(Picture(design.picture));
    action->setCheckable(design.check != C::None);
    action->setChecked(design.startsChecked);
    if (design.check == C::Radio) highlighters->addAction(action);
    TEnableRule rule = design.enabledWhen;
    if (rule != R::Always) action->EnabledWhen = [this, rule] { return RuleHolds(*this, rule); };
    auto execute = design.execute;
    action->OnExecute = [this, execute] { execute(*this); };
    // Held by the window, so that the shortcut works wherever the command is shown.
    addAction(action);
    this->*design.field = action;
    actions_.push_back(action);
  }
  for (int n = 0; n < kRecentFileCount; ++n) {
    auto* action = new TAction(QStringLiteral("actReopen%1").arg(n + 1), "Reopen", this);
    action->setVisible(false);
    actReopen[n] = action;
  }
}

void TfrmMain::UpdateActions() {
  for (TAction* action : actions_) action->Update();
}

void TfrmMain::BuildMenus() {
  QMenuBar* bar = menuBar();
  QMenu* file = bar->addMenu("&File");
  file->addActions({actNew, actOpen});
  mnuReopen = file->addMenu("&Reopen");
  for (TAction* action : actReopen) mnuReopen->addAction(action);
  connect(mnuReopen, &QMenu::aboutToShow, this, &TfrmMain::RefreshReopenItems);
  file->addActions({actClose, actCloseAll});
  file->addSeparator();
  file->addActions({actSave, actSaveAs, actSaveAll});
  file->addSeparator();
  file->addSeparator();
  file->addAction(actExit);

  QMenu* edit = bar->addMenu("&Edit");
  edit->addActions({actUndo, actRedo});
  edit->addSeparator();
  edit->addActions({actCut, actCopy, actPaste, actDelete});
  edit->addSeparator();
  edit->addActions({actFind, actFindNext, actReplace, actGotoLine});
  edit->addSeparator();
  edit->addActions({actSelectAll, actTimeDate});

  QMenu* view = bar->addMenu("&View");
  QMenu* toolbars = view->addMenu("&Toolbars");
  toolbars->addActions({actToolbarMain, actToolbarHighlighting});
  view->addSeparator();
  view->addActions({actShowLineNumbers, actShowGutter, actShowHiddenChars});
  view->addSeparator();
  QMenu* highlighting = view->addMenu("&Syntax Highlighting");
  highlighting->addActions({actSHNone, actSHHTML, actSHCSS, actSHXML});
  view->addSeparator();
  view->addAction(actWordWrap);

  QMenu* options = bar->addMenu("&Options");
  options->addActions({actGeneralOptions, actEdtOptions});

  QMenu* help = bar->addMenu("&Help");
  help->addActions({actFAQ, actAbout});

  popEditor = new QMenu(this);
  popEditor->setObjectName("popEditor");
  popEditor->addAction(actClose);
  popEditor->addSeparator();
  popEditor->addActions({actCut, actCopy, actPaste, actDelete});
}

QToolBar* TfrmMain::AddClosableToolbar(const QString& caption, TAction* toggle) {
  QToolBar* toolbar = addToolBar(caption);
  toolbar->setObjectName("tb" + caption);
  toolbar->setIconSize(QSize(16, 16));
  // Its own close button, at its end; closing clears the mark of its View command.
  auto* close = new QAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton), "Close " + caption, toolbar);
  close->setObjectName("close");
  connect(close, &QAction::triggered, this, [toolbar, toggle] {
    toggle->setChecked(false);
    toolbar->hide();
  });
  toolbar->addAction(close);
  return toolbar;
}

void TfrmMain::BuildToolbars() {
  tbMain = AddClosableToolbar("Main", actToolbarMain);
  QAction* close = tbMain->actions().first();
  tbMain->insertAction(close, actNew);
  btnOpen = new QToolButton(tbMain);
  btnOpen->setObjectName("btnOpen");
  btnOpen->setDefaultAction(actOpen);
  btnOpen->setPopupMode(QToolButton::MenuButtonPopup);
  auto* reopen = new QMenu(btnOpen);
  for (TAction* action : actReopen) reopen->addAction(action);
  connect(reopen, &QMenu::aboutToShow, this, &TfrmMain::RefreshReopenItems);
  btnOpen->setMenu(reopen);
  tbMain->insertWidget(close, btnOpen);
  tbMain->insertActions(close, {actSave, actSaveAll});
  tbMain->insertSeparator(close);
  tbMain->insertActions(close, {actCut, actCopy, actPaste});
  tbMain->insertSeparator(close);
  tbMain->insertActions(close, {actUndo, actRedo});
  tbMain->insertSeparator(close);

  tbHighlighting = AddClosableToolbar("Highlighting", actToolbarHighlighting);
  close = tbHighlighting->actions().first();
  lblHighlighting = new QLabel(" Highlighting:", tbHighlighting);
  lblHighlighting->setObjectName("lblHighlighting");
  tbHighlighting->insertWidget(close, lblHighlighting);
  TBXComboBoxItem2 = new QComboBox(tbHighlighting);
  TBXComboBoxItem2->setObjectName("TBXComboBoxItem2");
  TBXComboBoxItem2->setToolTip("Syntax Highlighting");
  TBXComboBoxItem2->setEditable(false);
  TBXComboBoxItem2->addItems({"None", "HTML", "CSS", "XML"});
  connect(TBXComboBoxItem2, &QComboBox::activated, this, &TfrmMain::TBXComboBoxItem2Change);
  tbHighlighting->insertWidget(close, TBXComboBoxItem2);
}

QMenu* TfrmMain::createPopupMenu() {
  // The window's own list of toolbars, through the View commands so that their marks agree.
  auto* menu = new QMenu(this);
  menu->addActions({actToolbarMain, actToolbarHighlighting});
  return menu;
}

}  // namespace tarnwick

// The document workspace: one tab page, one editor and one path per document, kept in three
// parallel lists in the order of the tabs.

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QTabWidget>

#include "app/Action.h"
#include "app/Main.h"
#include "app/Misc.h"
#include "editor/SynEditSearch.h"
#include "editor/qt/SynEditWidget.h"
#include "highlight/SynHighlighterCSS.h"
#include "highlight/SynHighlighterHtml.h"
#include "highlight/SynHighlighterXML.h"

namespace tarnwick {

namespace {

constexpr int kGutterWidth = 17;
constexpr int kSpacerSize = 2;

}  // namespace

int TfrmMain::ActiveIndex() const { return DocumentCount() == 0 ? -1 : pcMain->currentIndex(); }

TSynEditWidget* TfrmMain::ActiveEditorWidget() const {
  int index = ActiveIndex();
  return index < 0 ? nullptr : EditorList[index];
}

TSynEdit* TfrmMain::ActiveEditor() const {
  TSynEditWidget* widget = ActiveEditorWidget();
  return widget == nullptr ? nullptr : &widget->Editor();
}

QString TfrmMain::PageCaption(int index) const { return PageList.at(index)->windowTitle(); }

void TfrmMain::SetPageCaption(int index, const QString& caption) {
  PageList.at(index)->setWindowTitle(caption);
  // A tab reads "&" as the mark of an access key; a file name shows it as it is.
  pcMain->setTabText(index, QString(caption).replace('&', QStringLiteral("&&")));
}

void TfrmMain::SetActivePage(int index) {
  changingPages_ = true;
  pcMain->setCurrentIndex(index);
  changingPages_ = false;
}

TSynEdit& TfrmMain::AddDocumentPage(const std::string& name) {
  changingPages_ = true;
  auto* page = new QWidget;
  pcMain->addTab(page, QString());
  PageList.push_back(page);
  SetPageCaption(static_cast<int>(PageList.size()) - 1, name.empty() ? QStringLiteral("Untitled") : QString::fromStdString(name));

  auto* widget = new TSynEditWidget(services_.clipboard);
  widget->setFrameShape(QFrame::NoFrame);
  TSynEdit& editor = widget->Editor();
  editor.WantTabs = true;
  TSynGutter gutter = editor.Gutter();
  gutter.Visible = actShowGutter->isChecked();
  gutter.ShowLineNumbers = actShowLineNumbers->isChecked();
  gutter.Width = kGutterWidth;
  editor.SetGutter(gutter);
  editor.SearchEngine = sesMain.get();
  editor.OnChange = [this](TSynEdit& changed) { EditorChange(changed); };
  editor.OnClick = [this](TSynEdit&) { EditorCaretMoved(); };
  editor.OnKeyUp = [this](TSynEdit&, TKeyCode&, TShiftState) { EditorCaretMoved(); };
  editor.OnDropFiles = [this](TSynEdit&, int, int, const std::vector<std::string>& files) {
    OpenDroppedFiles(files);
  };
  editor.OnReplaceText = [this](TSynEdit&, const std::string& search, const std::string& replace, int line, int column,
                                TSynReplaceAction& action) { ConfirmReplaceText(search, replace, line, column, action); };
  editor.SetOption(eoDropFiles, true);

  // A sunken edge around the editor, and under visual styles a 2-pixel gap to the right and
  // below it.
  auto* border = new QFrame;
  border->setObjectName("TALControlBorder");
  border->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* layout = new QGridLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  if (!ClassicLook) {
    layout->addItem(new QSpacerItem(kSpacerSize, 0, QSizePolicy::Fixed, QSizePolicy::Ignored), 0, 1);
    layout->addItem(new QSpacerItem(0, kSpacerSize, QSizePolicy::Ignored, QSizePolicy::Fixed), 1, 0);
  }
  auto* inside = new QGridLayout(border);
  inside->setContentsMargins(border->frameWidth(), border->frameWidth(), border->frameWidth(), border->frameWidth());
  inside->addWidget(widget, 0, 0);

  editor.SetHighlighter(HighlighterChoices()[static_cast<int>(HighlighterKindForName(name))].highlighter);
  // The font of the settings, with the rest of them.
  ApplyEditorSettings(editor);

  layout->addWidget(border, 0, 0);
  EditorList.push_back(widget);

  SetHighlightingControlsEnabled(true);
  panNoDocsOpen->hide();
  pcMain->setCurrentWidget(page);
  changingPages_ = false;
  pcMainChange();
  widget->setFocus();
  return editor;
}

void TfrmMain::ApplyEditorSettings(TSynEdit& editor) {
  editor.RightEdge = Settings.VisRightMar ? Settings.RightMarWidth : 0;
  editor.SetTabWidth(Settings.TabWidth);
  editor.SetOption(eoSmartTabs, Settings.SmartTabs);
  editor.SetOption(eoAutoIndent, Settings.AutoIndent);
  editor.SetOption(eoTabsToSpaces, !Settings.UseTabChar);
  editor.SetOption(eoHalfPageScroll, Settings.HalfPageScroll);
  editor.SetFont({Settings.Font, Settings.FontSize, editor.Font().style});
  if (editor.OnRepaint) editor.OnRepaint(editor);
}

void TfrmMain::pcMainChange() {
  UpdateStatusBar(true, true);
  TSynEdit* editor = ActiveEditor();
  if (editor == nullptr) return;
  ShowHighlighterChoice(HighlighterChoiceOf(*editor));
}

static_assert(static_cast<int>(THighlighterKind::None) == 0 && static_cast<int>(THighlighterKind::Html) == 1 &&
              static_cast<int>(THighlighterKind::Css) == 2 && static_cast<int>(THighlighterKind::Xml) == 3);

std::array<TfrmMain::THighlighterChoice, 4> TfrmMain::HighlighterChoices() const {
  return {{{actSHNone, nullptr}, {actSHHTML, synHTML.get()}, {actSHCSS, synCSS.get()}, {actSHXML, synXML.get()}}};
}

TAction* TfrmMain::HighlighterChoiceOf(const TSynEdit& editor) const {
  for (const THighlighterChoice& choice : HighlighterChoices())
    if (choice.highlighter == editor.Highlighter()) return choice.action;
  return actSHNone;
}

void TfrmMain::ShowHighlighterChoice(TAction* choice) {
  // Each choice's hint is the combo box item that names it.
  choice->setChecked(true);
  TBXComboBoxItem2->setCurrentText(choice->toolTip());
}

void TfrmMain::SetHighlightingControlsEnabled(bool enabled) {
  lblHighlighting->setEnabled(enabled);
  TBXComboBoxItem2->setEnabled(enabled);
}

void TfrmMain::UpdateStatusBar(bool caretPanels, bool filePanel) {
  TSynEdit* editor = ActiveEditor();
  if (editor == nullptr) {
    ClearStatusBar();
    return;
  }
  if (caretPanels) {
    TBufferCoord caret = editor->CaretPos();
    SetStatusPanelText(0, QStringLiteral("Ln: %1").arg(caret.Line));
    SetStatusPanelText(1, QStringLiteral("Col: %1").arg(caret.Char));
  }
  if (filePanel) {
    const std::string& path = PathList[ActiveIndex()];
    SetStatusPanelText(3, path == kUntitledPath ? QStringLiteral(" Untitled") : " " + QString::fromStdString(path));
  }
}

void TfrmMain::ClearStatusBar() {
  for (int panel : {0, 1, 3}) SetStatusPanelText(panel, QString());
}

void TfrmMain::EditorChange(TSynEdit& editor) {
  if (editor.Tag != 0) editor.Tag = 2;
}

void TfrmMain::EditorCaretMoved() { UpdateStatusBar(true, false); }

void TfrmMain::OpenDroppedFiles(const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    OpenPending = true;
    PendingPath = file;
    if (!Open()) return;
  }
}

void TfrmMain::CloseActiveDocument() {
  int index = ActiveIndex();
  if (index < 0) return;
  TSynEdit& editor = EditorList[index]->Editor();
  int tag = editor.Tag;
  if (tag == 2 || (tag == 0 && editor.Modified())) {
    std::string text = "Save changes to " + PageCaption(index).toStdString() + "?";
    switch (services_.dialogs.MessageDlg(text, TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel)) {
      case TModalResult::mrYes:
        // Only a written file lets the page go: a cancelled or failed save keeps its text.
        if ((tag == 2 ? Save() : SaveAs()) != TSaveResult::srSaved) {
          CloseCancelled = true;
          return;
        }
        break;
      case TModalResult::mrNo: break;
      default: CloseCancelled = true; return;
    }
  }
  DisposeDocument(ActiveIndex());
  if (HasDocument())
    UpdateStatusBar(true, true);
  else
    ClearStatusBar();
  pcMain->setFocus();
  if (DocumentCount() > 0) {
    SetActivePage(DocumentCount() - 1);
  } else {
    panNoDocsOpen->show();
    panNoDocsOpen->raise();
    SetHighlightingControlsEnabled(false);
  }
  if (!Closing) pcMainChange();
}

void TfrmMain::DisposeDocument(int index) {
  changingPages_ = true;
  PathList.erase(PathList.begin() + index);
  EditorList.erase(EditorList.begin() + index);
  QWidget* page = PageList[index];
  PageList.erase(PageList.begin() + index);
  pcMain->removeTab(index);
  // The page owns its border and editor.
  delete page;
  changingPages_ = false;
}

void TfrmMain::CloseAll() {
  CloseCancelled = false;
  for (int n = DocumentCount() - 1; n >= 0; --n) {
    SetActivePage(n);
    CloseActiveDocument();
    if (CloseCancelled) return;
  }
}

void TfrmMain::ForEachEditor(const std::function<void(TSynEdit&)>& change) {
  for (TSynEditWidget* widget : EditorList) change(widget->Editor());
}

}  // namespace tarnwick

// The edit commands that belong to the shell, the view toggles, the highlighter choice, the
// option windows and the Help commands.

#include <QComboBox>
#include <QToolBar>

#include "app/About.h"
#include "app/Action.h"
#include "app/EdtOptions.h"
#include "app/GenOptions.h"
#include "app/Main.h"
#include "app/Misc.h"
#include "editor/SynEditKeyCmds.h"
#include "editor/qt/SynEditWidget.h"
#include "platform/SystemServices.h"

namespace tarnwick {

namespace {

const char* const kFaqPage = "faq.html";

}  // namespace

void TfrmMain::Delete() {
  TSynEdit& editor = *ActiveEditor();
  // Without a selection this is the editor's own Delete: it joins the next line at a line's
  // end and is undone like any other change.
  if (editor.HasSelection())
    editor.RemoveSelection();
  else
    editor.ExecuteCommand(ecDeleteChar);
}

void TfrmMain::TimeDate() {
  ActiveEditor()->SetSelectedText(services_.system.CurrentLongTime() + " " + services_.system.CurrentShortDate());
}

void TfrmMain::ToolbarToggle(QToolBar* toolbar, TAction* action) { toolbar->setVisible(action->isChecked()); }

void TfrmMain::ShowHiddenCharsToggle() {
  bool show = actShowHiddenChars->isChecked();
  ForEachEditor([show](TSynEdit& editor) { editor.SetOption(eoShowSpecialChars, show); });
}

void TfrmMain::WordWrapToggle() {
  bool wrap = actWordWrap->isChecked();
  ForEachEditor([wrap](TSynEdit& editor) { editor.SetWordWrap(wrap); });
}

void TfrmMain::ShowGutterToggle() {
  bool show = actShowGutter->isChecked();
  if (!show) actShowLineNumbers->setChecked(false);
  ForEachEditor([show](TSynEdit& editor) {
    TSynGutter gutter = editor.Gutter();
    gutter.Visible = show;
    if (!show) gutter.ShowLineNumbers = false;
    editor.SetGutter(gutter);
  });
}

void TfrmMain::ShowLineNumbersToggle() {
  if (!actShowGutter->isChecked()) actShowGutter->setChecked(true);
  bool numbers = actShowLineNumbers->isChecked();
  ForEachEditor([numbers](TSynEdit& editor) {
    TSynGutter gutter = editor.Gutter();
    gutter.ShowLineNumbers = numbers;
    gutter.Visible = true;
    editor.SetGutter(gutter);
  });
}

void TfrmMain::SetActiveHighlighter(TAction* choice) {
  for (const THighlighterChoice& known : HighlighterChoices())
    if (known.action == choice) ActiveEditor()->SetHighlighter(known.highlighter);
  ShowHighlighterChoice(choice);
}

void TfrmMain::TBXComboBoxItem2Change() {
  if (!HasDocument()) return;
  QString text = TBXComboBoxItem2->currentText();
  for (const THighlighterChoice& choice : HighlighterChoices())
    if (choice.action->toolTip() == text) SetActiveHighlighter(choice.action);
}

void TfrmMain::ViewOnlineFAQ() {
  std::string page = services_.system.ProgramFolder() + kFaqPage;
  if (!FileExists(page))
    services_.dialogs.ShowException("The help page \"" + page + "\" is missing.");
  else if (!services_.system.OpenWithDefaultProgram(page))
    services_.dialogs.ShowException("No program could be started to show the help page \"" + page + "\".");
}

void TfrmMain::ShowGeneralOptions() { frmGenOptions->exec(); }

void TfrmMain::ShowEditorOptions() { frmEdtOptions->exec(); }

void TfrmMain::ShowAbout() { frmAbout->exec(); }

}  // namespace tarnwick

// Find, Find Next, Replace and Go To Line on the active document; the search itself is the
// editor's, with the engine all documents share.

#include <QLabel>

#include <cmath>

#include "app/ConfirmReplace.h"
#include "app/Find.h"
#include "app/GotoLine.h"
#include "app/Main.h"
#include "app/Replace.h"
#include "editor/qt/SynEditWidget.h"

namespace tarnwick {

void TfrmMain::RunSearch(TSynSearchOptions options, const std::string& findText, const std::string& replaceText) {
  // The search windows stay open while documents close; with none left there is nothing to
  // search.
  TSynEdit* editor = ActiveEditor();
  if (editor == nullptr) return;
  bool replacing = options & optReplace;
  if (replacing && frmReplace->isVisible()) frmReplace->close();
  if (editor->FindOrReplace(findText, replacing ? replaceText : std::string(), options) == 0)
    services_.dialogs.MessageDlg("Search string \"" + findText + "\" not found.", TMsgDlgType::mtInformation, mbOK);
  if (!replacing) {
    LastFindOptions = options;
    LastFindText = findText;
  }
}

void TfrmMain::ConfirmReplaceText(const std::string& search, const std::string& replace, int line, int column,
                                  TSynReplaceAction& action) {
  if (search == replace) {
    action = TSynReplaceAction::raSkip;
    return;
  }
  TSynEdit& editor = *ActiveEditor();
  auto [clientX, clientY] = editor.ClientPoint(editor.DisplayPosition({column, line}));
  QPoint match = ActiveEditorWidget()->viewport()->mapToGlobal(QPoint(clientX, clientY));
  QRect area(mapToGlobal(QPoint(0, 0)), size());
  int width = frmConfirmReplace->width(), height = frmConfirmReplace->height();
  int areaRight = area.left() + area.width();
  // Beside the match, inside the window; centred when the window is narrower than it.
  int x = match.x();
  if (area.width() <= width)
    x = area.left() - (width - area.width()) / 2;
  else if (x + width > areaRight)
    x = areaRight - width;
  // Above the match line in the lower third of the window, below it elsewhere.
  int lineTop = match.y(), lineBottom = match.y() + editor.LineHeight();
  int lowerThird = area.top() + static_cast<int>(std::lround(area.height() * 2.0 / 3.0));
  int y = lineBottom > lowerThird ? lineTop - height - 4 : lineBottom + 4;
  action = frmConfirmReplace->Ask(search, QPoint(x, y));
}

void TfrmMain::ShowFind() { frmFind->show(); }

void TfrmMain::ShowReplace() { frmReplace->show(); }

void TfrmMain::FindNext() { RunSearch(LastFindOptions, LastFindText, {}); }

void TfrmMain::ShowGotoLine() { frmGotoLine->exec(); }

}  // namespace tarnwick

// FindOrReplace: walks the lines of a range, selects each occurrence the engine finds and
// replaces it when asked to.
#include <algorithm>

#include "editor/SynEdit.h"
#include "editor/SynEditScope.h"

namespace tarnwick {

int TSynEdit::FindOrReplace(const std::string& search, const std::string& replace, TSynSearchOptions options) {
  if (SearchEngine == nullptr) throw ESynEditError("No search engine has been assigned");
  if (search.empty()) return 0;
  bool backwards = options & optBackwards;
  bool replacing = options & (optReplace | optReplaceAll);
  bool replaceAll = options & optReplaceAll;
  bool prompt = options & optPrompt;

  // The range.
  TSynSelectionMode mode = TSynSelectionMode::smNormal;
  TBufferCoord start{1, 1};
  TBufferCoord end{static_cast<int>(LineText(std::max(LineCount(), 1)).size()) + 1, std::max(LineCount(), 1)};
  if ((options & optSelectedOnly) && HasSelection()) {
    mode = selectionMode_;
    start = SelectionBegin();
    end = SelectionEnd();
    if (mode == TSynSelectionMode::smLine) {
      start.Char = 1;
      end.Char = static_cast<int>(LineText(end.Line).size()) + 1;
    } else if (mode == TSynSelectionMode::smColumn && start.Char > end.Char) {
      std::swap(start.Char, end.Char);
    }
  } else if (!(options & optEntireScope)) {
    (backwards ? end : start) = caret_;
  }

  SearchEngine->SetSearchOptions(options);
  SearchEngine->SetPattern(search);
  int found = 0;
  bool locked = false, blocked = false;
  auto lockForAll = [&] {
    if (!locked) IncPaintLock(), locked = true;
    if (!blocked) undoList_.OpenBlock(), blocked = true;
  };
  if (replaceAll) {
    IncPaintLock();
    locked = true;
    if (!prompt) undoList_.OpenBlock(), blocked = true;
  }

  Finally(
      [&] {
        for (int line = backwards ? end.Line : start.Line; backwards ? line >= start.Line : line <= end.Line;
             line += backwards ? -1 : 1) {
          int matches = SearchEngine->FindInLine(LineText(line));
          int shift = 0;  // what replacements earlier in this line added
          for (int k = 0; k < matches; ++k) {
            int index = backwards ? matches - 1 - k : k;
            int f = SearchEngine->MatchPosition(index) + shift;
            int m = SearchEngine->MatchLength(index);
            bool inside = true;
            if (mode == TSynSelectionMode::smNormal) {
              if (line == start.Line && f < start.Char) inside = false;
              if (line == end.Line && f + m > end.Char) inside = false;
            } else if (mode == TSynSelectionMode::smColumn && start.Char < end.Char) {
              inside = f >= start.Char && f + m <= end.Char;
            }
            if (!inside) continue;

            ++found;
            SetBlockAnchor({f, line});
            SetCaretPosEx({1, line}, false);
            CentreRow(line);
            SetBlockActive({f + m, line});
            SetCaretPosEx(backwards ? TBufferCoord{f, line} : TBufferCoord{f + m, line}, true);
            if (!replacing) return;

            TSynReplaceAction action = TSynReplaceAction::raReplace;
            if (prompt && OnReplaceText) {
              action = TSynReplaceAction::raCancel;
              OnReplaceText(*this, search, replace, line, f, action);
              if (action == TSynReplaceAction::raCancel) return;
            }
            int replacedLength = m;
            if (action != TSynReplaceAction::raSkip) {
              if (action == TSynReplaceAction::raReplaceAll) {
                replaceAll = true;
                prompt = false;
                lockForAll();
              }
              SetSelectedText(SearchEngine->ReplacementText(SelectedText(), replace));
              replacedLength = caret_.Char - f;
            }
            if (!backwards) {
              SetCaretPosEx({f + replacedLength, line}, false);
              if (replacedLength != m && action != TSynReplaceAction::raSkip) {
                shift += replacedLength - m;
                if (line == end.Line && mode != TSynSelectionMode::smColumn) end.Char += replacedLength - m;
              }
            }
            if (!replaceAll) return;
          }
        }
      },
      [&] {
        if (blocked) undoList_.CloseBlock();
        if (locked) DecPaintLock();
      });
  return found;
}

}  // namespace tarnwick

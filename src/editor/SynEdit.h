#pragma once

#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/SynEditKeyCmds.h"
#include "editor/SynEditSearch.h"
#include "editor/SynEditTextBuffer.h"
#include "editor/SynEditTypes.h"
#include "editor/SynEditUndo.h"
#include "editor/SynEditWordWrap.h"
#include "highlight/SynCharSet.h"
#include "highlight/SynEditHighlighter.h"
#include "platform/Canvas.h"

namespace tarnwick {

class TClipboard;

class ESynEditError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TSynGutterBorderStyle { gbsNone, gbsMiddle, gbsRight };

struct TSynGutter {
  bool Visible = true;
  int Width = 30;
  TColor Color = clBtnFace;
  TFontSpec Font{"Courier New", 8, 0};
  bool UseFontStyle = true;
  bool ShowLineNumbers = false;
  bool LeadingZeros = false;
  bool ZeroStart = false;
  int DigitCount = 4;  // 2 .. 12
  bool AutoSize = false;  // as many digits as the line count needs
  int LeftOffset = 16;
  int RightOffset = 2;
  TSynGutterBorderStyle BorderStyle = TSynGutterBorderStyle::gbsMiddle;
};

struct TSynSelectedColor {
  TColor Background = clHighlight;
  TColor Foreground = clHighlightText;
};

enum class TSynEditCaretType { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };
enum class TSynScrollHintFormat { shfTopLineOnly, shfTopToBottom };
enum class TSynMouseCursor { crDefault, crArrow, crIBeam };

struct TScrollBarInfo {
  int min = 1, max = 1, page = 1, position = 1;
  bool operator==(const TScrollBarInfo&) const = default;
};

struct TSynEditMark {
  int BookmarkNumber = 0;
  int Line = 1;
  int Char = 1;
  bool Visible = true;
};

// The name of the clipboard format that carries the selection mode with the text.
extern const char* const kSynEditClipboardFormat;

// The editor control's core: caret, selection, the command set with its key table, the text
// changes and their undo. The window layer feeds it keys, characters and its client size and
// paints what it holds; nothing here knows the toolkit.
class TSynEdit {
 public:
  using TNotifyEvent = std::function<void(TSynEdit&)>;
  using TStatusChangeEvent = std::function<void(TSynEdit&, TSynStatusChanges)>;
  // The handler may change the command or the character; ecNone cancels the command.
  using TProcessCommandEvent = std::function<void(TSynEdit&, TSynEditorCommand&, char32_t&, const void* data)>;
  // Setting the key to 0 consumes it.
  using TKeyEvent = std::function<void(TSynEdit&, TKeyCode&, TShiftState)>;
  // Setting the character to 0 consumes it.
  using TKeyPressEvent = std::function<void(TSynEdit&, char32_t&)>;
  using TPlaceMarkEvent = std::function<void(TSynEdit&, TSynEditMark&)>;
  using TContextHelpEvent = std::function<void(TSynEdit&, const std::string& word)>;
  // Client coordinates of the drop point and one full path per file.
  using TDropFilesEvent = std::function<void(TSynEdit&, int x, int y, const std::vector<std::string>& files)>;
  // Asked before each replacement with optPrompt; the action comes preset to raCancel.
  using TReplaceTextEvent = std::function<void(TSynEdit&, const std::string& search, const std::string& replace,
                                               int line, int column, TSynReplaceAction& action)>;

  TSynEdit(TCanvas& canvas, TClipboard& clipboard);
  ~TSynEdit();
  TSynEdit(const TSynEdit&) = delete;
  TSynEdit& operator=(const TSynEdit&) = delete;

  TSynEditStringList& Lines() { return lines_; }
  const TSynEditStringList& Lines() const { return lines_; }
  std::string Text() const { return lines_.Text(); }

  // ---- caret and selection
  TBufferCoord CaretPos() const { return caret_; }
  void SetCaretPos(TBufferCoord pos) { SetCaretPosEx(pos, true); }
  void SetCaretPosEx(TBufferCoord pos, bool ensureVisible);
  TBufferCoord BlockAnchor() const { return blockAnchor_; }
  TBufferCoord BlockActive() const { return blockActive_; }
  void SetBlockAnchor(TBufferCoord pos);
  void SetBlockActive(TBufferCoord pos);
  // Caret, anchor and active end at once, as a movement leaves them.
  void SetCaretAndSelection(TBufferCoord caret, TBufferCoord anchor, TBufferCoord active);
  TBufferCoord SelectionBegin() const;
  TBufferCoord SelectionEnd() const;
  bool HasSelection() const;
  TSynSelectionMode SelectionMode() const { return selectionMode_; }
  void SetSelectionMode(TSynSelectionMode mode);
  std::string SelectedText() const;
  void SetSelectedText(std::string_view text);
  void RemoveSelection();
  void SelectAllText();
  int SelStartOffset() const;
  void SetSelStartOffset(int offset);
  void SetSelEndOffset(int offset);
  int RowColToCharIndex(TBufferCoord pos) const;
  TBufferCoord CharIndexToRowCol(int offset) const;

  // ---- state and options
  TSynEditorOptions Options() const { return options_; }
  void SetOptions(TSynEditorOptions options);
  // Turns one option, or a set of them, on or off.
  void SetOption(TSynEditorOptions option, bool on) { SetOptions(on ? options_ | option : options_ & ~option); }
  bool InsertMode() const { return insertMode_; }
  void SetInsertMode(bool insert);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  // A number the owner keeps with the editor; the editor never reads it.
  int Tag = 0;
  bool WantTabs = false;
  bool WantReturns = true;
  int MaxScrollWidth() const { return maxScrollWidth_; }
  void SetMaxScrollWidth(int width);
  int TabWidth() const { return lines_.TabWidth(); }
  void SetTabWidth(int width);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);
  TSynEditKeyStrokes Keystrokes;
  // Word motion and word deletion stop at characters outside this set: the highlighter's
  // identifier characters that are no word breaks, or the default set without one.
  const TSynCharSet& WordChars() const { return wordChars_; }

  // ---- highlighting: every line's range at its end is kept current in Lines
  TSynCustomHighlighter* Highlighter() const { return highlighter_; }
  void SetHighlighter(TSynCustomHighlighter* highlighter);
  // Rescans from a 0-based line until a line's end range is the one stored; returns the last
  // line scanned (index itself when it is past the end).
  int RescanFrom(int index);
  void RescanAll();

  // ---- undo
  bool CanUndo() const { return !readOnly_ && !undoList_.Empty(); }
  bool CanRedo() const { return !readOnly_ && !redoList_.Empty(); }
  void Undo();
  void Redo();
  bool Modified() const { return modified_; }
  void SetModified(bool modified);
  int MaxUndo() const { return undoList_.Limit(); }
  void SetMaxUndo(int limit);
  void OpenUndoBlock() { undoList_.OpenBlock(); }
  void CloseUndoBlock() { undoList_.CloseBlock(); }
  void SuspendUndo();
  void ResumeUndo();
  const TSynEditUndoList& UndoList() const { return undoList_; }
  const TSynEditUndoList& RedoList() const { return redoList_; }

  // ---- clipboard
  void CopySelectedText();
  void CopyToClipboard(std::string text);
  void CutSelectedText();
  void PasteClipboard();
  bool CanPaste() const;

  // ---- commands and keys
  void ExecuteCommand(TSynEditorCommand command, char32_t aChar = 0, const void* data = nullptr);
  // A key press; returns true when the key was consumed.
  bool KeyDown(TKeyCode key, TShiftState shift);
  // A character the window derived from a key press (ignored once after a command key).
  void KeyPress(char32_t aChar);
  void KeyUp(TKeyCode key, TShiftState shift);
  TSynEditorCommand KeyToCommand(TKeyCode key, TShiftState shift);
  // Files dropped from the desktop; reported through OnDropFiles while eoDropFiles is on.
  bool AcceptsDroppedFiles() const { return options_ & eoDropFiles; }
  void DropFiles(int x, int y, const std::vector<std::string>& files);

  // ---- search and replace
  TSynEditSearchCustom* SearchEngine = nullptr;
  // Selects (and replaces) occurrences of search; returns how many were selected.
  int FindOrReplace(const std::string& search, const std::string& replace, TSynSearchOptions options);

  // ---- bookmarks
  bool GetBookmark(int number, TBufferCoord& pos) const;
  void SetBookmark(int number, TBufferCoord pos);
  void ClearBookmark(int number);

  // ---- view
  void SetFont(const TFontSpec& font);
  const TFontSpec& Font() const { return font_; }
  void SetClientSize(int width, int height);
  const TSynGutter& Gutter() const { return gutter_; }
  void SetGutter(const TSynGutter& gutter);
  int GutterRealWidth() const;
  int GutterDigits() const;
  int ExtraLineSpacing() const { return extraLineSpacing_; }
  void SetExtraLineSpacing(int pixels);
  int CharWidth() const { return charWidth_; }
  int LineHeight() const { return lineHeight_; }
  int RightEdge = 80;
  TColor RightEdgeColor = clSilver;
  TColor ActiveLineColor = clNone;
  TSynSelectedColor SelectedColor;
  bool HideSelection = false;
  TColor Color = clWindow;
  TColor FontColor = clWindowText;
  bool Focused = true;
  int DisplayRowCount() const { return wrap_ ? wrap_->RowCount() : std::max(LineCount(), 1); }
  TDisplayCoord DisplayPosition(TBufferCoord pos) const { return BufferToDisplayPos(pos); }
  // The top left of a display position's cell in client pixels, and back (to the nearest
  // cell boundary, as a click places the caret).
  std::pair<int, int> ClientPoint(TDisplayCoord pos) const;
  TDisplayCoord PointToDisplay(int x, int y) const;
  // Scroll bar ranges, scaled to 32767 at the most.
  TScrollBarInfo VerticalScrollInfo() const;
  TScrollBarInfo HorizontalScrollInfo();
  // Paints the area inside clip (client pixels) on canvas.
  void Paint(TCanvas& canvas, const TRect& clip);
  // The caret's rectangle in client pixels, by the shape of the current mode.
  TRect CaretRect() const;
  TSynEditCaretType InsertCaret = TSynEditCaretType::ctVerticalLine;
  TSynEditCaretType OverwriteCaret = TSynEditCaretType::ctBlock;
  // The hint shown while the vertical thumb is dragged to topRow.
  TSynScrollHintFormat ScrollHintFormat = TSynScrollHintFormat::shfTopLineOnly;
  std::string ScrollHintText(int topRow) const;
  // The mouse cursor over a client point.
  TSynMouseCursor MouseCursorAt(int x, int y) const;

  // ---- mouse, in client pixels
  void MouseDown(int x, int y, TShiftState shift, bool doubleClick);
  // While the left button is held the selection follows the mouse.
  void MouseMove(int x, int y);
  void MouseUp();
  void RightMouseDown(int x, int y);
  // Outside the text area with the button held: one step of the drag-scroll timer.
  void DragScrollTick(int x, int y, TShiftState shift);
  // Deltas add up; each 120 scrolls by linesPerNotch rows (a page with Ctrl).
  void MouseWheel(int delta, TShiftState shift, int linesPerNotch);
  bool MouseSelecting() const { return mouseSelecting_; }
  // A press inside the selection may start dragging it; the window starts the drag.
  bool DragPending() const { return dragPending_; }
  void DragStarted() { dragPending_ = false; }
  // Drops source's selected text at the client point: moved, or copied when copy is set.
  // Within one editor a drop inside the selection does nothing. Returns whether text moved in.
  bool DropSelectionFrom(TSynEdit& source, int x, int y, bool copy);
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);
  int LeftColumn() const { return leftColumn_; }
  void SetLeftColumn(int column);
  int VisibleRows() const { return visibleRows_; }
  int VisibleColumns() const { return visibleColumns_; }
  void EnsureCaretVisible();
  TDisplayCoord BufferToDisplayPos(TBufferCoord pos) const;
  TBufferCoord DisplayToBufferPos(TDisplayCoord pos) const;

  // ---- paint lock: status changes are reported when the outermost lock closes
  void IncPaintLock();
  void DecPaintLock();

  TNotifyEvent OnChange;
  // A left click, told when the button is released.
  TNotifyEvent OnClick;
  // The view's content or its scroll position changed: the window repaints.
  TNotifyEvent OnRepaint;
  TStatusChangeEvent OnStatusChange;
  TProcessCommandEvent OnProcessCommand;
  TProcessCommandEvent OnProcessUserCommand;
  TProcessCommandEvent OnCommandProcessed;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TPlaceMarkEvent OnPlaceBookmark;
  TContextHelpEvent OnContextHelp;
  TDropFilesEvent OnDropFiles;
  TReplaceTextEvent OnReplaceText;

 private:
  // helpers over lines and positions
  std::string LineText(int line) const;  // 1-based; empty outside
  // The line setter: trims trailing blanks with eoTrimTrailingSpaces.
  void StoreLine(int line, TLineText text);
  int LineCount() const { return lines_.Count(); }
  TBufferCoord LimitPosition(TBufferCoord pos, bool forCaret) const;
  // Display columns taken by the first chars bytes of line (virtual space counting one each).
  int CharColumns(std::string_view line, int chars) const;
  // A position's column in its whole line, and the position before the character whose cells
  // hold a column of a line: the same as display positions unless rows wrap.
  int ColumnOf(TBufferCoord pos) const { return CharColumns(LineText(pos.Line), pos.Char - 1) + 1; }
  TBufferCoord CharAt(int line, int column) const;
  // The rows of the lines are kept while word wrap is on.
  void RebuildWrap();
  // The line, the start column (0-based) and the end column of a display row.
  void RowSpan(int row, int& line, int& start, int& end) const;
  // The display columns a column selection spans, and the bytes of a line inside them.
  std::pair<int, int> ColumnBounds() const;
  std::pair<std::size_t, std::size_t> ColumnSpan(int line, int left, int right) const;
  TBufferCoord NextCharPos(TBufferCoord pos) const;
  TBufferCoord PrevCharPos(TBufferCoord pos) const;
  int ToCharStart(std::string_view line, int pos) const;
  bool IsWordChar(char c) const { return wordChars_[static_cast<unsigned char>(c)]; }
  void StatusChanged(TSynStatusChanges changes);

  // commands
  void ExecuteBuiltIn(TSynEditorCommand command, char32_t aChar, const void* data);
  void MoveCaretAndSelection(TBufferCoord from, TBufferCoord to, bool select);
  void MoveCaretHorizontally(int columns, bool select);
  void MoveCaretVertically(int rows, bool select);
  TBufferCoord WordLeftPos(TBufferCoord pos) const;
  TBufferCoord WordRightPos(TBufferCoord pos) const;
  void PageScroll(int direction, bool select);
  void ScrollVertically(int rows);
  void GotoBookmark(int number);
  // Puts a row that lies outside the view in its middle.
  void CentreRow(int row);
  void SetBookmarkCommand(int number, const void* data);
  void FindMatchingBracket();
  std::string WordAtCaret() const;
  // The spans of a line's comment and string tokens, which bracket matching passes over.
  std::vector<std::pair<int, int>> CommentAndStringSpans(int line);
  TSynRange ScanLine(int index);
  static void HighlighterChanged(void* editor, const TSynChangeSender& sender);
  void LinesAdded(int index, int count);
  void GrowScrollWidth(int index);

  // text changes
  void SetSelectedTextRaw(TSynSelectionMode mode, std::string_view text);
  void DeleteSelection();
  void InsertNormal(std::string_view text);
  void InsertLines(std::string_view text);
  void InsertColumn(std::string_view text);
  void RecordChange(TChangeKind kind, TBufferCoord start, TBufferCoord end, std::string text, TSynSelectionMode mode);
  void RecordSelectionRemoval();
  int LeadingBlankWidth(std::string_view text, bool expandTabs) const;
  std::string IndentString(int width) const;
  void TypeChar(char32_t aChar);
  void TypeString(std::string_view text);
  void LineBreak(bool moveCaret);
  void Tab();
  void ShiftTab();
  void DeleteLastChar();
  void DeleteChar();
  void DeleteRange(TBufferCoord from, TBufferCoord to, TChangeKind kind, TBufferCoord caret);
  void DeleteWord();
  void DeleteLastWord(bool toLineStart);
  void DeleteEndOfLine();
  void DeleteLine();
  void ClearAll();
  void BlockIndent();
  void BlockUnindent();
  void ChangeCase(TSynEditorCommand command);
  void HorizontalFollow();
  void ShiftBookmarks(int fromLine, int delta);

  // undo and redo steps
  void UndoListAdded(TSynEditUndoList& list);
  void ReverseItem(TSynEditUndoItem item, TSynEditUndoList& target, bool isRedo);
  void ReverseStep(TSynEditUndoList& from, TSynEditUndoList& to, bool isRedo);
  TBufferCoord RestoreText(const TSynEditUndoItem& item);
  bool SameStep(const TSynEditUndoList& list, TChangeKind reversed, std::int32_t serial) const;
  void RecomputeModified();

  void MeasureMetrics();
  // The background of a line's row, and of the text area without the caret line's colour.
  TColor LineBackground(int line) const;
  TColor TextBackground() const;
  void PaintGutter(TCanvas& canvas, int firstRow, int lastRow);
  void PaintRow(TCanvas& canvas, int row, const TRect& clip);

  TCanvas& canvas_;
  TSynGutter gutter_;
  int extraLineSpacing_ = 0;
  int charWidth_ = 1;
  int lineHeight_ = 1;
  TSynCustomHighlighter* highlighter_ = nullptr;
  std::unique_ptr<TSynWordWrapPlugin> wrap_;
  std::string scanLine_;  // a line with its terminating NUL, as highlighters read it
  TClipboard& clipboard_;
  TSynEditStringList lines_;
  TSynEditUndoList undoList_;
  TSynEditUndoList redoList_;

  TBufferCoord caret_;
  TBufferCoord blockAnchor_;
  TBufferCoord blockActive_;
  TSynSelectionMode selectionMode_ = TSynSelectionMode::smNormal;
  TSynEditorOptions options_ = kDefaultEditorOptions;
  bool insertMode_ = true;
  bool readOnly_ = false;
  bool wordWrap_ = false;
  int maxScrollWidth_ = 1024;
  TSynCharSet wordChars_;
  int lastCaretColumn_ = 1;  // the display column vertical moves return to

  bool modified_ = false;
  bool inRedo_ = false;

  std::array<std::optional<TSynEditMark>, 10> bookmarks_;

  TKeyCode firstKey_ = 0;
  TShiftState firstShift_ = 0;
  bool ignoreNextChar_ = false;

  TFontSpec font_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  int topRow_ = 1;
  int leftColumn_ = 1;
  int visibleRows_ = 0;
  int visibleColumns_ = 0;

  TBufferCoord PositionAt(int x, int y) const;
  bool mouseSelecting_ = false;
  bool dragPending_ = false;
  TBufferCoord pressedAt_;
  int wheelAccumulator_ = 0;

  int paintLock_ = 0;
  TSynStatusChanges statusChanges_ = 0;
};

}  // namespace tarnwick

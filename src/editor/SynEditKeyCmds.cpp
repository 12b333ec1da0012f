#include "editor/SynEditKeyCmds.h"

#include <utility>

namespace tarnwick {

void TSynEditKeyStrokes::Add(TSynEditorCommand command, TKeyCode key, TShiftState shift, TKeyCode key2,
                             TShiftState shift2) {
  Items.push_back({key, shift, key2, shift2, command});
}

void TSynEditKeyStrokes::ResetDefaults() {
  Items.clear();
  struct TMovement {
    TKeyCode key;
    TSynEditorCommand alone, shift, ctrl, ctrlShift;
  };
  const TMovement movements[] = {
      {VK_UP, ecUp, ecSelUp, ecScrollUp, ecNone},
      {VK_DOWN, ecDown, ecSelDown, ecScrollDown, ecNone},
      {VK_LEFT, ecLeft, ecSelLeft, ecWordLeft, ecSelWordLeft},
      {VK_RIGHT, ecRight, ecSelRight, ecWordRight, ecSelWordRight},
      {VK_NEXT, ecPageDown, ecSelPageDown, ecPageBottom, ecSelPageBottom},
      {VK_PRIOR, ecPageUp, ecSelPageUp, ecPageTop, ecSelPageTop},
      {VK_HOME, ecLineStart, ecSelLineStart, ecEditorTop, ecSelEditorTop},
      {VK_END, ecLineEnd, ecSelLineEnd, ecEditorBottom, ecSelEditorBottom},
  };
  for (const TMovement& m : movements) {
    Add(m.alone, m.key, 0);
    Add(m.shift, m.key, ssShift);
    Add(m.ctrl, m.key, ssCtrl);
    if (m.ctrlShift != ecNone) Add(m.ctrlShift, m.key, ssCtrl | ssShift);
  }
  Add(ecToggleMode, VK_INSERT, 0);
  Add(ecCopy, VK_INSERT, ssCtrl);
  Add(ecCopy, 'C', ssCtrl);
  Add(ecCut, VK_DELETE, ssShift);
  Add(ecCut, 'X', ssCtrl);
  Add(ecPaste, VK_INSERT, ssShift);
  Add(ecPaste, 'V', ssCtrl);
  Add(ecDeleteChar, VK_DELETE, 0);
  Add(ecDeleteLastChar, VK_BACK, 0);
  Add(ecDeleteLastChar, VK_BACK, ssShift);
  Add(ecDeleteLastWord, VK_BACK, ssCtrl);
  Add(ecUndo, VK_BACK, ssAlt);
  Add(ecUndo, 'Z', ssCtrl);
  Add(ecRedo, VK_BACK, ssAlt | ssShift);
  Add(ecRedo, 'Z', ssCtrl | ssShift);
  Add(ecLineBreak, VK_RETURN, 0);
  Add(ecLineBreak, VK_RETURN, ssShift);
  Add(ecLineBreak, 'M', ssCtrl);
  Add(ecTab, VK_TAB, 0);
  Add(ecShiftTab, VK_TAB, ssShift);
  Add(ecContextHelp, VK_F1, 0);
  Add(ecSelectAll, 'A', ssCtrl);
  Add(ecBlockIndent, 'I', ssCtrl | ssShift);
  Add(ecBlockUnindent, 'U', ssCtrl | ssShift);
  Add(ecInsertLine, 'N', ssCtrl);
  Add(ecDeleteWord, 'T', ssCtrl);
  Add(ecDeleteLine, 'Y', ssCtrl);
  Add(ecDeleteEOL, 'Y', ssCtrl | ssShift);
  for (int n = 0; n <= 9; ++n) Add(static_cast<TSynEditorCommand>(ecGotoMarker0 + n), static_cast<TKeyCode>('0' + n), ssCtrl);
  for (int n = 0; n <= 9; ++n)
    Add(static_cast<TSynEditorCommand>(ecSetMarker0 + n), static_cast<TKeyCode>('0' + n), ssCtrl | ssShift);
  Add(ecNormalSelect, 'N', ssCtrl | ssShift);
  Add(ecColumnSelect, 'C', ssCtrl | ssShift);
  Add(ecLineSelect, 'L', ssCtrl | ssShift);
  Add(ecMatchBracket, 'B', ssCtrl | ssShift);
}

int TSynEditKeyStrokes::FindKeycode(TKeyCode key, TShiftState shift) const {
  for (std::size_t i = 0; i < Items.size(); ++i)
    if (Items[i].Key == key && Items[i].Shift == shift && Items[i].Key2 == 0) return static_cast<int>(i);
  return -1;
}

int TSynEditKeyStrokes::FindKeycode2(TKeyCode key1, TShiftState shift1, TKeyCode key2, TShiftState shift2) const {
  for (std::size_t i = 0; i < Items.size(); ++i) {
    const TSynEditKeyStroke& s = Items[i];
    if (s.Key == key1 && s.Shift == shift1 && s.Key2 == key2 && s.Shift2 == shift2) return static_cast<int>(i);
  }
  return -1;
}

namespace {

const std::vector<std::pair<TSynEditorCommand, std::string>>& CommandNames() {
  static const std::vector<std::pair<TSynEditorCommand, std::string>> names = [] {
    std::vector<std::pair<TSynEditorCommand, std::string>> list = {
        {ecNone, "ecNone"}, {ecLeft, "ecLeft"}, {ecRight, "ecRight"}, {ecUp, "ecUp"}, {ecDown, "ecDown"},
        {ecWordLeft, "ecWordLeft"}, {ecWordRight, "ecWordRight"}, {ecLineStart, "ecLineStart"},
        {ecLineEnd, "ecLineEnd"}, {ecPageUp, "ecPageUp"}, {ecPageDown, "ecPageDown"}, {ecPageLeft, "ecPageLeft"},
        {ecPageRight, "ecPageRight"}, {ecPageTop, "ecPageTop"}, {ecPageBottom, "ecPageBottom"},
        {ecEditorTop, "ecEditorTop"}, {ecEditorBottom, "ecEditorBottom"}, {ecGotoXY, "ecGotoXY"},
    };
    for (TSynEditorCommand c = ecLeft; c <= ecGotoXY; ++c)
      list.push_back({static_cast<TSynEditorCommand>(c + ecSelection), "ecSel" + list[c].second.substr(2)});
    const std::pair<TSynEditorCommand, const char*> rest[] = {
        {ecSelectAll, "ecSelectAll"}, {ecCopy, "ecCopy"}, {ecScrollUp, "ecScrollUp"}, {ecScrollDown, "ecScrollDown"},
        {ecScrollLeft, "ecScrollLeft"}, {ecScrollRight, "ecScrollRight"}, {ecInsertMode, "ecInsertMode"},
        {ecOverwriteMode, "ecOverwriteMode"}, {ecToggleMode, "ecToggleMode"}, {ecNormalSelect, "ecNormalSelect"},
        {ecColumnSelect, "ecColumnSelect"}, {ecLineSelect, "ecLineSelect"}, {ecMatchBracket, "ecMatchBracket"},
        {ecCommentBlock, "ecCommentBlock"}, {ecContextHelp, "ecContextHelp"},
        {ecDeleteLastChar, "ecDeleteLastChar"}, {ecDeleteChar, "ecDeleteChar"}, {ecDeleteWord, "ecDeleteWord"},
        {ecDeleteLastWord, "ecDeleteLastWord"}, {ecDeleteBOL, "ecDeleteBOL"}, {ecDeleteEOL, "ecDeleteEOL"},
        {ecDeleteLine, "ecDeleteLine"}, {ecClearAll, "ecClearAll"}, {ecLineBreak, "ecLineBreak"},
        {ecInsertLine, "ecInsertLine"}, {ecChar, "ecChar"}, {ecImeStr, "ecImeStr"}, {ecUndo, "ecUndo"},
        {ecRedo, "ecRedo"}, {ecCut, "ecCut"}, {ecPaste, "ecPaste"}, {ecBlockIndent, "ecBlockIndent"},
        {ecBlockUnindent, "ecBlockUnindent"}, {ecTab, "ecTab"}, {ecShiftTab, "ecShiftTab"},
        {ecUpperCase, "ecUpperCase"}, {ecLowerCase, "ecLowerCase"}, {ecToggleCase, "ecToggleCase"},
        {ecTitleCase, "ecTitleCase"}, {ecUpperCaseBlock, "ecUpperCaseBlock"}, {ecLowerCaseBlock, "ecLowerCaseBlock"},
        {ecToggleCaseBlock, "ecToggleCaseBlock"}, {ecString, "ecString"}, {ecAutoCompletion, "ecAutoCompletion"},
        {ecUserFirst, "ecUserFirst"},
    };
    for (const auto& [command, name] : rest) list.push_back({command, name});
    for (int n = 0; n <= 9; ++n) {
      list.push_back({static_cast<TSynEditorCommand>(ecGotoMarker0 + n), "ecGotoMarker" + std::to_string(n)});
      list.push_back({static_cast<TSynEditorCommand>(ecSetMarker0 + n), "ecSetMarker" + std::to_string(n)});
    }
    return list;
  }();
  return names;
}

}  // namespace

std::optional<TSynEditorCommand> IdentToEditorCommand(const std::string& name) {
  for (const auto& [command, ident] : CommandNames())
    if (ident == name) return command;
  return std::nullopt;
}

std::string EditorCommandToIdent(TSynEditorCommand command) {
  for (const auto& [value, ident] : CommandNames())
    if (value == command) return ident;
  return std::to_string(command);
}

}  // namespace tarnwick

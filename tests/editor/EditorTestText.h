#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "editor/SynEdit.h"

namespace tarnwick::test {

// Loads lines into an editor as a file of them would load (LF breaks).
inline void LoadLines(TSynEdit& editor, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  std::istringstream in(text);
  editor.Lines().ReadStream(in);
}

inline std::vector<std::string> LinesOf(const TSynEdit& editor) {
  std::vector<std::string> lines;
  for (int i = 0; i < editor.Lines().Count(); ++i) lines.push_back(editor.Lines().Get(i).Str());
  return lines;
}

}  // namespace tarnwick::test

#pragma once

#include <array>
#include <stdexcept>
#include <string>

namespace tarnwick {

// A command-line argument as a path to open. A name with a "/" is taken relative to the
// current directory; a bare name is looked up in the current directory first, then in the
// program's folder. The result is absolute and lexically normal.
std::string ResolveParamPath(const std::string& param, const std::string& programFolder);

// Whether path names an existing file (not a folder).
bool FileExists(const std::string& path);

// Paths use "/" as their separator.
// The part after the last "/" (the whole path without one; empty after a final "/").
std::string FileNameOfPath(const std::string& path);
// The part up to and including the last "/"; a path without one raises EPathError.
std::string FolderOfPath(const std::string& path);
// Without a final "/" or backslash.
std::string TrimTrailingSlash(const std::string& text);
// Every backslash replaced by "/".
std::string ToForwardSlashes(std::string text);
// The part after the first full stop ("b.html" for "a.b.html"); empty without one.
std::string FileNameSuffix(const std::string& name);

// Reads a whole decimal integer as typed in a box: blanks before it and a sign are allowed,
// nothing after it; false for anything else or a number beyond 32 bits.
bool TryStrToInt(const std::string& text, int& value);

// Moves path to the front of the recent files (compared exactly); the oldest drops off.
void AddToRecentFiles(std::array<std::string, 5>& files, const std::string& path);

class EPathError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Which of the three highlighters a document of this file name gets.
enum class THighlighterKind { None, Html, Css, Xml };
THighlighterKind HighlighterKindForName(const std::string& name);

}  // namespace tarnwick

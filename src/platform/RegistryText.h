#pragma once

#include <string>
#include <string_view>

#include "platform/RegistryStore.h"

namespace tarnwick {

// The store file is laid out like a registry export:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Pellmoor Software\Tarnwick]
//   "TabWidth"=dword:00000002
//   "Font"="Liberation Mono"
//
// Inside quotes, \\ and \" stand for a backslash and a quotation mark, and \r and \n for the
// line break characters, so that any text survives a round trip.
std::string FormatRegistryText(const TRegistryTree& tree);

struct TParsedRegistryText {
  TRegistryTree tree;
  int badLines = 0;        // lines that were not understood and were left out
  int firstBadLine = 0;    // 1-based, 0 when all were understood
};

// Reads every line it understands; a line it does not costs that line only.
TParsedRegistryText ParseRegistryText(std::string_view text);

}  // namespace tarnwick

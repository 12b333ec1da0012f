#include "HighlighterFuzz.h"
#include "highlight/SynHighlighterHtml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tarnwick::TSynHTMLSyn;
  // States 0 and 5 never end a line.
  return tarnwick::fuzz::FuzzLines<TSynHTMLSyn>(data, size, [](tarnwick::TSynRange r) {
    return r >= TSynHTMLSyn::rsComment && r <= TSynHTMLSyn::rsDoubleQuoteValue && r != TSynHTMLSyn::rsUnknown;
  });
}

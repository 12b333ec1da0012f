#include "HighlighterFuzz.h"
#include "highlight/SynHighlighterXML.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tarnwick::TSynXMLSyn;
  return tarnwick::fuzz::FuzzLines<TSynXMLSyn>(data, size, [](tarnwick::TSynRange r) {
    return r >= TSynXMLSyn::rsAposAttrValue && r <= TSynXMLSyn::rsDocTypeSquareBraces;
  });
}

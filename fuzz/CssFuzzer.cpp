#include "HighlighterFuzz.h"
#include "highlight/SynHighlighterCSS.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tarnwick::TSynCssSyn;
  return tarnwick::fuzz::FuzzLines<TSynCssSyn>(data, size, [](tarnwick::TSynRange r) {
    auto valid = [](tarnwick::TSynRange s) { return s >= TSynCssSyn::rsProperty && s <= TSynCssSyn::rsValue; };
    if ((r & 0xFF) == TSynCssSyn::rsComment) return (r >> 16) == 0 && valid(r >> 8);
    return valid(r);
  });
}

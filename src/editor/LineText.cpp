#include "editor/LineText.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace tarnwick {

TTextBlock* TTextBlock::Allocate(std::size_t size) {
  if (size > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("a text of 4 GiB or more");
  auto* block = static_cast<TTextBlock*>(std::malloc(sizeof(TTextBlock) + size));
  if (block == nullptr) throw std::bad_alloc();
  block->refs = 1;
  block->size = static_cast<std::uint32_t>(size);
  return block;
}

TTextBlock* TTextBlock::Shrink(TTextBlock* block, std::size_t size) {
  if (size >= block->size) return block;
  auto* smaller = static_cast<TTextBlock*>(std::realloc(block, sizeof(TTextBlock) + size));
  if (smaller == nullptr) return block;
  smaller->size = static_cast<std::uint32_t>(size);
  return smaller;
}

void TTextBlock::Release(TTextBlock* block) {
  if (block != nullptr && --block->refs == 0) std::free(block);
}

TLineText::TLineText(std::string_view text) {
  if (text.empty()) return;
  TTextBlock* block = TTextBlock::Allocate(text.size());
  std::memcpy(block->Bytes(), text.data(), text.size());
  ref_ = {block, 0, static_cast<std::uint32_t>(text.size())};
}

TLineText TLineText::Share(TTextRef ref) {
  TLineText text;
  TTextBlock::AddRef(ref.block);
  text.ref_ = ref;
  return text;
}

}  // namespace tarnwick

#include "editor/LineText.h"

#include "platform/LargeMemory.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace tarnwick {

namespace {

std::uint32_t CheckedSize(std::size_t size) {
  if (size > std::numeric_limits<std::uint32_t>::max() - sizeof(TTextBlock)) throw std::length_error("a text of 4 GiB or more");
  return static_cast<std::uint32_t>(size);
}

}  // namespace

TTextBlock* TTextBlock::Allocate(std::size_t size) {
  std::uint32_t checked = CheckedSize(size);
  auto* block = static_cast<TTextBlock*>(AllocateMemory(sizeof(TTextBlock) + checked));
  block->refs = 1;
  block->size = checked;
  return block;
}

TTextBlock* TTextBlock::Resize(TTextBlock* block, std::size_t size) {
  std::uint32_t checked = CheckedSize(size);
  if (checked == block->size) return block;
  auto* resized = static_cast<TTextBlock*>(ResizeMemory(block, sizeof(TTextBlock) + block->size, sizeof(TTextBlock) + checked));
  resized->size = checked;
  return resized;
}

void TTextBlock::Release(TTextBlock* block) {
  if (block != nullptr && --block->refs == 0) FreeMemory(block, sizeof(TTextBlock) + block->size);
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

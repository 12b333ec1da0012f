#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace tarnwick {

// Bytes shared by reference counting, as a loaded file is: the whole file is read into one
// block and every line refers to its part of it, so a load costs one allocation for the text.
// Single-threaded, like the buffer that owns the lines.
struct TTextBlock {
  std::uint32_t refs;
  std::uint32_t size;
  char* Bytes() { return reinterpret_cast<char*>(this + 1); }

  // A block with room for size bytes and one reference.
  static TTextBlock* Allocate(std::size_t size);
  // The same block with room for size bytes; the bytes it had up to size are kept.
  static TTextBlock* Resize(TTextBlock* block, std::size_t size);
  static void AddRef(TTextBlock* block) {
    if (block != nullptr) ++block->refs;
  }
  static void Release(TTextBlock* block);
};

// A plain reference to bytes in a block, with no ownership of its own: the buffer stores
// these in its line records, so records can be moved as raw memory.
struct TTextRef {
  TTextBlock* block = nullptr;
  std::uint32_t offset = 0;
  std::uint32_t length = 0;

  std::string_view View() const {
    return block == nullptr ? std::string_view() : std::string_view(block->Bytes() + offset, length);
  }
};

// A line's text as callers hold it: a counted reference, so that handing out a line copies no
// bytes and the text stays valid after the line changes.
class TLineText {
 public:
  TLineText() = default;
  // These copy the text into a block of its own.
  TLineText(std::string_view text);
  TLineText(const char* text) : TLineText(std::string_view(text)) {}
  TLineText(const std::string& text) : TLineText(std::string_view(text)) {}
  static TLineText Share(TTextRef ref);
  TLineText(const TLineText& other) : ref_(other.ref_) { TTextBlock::AddRef(ref_.block); }
  TLineText(TLineText&& other) noexcept : ref_(other.ref_) { other.ref_ = {}; }
  TLineText& operator=(TLineText other) noexcept {
    std::swap(ref_, other.ref_);
    return *this;
  }
  ~TLineText() { TTextBlock::Release(ref_.block); }

  std::string_view View() const { return ref_.View(); }
  operator std::string_view() const { return View(); }
  std::string Str() const { return std::string(View()); }
  std::size_t size() const { return ref_.length; }
  bool empty() const { return ref_.length == 0; }
  const char* data() const { return View().data(); }

  // A part of this text sharing its bytes.
  TLineText Part(std::size_t offset, std::size_t length) const {
    if (length == 0) return {};
    return Share({ref_.block, ref_.offset + static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length)});
  }
  // Hands the reference over to the caller, who now owns it.
  TTextRef Release() { return std::exchange(ref_, TTextRef{}); }
  // The same bytes in memory, not only equal ones.
  bool SharesBytesWith(const TLineText& other) const { return View().data() == other.View().data(); }

  friend bool operator==(const TLineText& a, std::string_view b) { return a.View() == b; }

 private:
  TTextRef ref_;
};

}  // namespace tarnwick

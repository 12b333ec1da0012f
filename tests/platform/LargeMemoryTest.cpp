#include <gtest/gtest.h>

#include <cstring>

#include "platform/LargeMemory.h"

namespace tarnwick {
namespace {

// Small and large blocks, growing in place, moving, shrinking and crossing between the kinds:
// the bytes up to the smaller size always survive.
TEST(LargeMemory, KeepsItsBytesThroughEveryKindOfResize) {
  const std::size_t sizes[] = {100, 3 << 20, (3 << 20) + 5, 5 << 20, 20 << 20, (5 << 19) + 1, 1000, 64 << 20, 7};
  char* block = nullptr;
  std::size_t size = 0;
  for (std::size_t next : sizes) {
    SCOPED_TRACE(next);
    block = static_cast<char*>(ResizeMemory(block, size, next));
    std::size_t kept = std::min(size, next);
    for (std::size_t i = 0; i < kept; i += 4093) ASSERT_EQ(block[i], static_cast<char>(i % 251)) << i;
    if (kept > 0) {
      ASSERT_EQ(block[kept - 1], static_cast<char>((kept - 1) % 251));
    }
    for (std::size_t i = kept; i < next; ++i) block[i] = static_cast<char>(i % 251);
    size = next;
  }
  FreeMemory(block, size);
  EXPECT_EQ(ResizeMemory(AllocateMemory(10), 10, 0), nullptr);
}

}  // namespace
}  // namespace tarnwick

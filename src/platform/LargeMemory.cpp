#include "platform/LargeMemory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace tarnwick {

namespace {

// Large blocks are whole, aligned huge pages: the system can back them with 2 MiB pages, so a
// 50 MB file costs a few dozen page faults instead of thousands, and growing by less than a
// page costs nothing.
constexpr std::size_t kHugePage = 2 << 20;
constexpr std::size_t kMappedFrom = kHugePage;

bool IsMapped(std::size_t size) { return size >= kMappedFrom; }
std::size_t MappedSize(std::size_t size) { return (size + kHugePage - 1) / kHugePage * kHugePage; }

char* MapAligned(std::size_t mapped) {
  void* raw = ::mmap(nullptr, mapped + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  char* start = static_cast<char*>(raw);
  char* aligned = reinterpret_cast<char*>((reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1) / kHugePage * kHugePage);
  if (aligned > start) ::munmap(start, static_cast<std::size_t>(aligned - start));
  std::size_t tail = static_cast<std::size_t>(start + mapped + kHugePage - (aligned + mapped));
  if (tail > 0) ::munmap(aligned + mapped, tail);
  ::madvise(aligned, mapped, MADV_HUGEPAGE);
  return aligned;
}

void* ResizeMapped(void* block, std::size_t oldSize, std::size_t newSize) {
  std::size_t oldMapped = MappedSize(oldSize), newMapped = MappedSize(newSize);
  char* start = static_cast<char*>(block);
  if (newMapped == oldMapped) return block;
  if (newMapped < oldMapped) {
    ::munmap(start + newMapped, oldMapped - newMapped);
    return block;
  }
  if (::mremap(block, oldMapped, newMapped, 0) != MAP_FAILED) {
    ::madvise(start, newMapped, MADV_HUGEPAGE);
    return block;
  }
  // No room to grow in place: the pages move into a new aligned block without being copied.
  char* fresh = MapAligned(newMapped);
  if (::mremap(block, oldMapped, oldMapped, MREMAP_MAYMOVE | MREMAP_FIXED, fresh) == MAP_FAILED) {
    ::munmap(fresh, newMapped);
    throw std::bad_alloc();
  }
  return fresh;
}

}  // namespace

void* ResizeMemory(void* block, std::size_t oldSize, std::size_t newSize) {
  if (block == nullptr) oldSize = 0;
  if (newSize == 0) {
    FreeMemory(block, oldSize);
    return nullptr;
  }
  if (block != nullptr && IsMapped(oldSize) && IsMapped(newSize)) return ResizeMapped(block, oldSize, newSize);
  if (!IsMapped(oldSize) && !IsMapped(newSize)) {
    void* moved = std::realloc(block, newSize);
    if (moved == nullptr) throw std::bad_alloc();
    return moved;
  }
  // Crossing between the two kinds: a copy of the smaller, small side.
  void* fresh = IsMapped(newSize) ? MapAligned(MappedSize(newSize)) : std::malloc(newSize);
  if (fresh == nullptr) throw std::bad_alloc();
  if (block != nullptr) std::memcpy(fresh, block, std::min(oldSize, newSize));
  FreeMemory(block, oldSize);
  return fresh;
}

void AdviseLargeBuffer(void* data, std::size_t size) {
  if (size < 2 * kHugePage) return;
  auto start = (reinterpret_cast<std::uintptr_t>(data) + kHugePage - 1) / kHugePage * kHugePage;
  auto end = (reinterpret_cast<std::uintptr_t>(data) + size) / kHugePage * kHugePage;
  if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

void FreeMemory(void* block, std::size_t size) {
  if (block == nullptr) return;
  if (IsMapped(size))
    ::munmap(block, MappedSize(size));
  else
    std::free(block);
}

}  // namespace tarnwick

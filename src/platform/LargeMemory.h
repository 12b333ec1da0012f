#pragma once

#include <cstddef>

namespace tarnwick {

// Memory for what grows large (a loaded file, the line records of a long document). Large
// blocks are mapped pages the system may back with huge pages, and they grow in place or by
// remapping, so growing never copies them and the old and new block never coexist. Which kind
// a block is follows from its size alone, so every call must give the size it has now.
// Raises std::bad_alloc when no memory is left.
void* ResizeMemory(void* block, std::size_t oldSize, std::size_t newSize);
inline void* AllocateMemory(std::size_t size) { return ResizeMemory(nullptr, 0, size); }
void FreeMemory(void* block, std::size_t size);

// Lets the system back the whole huge pages inside a large buffer of someone else's (a
// string about to be filled) with huge pages: the same saving in page faults, for memory
// this module does not own. Call it before the buffer is first written.
void AdviseLargeBuffer(void* data, std::size_t size);

}  // namespace tarnwick

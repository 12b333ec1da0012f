#include "ftp/WSockBuf.h"

#include <algorithm>
#include <cstring>

namespace tarnwick {

TBuffer::TBuffer(int capacity) : storage_(static_cast<std::size_t>(capacity > 0 ? capacity : 1514)) {}

std::size_t TBuffer::Write(std::string_view bytes) {
  std::size_t count = std::min(bytes.size(), storage_.size() - write_);
  if (count > 0) std::memcpy(storage_.data() + write_, bytes.data(), count);
  write_ += count;
  return count;
}

void TBuffer::Remove(std::size_t count) {
  read_ += std::min(count, write_ - read_);
  if (read_ == write_) read_ = write_ = 0;
}

}  // namespace tarnwick

#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tarnwick {

// One segment of a socket's send queue: a fixed capacity with a write and a read position. A
// drained segment starts again from its beginning.
class TBuffer {
 public:
  explicit TBuffer(int capacity);

  // Copies what still fits and returns that count (0 when full).
  std::size_t Write(std::string_view bytes);
  std::string_view Peek() const { return {storage_.data() + read_, write_ - read_}; }
  // Advances the read position by at most the unread count.
  void Remove(std::size_t count);
  bool Empty() const { return read_ == write_; }

 private:
  std::vector<char> storage_;
  std::size_t write_ = 0;
  std::size_t read_ = 0;
};

}  // namespace tarnwick

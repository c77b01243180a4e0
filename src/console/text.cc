#include "console/text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace igra::console {

Text::~Text() { std::free(data_); }

bool Text::Append(std::string_view bytes) {
  if (bytes.empty()) return true;
  if (bytes.size() > capacity_ - size_) {
    // Grow geometrically.  realloc moves a large block by remapping its
    // pages rather than copying them, so a long text is not copied over
    // and over as it grows.
    if (bytes.size() > SIZE_MAX - size_) return false;
    const std::size_t needed = size_ + bytes.size();
    std::size_t capacity = capacity_ < 64 ? 64 : capacity_;
    while (capacity < needed) capacity = capacity > SIZE_MAX / 2 ? needed : capacity * 2;
    void* grown = std::realloc(data_, capacity);
    if (grown == nullptr) return false;
    data_ = static_cast<char*>(grown);
    capacity_ = capacity;
  }
  std::memcpy(data_ + size_, bytes.data(), bytes.size());
  size_ += bytes.size();
  return true;
}

void Text::Clear() {
  std::free(data_);
  data_ = nullptr;
  size_ = 0;
  capacity_ = 0;
}

}  // namespace igra::console

#include "console/input_stream.h"

#include <new>
#include <span>
#include <stdexcept>

namespace igra::console {

namespace {

constexpr unsigned char kLineFeed = 10;
constexpr unsigned char kCarriageReturn = 13;

}  // namespace

void InputStream::BeginOperation() {
  ended_ = false;
  failed_read_ = 0;
}

bool InputStream::HasByte() {
  if (start_ < end_) return true;
  if (ended_) return false;
  const ReadResult read = platform_.Read(std::span<char>(buffer_));
  if (read.count == 0) {
    ended_ = true;
    failed_read_ = read.error;
    return false;
  }
  start_ = 0;
  end_ = read.count;
  return true;
}

void InputStream::DiscardLine() {
  if (AtEnd()) return;
  for (;;) {
    const unsigned char b = Peek();
    Consume();
    if (b == kLineFeed) return;
    if (AtEnd()) return;
    if (b == kCarriageReturn) {
      if (Peek() == kLineFeed) Consume();
      return;
    }
  }
}

bool InputStream::AppendWhile(std::string& text, bool (*keep)(unsigned char),
                              SourcePlace caller) {
  try {
    while (HasByte()) {
      // Take the whole run of kept bytes in the buffer at once.
      std::size_t stop = start_;
      while (stop < end_ && keep(static_cast<unsigned char>(buffer_[stop])))
        ++stop;
      text.append(buffer_.data() + start_, stop - start_);
      start_ = stop;
      if (start_ < end_) return true;
    }
    return true;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  allocation_failure_ = {
      CodeLocation{CurrentLocation(), SourcePlace::Here()},
      CodeLocation{IGRA_CALL_LOCATION(), caller},
  };
  return false;
}

}  // namespace igra::console

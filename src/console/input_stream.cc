#include "console/input_stream.h"

#include <cstring>
#include <span>

namespace igra::console {

namespace {

constexpr unsigned char kLineFeed = 10;
constexpr unsigned char kCarriageReturn = 13;

}  // namespace

const char* LineRunEnd(const char* first, const char* last) {
  // memchr scans a block at a time; each hit narrows the search for the
  // next kind of byte.
  for (const unsigned char stop : {kLineFeed, kCarriageReturn, kEndMark}) {
    const void* hit = std::memchr(first, stop, static_cast<std::size_t>(last - first));
    if (hit != nullptr) last = static_cast<const char*>(hit);
  }
  return last;
}

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
  // Bytes inside the line go a buffer at a time; after each of them the
  // line may also end with the input or at the end mark.
  if (!SkipRun(LineRunEnd) || Peek() == kEndMark) return;
  const unsigned char b = Peek();
  Consume();
  if (b == kCarriageReturn && !AtEnd() && Peek() == kLineFeed) Consume();
}

bool InputStream::SkipRun(RunEnd run_end) {
  while (HasByte()) {
    ConsumeRun(run_end);
    if (start_ < end_) return true;
  }
  return false;
}

bool InputStream::AppendRun(Text& text, RunEnd run_end, SourcePlace caller) {
  while (HasByte()) {
    // Take the whole run of kept bytes in the buffer at once.
    const std::size_t first = start_;
    ConsumeRun(run_end);
    if (!text.Append({buffer_.data() + first, start_ - first})) {
      start_ = first;
      allocation_failure_ = {
          CodeLocation{CurrentLocation(), SourcePlace::Here()},
          CodeLocation{IGRA_CALL_LOCATION(), caller},
      };
      return false;
    }
    if (start_ < end_) return true;
  }
  return true;
}

}  // namespace igra::console

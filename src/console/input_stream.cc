#include "console/input_stream.h"

#include <span>

namespace igra::console {

namespace {

constexpr unsigned char kLineFeed = 10;
constexpr unsigned char kCarriageReturn = 13;

// Bytes that neither end a line nor mark the end of the input.
constexpr ByteSet kInsideLine = ByteSet::Of(
    [](unsigned char b) { return b != kLineFeed && b != kCarriageReturn && b != kEndMark; });

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
  // Bytes inside the line go a buffer at a time; after each of them the
  // line may also end with the input or at the end mark.
  if (!SkipWhile(kInsideLine) || Peek() == kEndMark) return;
  const unsigned char b = Peek();
  Consume();
  if (b == kCarriageReturn && !AtEnd() && Peek() == kLineFeed) Consume();
}

bool InputStream::SkipWhile(const ByteSet& skip) {
  while (HasByte()) {
    ConsumeRun(skip);
    if (start_ < end_) return true;
  }
  return false;
}

bool InputStream::AppendWhile(Text& text, const ByteSet& keep, SourcePlace caller) {
  while (HasByte()) {
    // Take the whole run of kept bytes in the buffer at once.
    const std::size_t first = start_;
    ConsumeRun(keep);
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

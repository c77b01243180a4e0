// Standard input as the input operations see it: a stream of bytes read in
// blocks, with lines, an end mark, and end of input that is not remembered.
#ifndef IGRA_CONSOLE_INPUT_STREAM_H_
#define IGRA_CONSOLE_INPUT_STREAM_H_

#include <array>
#include <cstddef>
#include <string_view>

#include "console/platform.h"
#include "console/program.h"
#include "console/text.h"

namespace igra::console {

/// Byte 26: once it is the next unread byte, the input has ended for good.
/// No operation ever consumes it.
inline constexpr unsigned char kEndMark = 26;

/// Finds where a run of bytes ends: the first byte in [first, last) that
/// does not belong to the run, or `last`.  The stream scans its buffer a run
/// at a time with one (a name or a junk line may be gigabytes long).
using RunEnd = const char* (*)(const char* first, const char* last);

/// The run of bytes inside a line: it ends at the first LF, CR or end mark.
const char* LineRunEnd(const char* first, const char* last);

/// The bytes of standard input, buffered in blocks.
///
/// End of input is not remembered across operations: each input operation
/// starts with BeginOperation(), and an operation that needs more bytes asks
/// standard input again, so a terminal may deliver more lines after an end
/// of input.  Within one operation, end of input (or a failed read) stays
/// seen, and the operation finishes as at end of input.
class InputStream {
 public:
  explicit InputStream(Platform& platform) : platform_(platform) {}
  InputStream(const InputStream&) = delete;
  InputStream& operator=(const InputStream&) = delete;

  /// Starts an input operation: forgets an end of input seen before.
  void BeginOperation();

  /// Whether a next byte is available, reading more input when the buffer
  /// is used up (this may block).  False at end of input and after a failed
  /// read, for the rest of the operation.
  bool HasByte();

  /// The next byte.  Requires HasByte().
  unsigned char Peek() const { return static_cast<unsigned char>(buffer_[start_]); }

  /// Consumes the next byte.  Requires HasByte().
  void Consume() { ++start_; }

  /// Whether the input behaves as ended: no byte, or the end mark next.
  bool AtEnd() { return !HasByte() || Peek() == kEndMark; }

  /// Discards input up to and including the next line end: LF, CR LF, or a
  /// CR that is not followed by LF.  After a CR that was the last byte
  /// delivered so far, waits for one more byte to see whether it is an LF.
  void DiscardLine();

  /// Consumes the run of bytes that starts here, reading more input as
  /// needed, up to where `run_end` says it ends or to the end of input.
  /// Returns HasByte().
  bool SkipRun(RunEnd run_end);

  /// Appends to `text` the run of bytes that starts here, consuming it, up
  /// to where `run_end` says it ends or to the end of input.  Returns false
  /// when memory ran out while `text` grew; then the place of that failure
  /// is in AllocationFailure() and the stream stops before the bytes that
  /// did not fit.
  IGRA_NOINLINE bool AppendRun(Text& text, RunEnd run_end,
                               SourcePlace caller = SourcePlace::Here());

  /// Where the last failed AppendRun ran out of memory: inside the stream,
  /// then the call into it.
  const std::array<CodeLocation, 2>& AllocationFailure() const { return allocation_failure_; }

  /// The run-time error number of a read that failed during the current
  /// operation, or 0.
  int FailedRead() const { return failed_read_; }

 private:
  // Room for what one read delivers; a line may span many reads.
  static constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

  // Consumes the buffered part of the run that starts here.
  void ConsumeRun(RunEnd run_end) {
    start_ = static_cast<std::size_t>(run_end(buffer_.data() + start_, buffer_.data() + end_) -
                                      buffer_.data());
  }

  Platform& platform_;
  // Not zero-filled: only bytes a read delivered are ever looked at, and
  // leaving it alone spares the start-up 64 KiB of page faults.
  std::array<char, kBufferSize> buffer_;  // NOLINT(cppcoreguidelines-pro-type-member-init)
  std::size_t start_ = 0;                 // next unread byte
  std::size_t end_ = 0;                   // end of the bytes read
  bool ended_ = false;                    // end of input seen in this operation
  int failed_read_ = 0;
  std::array<CodeLocation, 2> allocation_failure_{};
};

}  // namespace igra::console

#endif  // IGRA_CONSOLE_INPUT_STREAM_H_

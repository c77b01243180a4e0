// The little the game needs from the operating system: read standard input,
// write standard output, end the process, and place a code address inside
// the executable image.  Each system's version lives in its own file.
#ifndef IGRA_CONSOLE_PLATFORM_H_
#define IGRA_CONSOLE_PLATFORM_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

/// The code location of the call that entered the current function: the
/// last byte of the call instruction in its caller (the return address minus
/// one, so that the location lies in the call and not in whatever follows
/// it).  Used in functions that are never inlined.
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#define IGRA_CALL_LOCATION() (reinterpret_cast<std::uintptr_t>(_ReturnAddress()) - 1)
#define IGRA_NOINLINE __declspec(noinline)
#else
#define IGRA_CALL_LOCATION() (reinterpret_cast<std::uintptr_t>(__builtin_return_address(0)) - 1)
#define IGRA_NOINLINE __attribute__((noinline))
#endif

namespace igra::console {

/// What one read of standard input gave.
struct ReadResult {
  /// Bytes delivered into the buffer; 0 at end of input or on failure.
  std::size_t count = 0;
  /// 0, or the run-time error number of a failed read (never 0 for one).
  int error = 0;
};

/// Standard input and output as byte streams, and the end of the process.
/// The game talks to the system only through this.
class Platform {
 public:
  virtual ~Platform() = default;

  /// Reads what standard input has, up to `buffer.size()` bytes; blocks
  /// until at least one byte has arrived or the input has ended.  A broken
  /// pipe is end of input.  Interrupted or refused (non-blocking) reads are
  /// waited out, not failures.
  virtual ReadResult Read(std::span<char> buffer) = 0;

  /// Hands all bytes of `parts`, in order, to standard output, as one
  /// gathered request where the system allows it.  Short writes are
  /// completed; a non-blocking output is waited for.  Returns false when
  /// the output has really failed (broken pipe, no space, bad descriptor).
  virtual bool Write(std::span<const std::string_view> parts) = 0;

  /// Ends the process with `status`.  Does not return.
  [[noreturn]] virtual void Exit(int status) = 0;
};

/// The process's own standard input and output.  The first call also sets
/// the process up: a write to a closed pipe then fails instead of killing it.
Platform& SystemPlatform();

/// The offset of a code address from the start of the executable image:
/// the same on every run of one build, whatever the load address.
std::uint32_t ImageOffset(std::uintptr_t address);

}  // namespace igra::console

#endif  // IGRA_CONSOLE_PLATFORM_H_

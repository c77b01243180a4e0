// Both ends of the program: the start that runs the script, the normal
// exit, and the stop with a run-time error report.
#ifndef IGRA_CONSOLE_PROGRAM_H_
#define IGRA_CONSOLE_PROGRAM_H_

#include <cstdint>
#include <initializer_list>

#include "console/platform.h"

namespace igra::console {

class InputStream;

/// Run-time error numbers the game itself raises; a failed read stops the
/// run with a number taken from the system's error code instead.
enum RunTimeError : int {
  kWriteFailed = 101,
  kNotANumber = 106,
  kOutOfMemory = 203,
  kOverflow = 205,
};

/// A place in the game's own source code.  As a defaulted argument,
/// `SourcePlace::Here()` names the place of the call.
struct SourcePlace {
  const char* routine = nullptr;
  const char* file = nullptr;  // relative to the project
  unsigned line = 0;

  static constexpr SourcePlace Here(const char* routine = __builtin_FUNCTION(),
                                    const char* file = __builtin_FILE(),
                                    unsigned line = __builtin_LINE()) {
    return {routine, file, line};
  }
};

/// A code location as the run-time error report shows it: an address in the
/// running image and, for the game's own code, the place in the source.
struct CodeLocation {
  std::uintptr_t address = 0;
  SourcePlace source;  // no routine and no file: the location alone
};

/// The code location of the call of this function: a way for a routine to
/// name a place inside itself in a report.
IGRA_NOINLINE std::uintptr_t CurrentLocation();

/// Takes standard input and output as they are: from now on every console
/// operation works on `platform`, with a new input stream.
void UsePlatform(Platform& platform);

/// Starts the game on `platform`: takes standard input and output as they
/// are and runs `script` from its first step.  Should the script return, the
/// program exits normally.  Does not return.
[[noreturn]] void RunProgram(void (&script)(), Platform& platform);

/// The platform the program runs on.
Platform& CurrentPlatform();

/// The input stream every input operation reads from.
InputStream& CurrentInput();

/// The normal exit: nothing is pending on standard output (every operation
/// has handed over its bytes already), so the process ends with status 0.
[[noreturn]] void ExitNormally();

/// Stops the run with run-time error `number`: writes the run-time error
/// report to standard output, ignoring failures of those writes, and exits
/// with status `number`.  `chain` starts at the location where the error
/// was found and goes outward through its callers; the start-up location
/// that runs the script closes it.
[[noreturn]] void StopRun(int number, std::initializer_list<CodeLocation> chain);

/// Stops the run if a read of standard input failed during the current
/// input operation, with the read's error number; `step` is the operation's
/// step in the script.
void StopIfReadFailed(const CodeLocation& step);

}  // namespace igra::console

#endif  // IGRA_CONSOLE_PROGRAM_H_

#include "console/program.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

#include "console/input_stream.h"

namespace igra::console {

namespace {

Platform* g_platform = nullptr;
InputStream* g_input = nullptr;
std::uintptr_t g_startup_location = 0;

// A report line holds at most this many bytes before its line break.
constexpr std::size_t kMaxReportLine = 255;
// Back-trace lines after the error location's own: its callers, start-up included.
constexpr std::size_t kMaxCallerLines = 9;

// The run-time error report, built in place: reporting must not need memory
// that may have just run out.
class ReportText {
 public:
  // Appends to the current line, cut at kMaxReportLine bytes.
  void Add(std::string_view piece) {
    const std::size_t take = std::min(piece.size(), kMaxReportLine - line_length_);
    std::memcpy(text_.data() + length_, piece.data(), take);
    length_ += take;
    line_length_ += take;
  }
  // Appends exactly 8 upper-case hexadecimal digits.
  void AddHex8(std::uint32_t value) {
    char digits[8];
    for (int i = 7; i >= 0; --i, value >>= 4) digits[i] = "0123456789ABCDEF"[value & 15];
    Add({digits, sizeof digits});
  }
  // Appends a number in decimal, without sign or leading zeros.
  void AddDecimal(unsigned value) {
    char digits[16];
    std::size_t first = sizeof digits;
    do {
      digits[--first] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    Add({digits + first, sizeof digits - first});
  }
  void EndLine() {
    text_[length_++] = '\r';
    text_[length_++] = '\n';
    line_length_ = 0;
  }
  std::string_view View() const { return {text_.data(), length_}; }

 private:
  // The heading, the error location, its callers, the start-up location
  // and the empty line.
  static constexpr std::size_t kLines = 1 + 1 + kMaxCallerLines + 1 + 1;
  std::array<char, kLines*(kMaxReportLine + 2)> text_{};
  std::size_t length_ = 0;
  std::size_t line_length_ = 0;
};

// One back-trace line: the location, then what is known of its source.
void AddBackTraceLine(ReportText& report, const CodeLocation& location) {
  report.Add("  $");
  report.AddHex8(ImageOffset(location.address));
  const SourcePlace& source = location.source;
  if (source.routine != nullptr) {
    report.Add("  ");
    report.Add(source.routine);
  }
  if (source.file != nullptr) {
    if (source.routine != nullptr) report.Add(", ");
    if (source.line != 0) {
      report.Add(" line ");
      report.AddDecimal(source.line);
    }
    report.Add(" of ");
    report.Add(source.file);
  }
  report.EndLine();
}

// Ends the process through the platform.  Its Exit never returns; should a
// faulty one return, the process ends here all the same.
[[noreturn]] void EndProcess(int status) {
  g_platform->Exit(status);
  std::_Exit(status);  // cppcheck-suppress unreachableCode ; the safety net above
}

}  // namespace

std::uintptr_t CurrentLocation() { return IGRA_CALL_LOCATION(); }

void UsePlatform(Platform& platform) {
  static std::optional<InputStream> input;
  input.emplace(platform);
  g_platform = &platform;
  g_input = &*input;
}

void RunProgram(void (&script)(), Platform& platform) {
  UsePlatform(platform);
  g_startup_location = CurrentLocation();
  try {
    script();
  } catch (...) {
    // The input grows only in Texts, which answer running out of memory
    // with a result (error 203 with its chain of callers).  The only other
    // exception the library could raise here is an allocation failure too
    // (bad_alloc, length_error): it ends the run with 203, never a crash.
    StopRun(kOutOfMemory, {});
  }
  ExitNormally();
}

Platform& CurrentPlatform() { return *g_platform; }

InputStream& CurrentInput() { return *g_input; }

void ExitNormally() { EndProcess(0); }

void StopRun(int number, std::initializer_list<CodeLocation> chain) {
  ReportText report;
  const CodeLocation found =
      chain.size() > 0 ? *chain.begin() : CodeLocation{g_startup_location, {}};
  report.Add("Runtime error ");
  report.AddDecimal(static_cast<unsigned>(number));
  report.Add(" at $");
  report.AddHex8(ImageOffset(found.address));
  report.EndLine();
  std::size_t lines = 0;
  for (const CodeLocation& location : chain) {
    if (lines++ == kMaxCallerLines) break;  // the start-up line is the last
    AddBackTraceLine(report, location);
  }
  AddBackTraceLine(report, CodeLocation{g_startup_location, {}});
  report.EndLine();

  // The game state goes with the process; if standard output refuses the
  // report, the exit status still tells the error.
  const std::string_view text = report.View();
  g_platform->Write(std::span<const std::string_view>(&text, 1));
  EndProcess(number);
}

void StopIfReadFailed(const CodeLocation& step) {
  if (const int error = g_input->FailedRead()) StopRun(error, {step});
}

}  // namespace igra::console

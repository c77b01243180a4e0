#include "console/output.h"

#include <array>
#include <cstddef>
#include <span>

namespace igra::console {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// Hands the pieces (and the line break) to the system as one gathered
// write; the script's steps have far fewer pieces than fit in one.
void Show(std::initializer_list<std::string_view> pieces, bool line_break,
          const CodeLocation& step) {
  std::array<std::string_view, 16> parts;
  std::size_t count = 0;
  auto send = [&] {
    if (!CurrentPlatform().Write(std::span(parts.data(), count))) StopRun(kWriteFailed, {step});
    count = 0;
  };
  for (const std::string_view piece : pieces) {
    if (count == parts.size()) send();
    parts[count++] = piece;
  }
  if (line_break) {
    if (count == parts.size()) send();
    parts[count++] = kLineBreak;
  }
  send();
}

}  // namespace

void ShowText(std::initializer_list<std::string_view> pieces, SourcePlace place) {
  Show(pieces, false, {IGRA_CALL_LOCATION(), place});
}

void ShowLine(std::initializer_list<std::string_view> pieces, SourcePlace place) {
  Show(pieces, true, {IGRA_CALL_LOCATION(), place});
}

}  // namespace igra::console

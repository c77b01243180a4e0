#include "console/number_input.h"

#include <algorithm>
#include <cmath>

#include "console/extended.h"
#include "console/input_stream.h"
#include "console/parse_number.h"

namespace igra::console {

namespace {

// The space and every control byte but the end mark: tab, CR and LF too.
constexpr bool IsBlank(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b == ' ' || (b < ' ' && b != kEndMark);
}

// A run of blank bytes.  Thousands of empty lines may stand before an
// answer, so whole blocks of 64 are tested at once first: a loop without an
// early exit, which the compiler turns into a few vector instructions.
const char* BlankRunEnd(const char* first, const char* last) {
  constexpr int kBlock = 64;
  while (last - first >= kBlock) {
    unsigned not_blank = 0;  // IsBlank over the block, without branches
    for (int i = 0; i < kBlock; ++i) {
      const auto b = static_cast<unsigned char>(first[i]);
      not_blank |= static_cast<unsigned>(b > ' ') | static_cast<unsigned>(b == kEndMark);
    }
    if (not_blank != 0) break;
    first += kBlock;
  }
  return std::find_if_not(first, last, IsBlank);
}

// A number token: up to a blank byte or the end mark.
const char* TokenRunEnd(const char* first, const char* last) {
  return std::find_if(first, last,
                      [](char b) { return IsBlank(b) || b == static_cast<char>(kEndMark); });
}

}  // namespace

void AskNumber(double& answer, SourcePlace place) {
  const CodeLocation step{IGRA_CALL_LOCATION(), place};
  InputStream& input = CurrentInput();
  input.BeginOperation();

  Extended result;
  bool convert = true;
  Text token;
  if (!input.AtEnd()) {
    if (!input.SkipRun(BlankRunEnd)) {
      convert = false;  // only blank bytes were left: the answer is 0
    } else if (!input.AppendRun(token, TokenRunEnd)) {
      const auto& [inside, call] = input.AllocationFailure();
      StopRun(kOutOfMemory, {inside, call, step});
    }
  }
  if (convert) {
    const ParsedNumber parsed = ParseNumber(token.View());
    token.Clear();  // released before a stop: exit does not unwind this frame
    if (parsed.outcome == ParsedNumber::Outcome::kNotNumber) StopRun(kNotANumber, {step});
    if (parsed.outcome == ParsedNumber::Outcome::kOverflow) StopRun(kOverflow, {step});
    result = parsed.value;
  }

  const double stored = result.ToDouble();
  input.DiscardLine();
  if (!std::isfinite(stored)) StopRun(kOverflow, {step});
  StopIfReadFailed(step);
  answer = stored;
}

}  // namespace igra::console

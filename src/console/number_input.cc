#include "console/number_input.h"

#include <cmath>

#include "console/extended.h"
#include "console/input_stream.h"
#include "console/parse_number.h"

namespace igra::console {

namespace {

// The space and every control byte but the end mark: tab, CR and LF too.
constexpr bool IsBlank(unsigned char b) { return b == ' ' || (b < ' ' && b != kEndMark); }

constexpr ByteSet kBlanks = ByteSet::Of(IsBlank);
constexpr ByteSet kTokenBytes =
    ByteSet::Of([](unsigned char b) { return !IsBlank(b) && b != kEndMark; });

}  // namespace

void AskNumber(double& answer, SourcePlace place) {
  const CodeLocation step{IGRA_CALL_LOCATION(), place};
  InputStream& input = CurrentInput();
  input.BeginOperation();

  Extended result;
  bool convert = true;
  Text token;
  if (!input.AtEnd()) {
    if (!input.SkipWhile(kBlanks)) {
      convert = false;  // only blank bytes were left: the answer is 0
    } else if (!input.AppendWhile(token, kTokenBytes)) {
      const auto& [inside, call] = input.AllocationFailure();
      StopRun(kOutOfMemory, {inside, call, step});
    }
  }
  if (convert) {
    const ParsedNumber parsed = ParseNumber(token.View());
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

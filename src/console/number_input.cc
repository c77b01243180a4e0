#include "console/number_input.h"

#include <cmath>
#include <string>

#include "console/extended.h"
#include "console/input_stream.h"
#include "console/parse_number.h"

namespace igra::console {

namespace {

// The space and every control byte but the end mark: tab, CR and LF too.
bool IsBlank(unsigned char b) { return b == ' ' || (b < ' ' && b != kEndMark); }

bool IsTokenByte(unsigned char b) { return !IsBlank(b) && b != kEndMark; }

}  // namespace

void AskNumber(double& answer, SourcePlace place) {
  const CodeLocation step{IGRA_CALL_LOCATION(), place};
  InputStream& input = CurrentInput();
  input.BeginOperation();

  Extended result;
  bool convert = true;
  std::string token;
  if (!input.AtEnd()) {
    while (input.HasByte() && IsBlank(input.Peek())) input.Consume();
    if (!input.HasByte()) {
      convert = false;  // only blank bytes were left: the answer is 0
    } else if (!input.AppendWhile(token, IsTokenByte)) {
      const auto& [inside, call] = input.AllocationFailure();
      StopRun(kOutOfMemory, {inside, call, step});
    }
  }
  if (convert) {
    const ParsedNumber parsed = ParseNumber(token);
    if (parsed.outcome == ParsedNumber::Outcome::kNotNumber)
      StopRun(kNotANumber, {step});
    if (parsed.outcome == ParsedNumber::Outcome::kOverflow)
      StopRun(kOverflow, {step});
    result = parsed.value;
  }

  const double stored = result.ToDouble();
  input.DiscardLine();
  if (!std::isfinite(stored)) StopRun(kOverflow, {step});
  StopIfReadFailed(step);
  answer = stored;
}

}  // namespace igra::console

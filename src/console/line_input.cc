#include "console/line_input.h"

#include "console/input_stream.h"

namespace igra::console {

void Pause(SourcePlace place) {
  const CodeLocation step{IGRA_CALL_LOCATION(), place};
  InputStream& input = CurrentInput();
  input.BeginOperation();
  input.DiscardLine();
  StopIfReadFailed(step);
}

void AskName(Text& name, SourcePlace place) {
  const CodeLocation step{IGRA_CALL_LOCATION(), place};
  InputStream& input = CurrentInput();
  input.BeginOperation();
  name.Clear();
  if (!input.AppendRun(name, LineRunEnd)) {
    const auto& [inside, call] = input.AllocationFailure();
    StopRun(kOutOfMemory, {inside, call, step});
  }
  input.DiscardLine();
  StopIfReadFailed(step);
}

}  // namespace igra::console

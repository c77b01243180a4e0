#include "console/line_input.h"

#include "console/input_stream.h"

namespace igra::console {

namespace {

bool IsNameByte(unsigned char b) { return b != '\r' && b != '\n' && b != kEndMark; }

}  // namespace

void Pause(SourcePlace place) {
  const CodeLocation step{IGRA_CALL_LOCATION(), place};
  InputStream& input = CurrentInput();
  input.BeginOperation();
  input.DiscardLine();
  StopIfReadFailed(step);
}

void AskName(std::string& name, SourcePlace place) {
  const CodeLocation step{IGRA_CALL_LOCATION(), place};
  InputStream& input = CurrentInput();
  input.BeginOperation();
  name.clear();
  if (!input.AppendWhile(name, IsNameByte)) {
    const auto& [inside, call] = input.AllocationFailure();
    StopRun(kOutOfMemory, {inside, call, step});
  }
  input.DiscardLine();
  StopIfReadFailed(step);
}

}  // namespace igra::console

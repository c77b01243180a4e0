// The input operations that read whole lines: waiting for Enter, and the
// hero's name.
#ifndef IGRA_CONSOLE_LINE_INPUT_H_
#define IGRA_CONSOLE_LINE_INPUT_H_

#include "console/platform.h"
#include "console/program.h"
#include "console/text.h"

namespace igra::console {

/// Waits for Enter: reads one input line, whatever it holds, and discards
/// it.  Returns at once at end of input or at the end mark.
IGRA_NOINLINE void Pause(SourcePlace place = SourcePlace::Here());

/// Sets `name` to the bytes of the current input line before its line end
/// (every byte but CR, LF and the end mark, of any length; possibly none),
/// then discards the line end.  Memory running out while the name grows
/// stops the run with error 203.
IGRA_NOINLINE void AskName(Text& name, SourcePlace place = SourcePlace::Here());

}  // namespace igra::console

#endif  // IGRA_CONSOLE_LINE_INPUT_H_

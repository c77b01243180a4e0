// The input operation that reads a numeric answer.
#ifndef IGRA_CONSOLE_NUMBER_INPUT_H_
#define IGRA_CONSOLE_NUMBER_INPUT_H_

#include "console/platform.h"
#include "console/program.h"

namespace igra::console {

/// Reads a number into `answer`, then discards the rest of its line.
///
/// Blank bytes (space and control bytes other than the end mark, so empty
/// lines too) before the number are skipped; the number is the run of bytes
/// up to the next blank byte, the end mark or the end of input, converted
/// with ParseNumber and rounded to a double.  Stops the run with error 106
/// when it is not a number (also when the input has ended before any
/// byte), and with 205 when its conversion overflows or its value is beyond
/// the double range; in that last case only after the rest of the line has
/// been discarded.  Input that ends while only blank bytes were left gives 0.
IGRA_NOINLINE void AskNumber(double& answer, SourcePlace place = SourcePlace::Here());

}  // namespace igra::console

#endif  // IGRA_CONSOLE_NUMBER_INPUT_H_

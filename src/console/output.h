// Writing the story: the two output operations.
#ifndef IGRA_CONSOLE_OUTPUT_H_
#define IGRA_CONSOLE_OUTPUT_H_

#include <initializer_list>
#include <string_view>

#include "console/platform.h"
#include "console/program.h"

namespace igra::console {

/// Writes `pieces` to standard output, in order, with nothing between them
/// and no line break after them.  Every byte has been handed to the system
/// when it returns.  A failed write stops the run with error 101.
IGRA_NOINLINE void ShowText(std::initializer_list<std::string_view> pieces,
                            SourcePlace place = SourcePlace::Here());

/// Writes `pieces` as ShowText does, then the line break CR LF.
IGRA_NOINLINE void ShowLine(std::initializer_list<std::string_view> pieces = {},
                            SourcePlace place = SourcePlace::Here());

}  // namespace igra::console

#endif  // IGRA_CONSOLE_OUTPUT_H_

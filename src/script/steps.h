// The operations the script's steps are made of: writing a text or a line,
// waiting for Enter, reading the name or a number.  A test is a plain `if`
// on an answer register; Game over is a call of FinishGame.
#ifndef IGRA_SCRIPT_STEPS_H_
#define IGRA_SCRIPT_STEPS_H_

#include "console/line_input.h"
#include "console/number_input.h"
#include "console/output.h"
#include "script/game.h"
#include "script/game_state.h"

namespace igra {

using console::AskName;
using console::AskNumber;
using console::Pause;
using console::ShowLine;
using console::ShowText;

}  // namespace igra

#endif  // IGRA_SCRIPT_STEPS_H_

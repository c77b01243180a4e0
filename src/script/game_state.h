// The game state: the hero's name and the answer registers of the levels.
#ifndef IGRA_SCRIPT_GAME_STATE_H_
#define IGRA_SCRIPT_GAME_STATE_H_

#include "console/text.h"

namespace igra {

/// The hero's name: the bytes of the name line, exactly as typed.
extern console::Text IME;

/// The answer register of level 1.
extern double D;
/// The answer register of level 2.
extern double X;
/// The answer register of level 3.
extern double Y;

}  // namespace igra

#endif  // IGRA_SCRIPT_GAME_STATE_H_

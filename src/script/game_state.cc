#include "script/game_state.h"

namespace igra {

console::Text IME;
double D = 0;
double X = 0;
double Y = 0;

}  // namespace igra

#include "script/game.h"

#include "console/program.h"
#include "script/game_state.h"

namespace igra {

void PlayGame() {
  PlayOpening();
  PlayLevel1();
  PlayLevel2();
  PlayLevel3();
  FinishGame();
}

void FinishGame() {
  IME.Clear();
  console::ExitNormally();
}

}  // namespace igra

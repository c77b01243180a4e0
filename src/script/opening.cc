// The opening, before level 1: the hero's name and strength.
#include "script/steps.h"

namespace igra {

void PlayOpening() {
  ShowText({"Vuvedi imeto na geroq si: "});
  AskName(IME);
  ShowLine({IME, " e mnogo hubavo ime!"});
  Pause();
  ShowLine({"Sega geroq ti ima 100 sila"});
  Pause();
}

}  // namespace igra

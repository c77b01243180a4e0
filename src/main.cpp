// igra: a console text adventure in three levels.
#include "console/platform.h"
#include "console/program.h"
#include "script/game.h"

int main() { igra::console::RunProgram(igra::PlayGame, igra::console::SystemPlatform()); }

// The whole game, from the name prompt to its end.
#ifndef IGRA_SCRIPT_GAME_H_
#define IGRA_SCRIPT_GAME_H_

namespace igra {

/// Plays the game from its first step; every way through ends in
/// FinishGame (or in a stop with a run-time error).
[[noreturn]] void PlayGame();

/// The common end of every game, lost or won: releases the game state and
/// exits normally with status 0.
[[noreturn]] void FinishGame();

/// The opening: asks for the hero's name, greets the hero and announces the
/// hero's strength.
void PlayOpening();

/// Level 1, from "Nivo 1" to the portal, or to one of its seven losses.
void PlayLevel1();

/// Level 2, from the cave to the buried chest, or to one of its four losses.
void PlayLevel2();

/// Level 3 and the ending: the horse, the stone, the warlord's equation and
/// the won game, or one of its three losses.
void PlayLevel3();

}  // namespace igra

#endif  // IGRA_SCRIPT_GAME_H_

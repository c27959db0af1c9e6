// Where the special objects, the Pharaoh's clock and the check for possible moves join the
// moves and timers. Clicking an object only clears the selection, bombs and bonus gems do not
// act, the mood does not change and no check runs until those rules are in place.
#include "rules/PlayRules.h"

void TPlayRules::ClickOnObject(TCell, uint32_t) {}
void TPlayRules::BombPoint(TCell, std::vector<int>&, uint32_t) {}
void TPlayRules::FireBombShots(TCell, uint8_t, uint32_t) {}
void TPlayRules::MakeFishCobra(TCell, uint32_t) {}
void TPlayRules::TickPharaohTimer(uint32_t) {}
void TPlayRules::CheckPossibleMoves(uint32_t) {}

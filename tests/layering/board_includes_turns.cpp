// Compiled with the board's include path only: a board file that reached up into the turns
// must not compile (the layering test expects this build to fail).
#include "board/line_display.h"
#include "turns/game.h"

int boardReachesUp(kisharin::Game& g) {
    return g.s.curPlayer;
}

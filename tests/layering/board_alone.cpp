// Compiled with the board's include path only: what the board may see compiles.
#include "board/line_display.h"
#include "platform/text_file.h"
#include "state/game_state.h"

int boardSeesBelow(const kisharin::GameState& s) {
    return s.curPlayer;
}

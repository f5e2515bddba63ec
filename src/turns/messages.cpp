#include "turns/messages.h"

namespace kisharin {

void showMessage(Game& g, const std::string& text) {
    g.s.messageText = text;
    g.screens.showMessage(g.s);
}

}  // namespace kisharin

// Opening an address in the desktop's web browser.
#pragma once

#include <QUrl>
#include <functional>

class QObject;

namespace kisharin {

// Hands url to the desktop's opener (xdg-open), which starts the player's browser.
// When there is no opener, it cannot be started, or it reports that no browser could
// take the address, failed() runs: at once, or once the opener has ended. The opener
// lives as long as `owner`.
void openInBrowser(const QUrl& url, QObject* owner, std::function<void()> failed);

}  // namespace kisharin

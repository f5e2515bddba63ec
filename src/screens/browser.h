// Opening an address in the desktop's web browser.
#pragma once

#include <QUrl>
#include <functional>

class QObject;
class QWidget;

namespace kisharin {

// Hands url to the desktop's opener (xdg-open), which starts the player's browser.
// When there is no opener, it cannot be started, or it reports that no browser could
// take the address, failed() runs: at once, or once the opener has ended. The opener
// lives as long as `owner`.
void openInBrowser(const QUrl& url, QObject* owner, std::function<void()> failed);

// Opens the manual (Manual.htm, with the shipped data or installed with the game's
// documents) in the browser; when it is not there or no browser takes it, a box over
// `parent` says so in Japanese and names the file to open by hand.
void openManual(QWidget* parent);

}  // namespace kisharin

// Qt's own texts (the standard buttons "はい", "いいえ", "キャンセル", the dialogs'
// captions) in Japanese, from the translations Debian ships with Qt.
#pragma once

class QCoreApplication;

namespace kisharin {

// Installs Qt's Japanese translations into app, whatever the system's language: the whole
// game speaks Japanese. False when they are not installed (Qt's buttons then stay English).
bool installQtJapanese(QCoreApplication& app);

}  // namespace kisharin

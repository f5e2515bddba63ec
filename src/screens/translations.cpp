#include "screens/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kisharin {

bool installQtJapanese(QCoreApplication& app) {
    auto* qt = new QTranslator(&app);
    // qt6-translations-l10n puts qtbase_ja.qm beside Qt's other translations.
    if (!qt->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    return QCoreApplication::installTranslator(qt);
}

}  // namespace kisharin

#include "screens/app.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include "screens/desktopGame.h"
#include "screens/frmDice.h"
#include "screens/translations.h"

namespace kisharin {

int runApp(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("キシャリン"));
    QApplication::setWindowIcon(QIcon(dieFace(5, 64)));
    installQtJapanese(app);
    // The windows end the program themselves: the setup window when it is closed without
    // starting, the board when it is closed, the results when they are closed. Between
    // the setup window and the board no window is open for a moment.
    QApplication::setQuitOnLastWindowClosed(false);
    DesktopGame game;
    game.listGames = true;
    if (!game.start()) return 1;
    return QApplication::exec();
}

}  // namespace kisharin

#include "screens/app.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include "screens/desktopGame.h"
#include "screens/frmDice.h"

namespace kisharin {

int runApp(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("キシャリン"));
    QApplication::setWindowIcon(QIcon(dieFace(5, 64)));
    DesktopGame game;
    if (!game.start()) return 1;
    return QApplication::exec();
}

}  // namespace kisharin

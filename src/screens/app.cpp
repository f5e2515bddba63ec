#include "screens/app.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include <iostream>

#include "platform/data_home.h"
#include "platform/text_file.h"
#include "screens/desktopGame.h"
#include "screens/frmDice.h"
#include "screens/frmStory.h"
#include "screens/look.h"
#include "screens/translations.h"
#include "setup/command_line.h"
#include "state/error.h"

namespace kisharin {

int runApp(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("キシャリン"));
    QApplication::setWindowIcon(QIcon(dieFace(5, 64)));
    installQtJapanese(app);
    if (const auto file = storyFileArgument(argc, argv)) {
        // `kisharin --story FILE`: only the story window, the program ends with it.
        showTextsAsWritten();  // a player's name is shown as written
        const std::string appDir = shippedDataDir();
        try {
            (void)readFileBytes(*file);
        } catch (const GameError& e) {
            std::cerr << "kisharin: " << e.what() << "\n";
            return 1;
        }
        FrmStory* w = FrmStory::openRecord(*file, appDir, nullptr);
        if (!w) return 1;
        return QApplication::exec();
    }
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

#include "screens/app.h"

#include <QApplication>
#include <QMessageBox>

#include "board/startup.h"
#include "platform/data_home.h"
#include "platform/system_clock.h"
#include "state/error.h"
#include "state/railway.h"

namespace kisharin {

int runApp(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("キシャリン"));
    GameState s;
    SystemClock clock;
    DefaultRng rng(clock.timer());
    try {
        s.appDir = shippedDataDir();
        s.historyBase = ensureUserGameData(s.appDir) + "履歴";
        startBoard(s, rng, clock);
    } catch (const GameError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("キシャリン"), QString::fromStdString(e.what()));
        return 1;
    }
    QMessageBox::information(nullptr, QStringLiteral("キシャリン"),
                             QString::fromStdString(turnCaption(s) + "\n路線数 " + std::to_string(lineCount(s))));
    return 0;
}

}  // namespace kisharin

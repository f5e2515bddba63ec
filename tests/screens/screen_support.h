// Help for the window tests: a player's folder and a small shipped railway in scratch
// folders, fast timers, and answering the modal windows a click opens.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <string>

#include "board/station_file.h"
#include "maps/picker.h"
#include "platform/data_home.h"
#include "platform/system_clock.h"
#include "platform/text_file.h"
#include "screens/frmBet.h"
#include "screens/frmInit.h"
#include "screens/qtScreens.h"
#include "screens/timing.h"
#include "support/fakes.h"
#include "support/railway_builder.h"
#include "turns/command.h"
#include "turns/game.h"

namespace kisharin::testing {

// Eight lines, one per region, of `perLine` stations; station i of line r is linked to
// station i of the lines before and after it, so every station has transfer labels.
inline RailwayData linkedRailway(int perLine) {
    RailwayData d = makeEightRegions(perLine);
    for (int r = 1; r <= 8; ++r) {
        const int prev = r == 1 ? 8 : r - 1, next = r == 8 ? 1 : r + 1;
        for (int i = 1; i <= perLine; ++i)
            d.ekiLink(r, i) = std::to_string(prev) + "\\" + std::to_string(i) + ";" + std::to_string(next) +
                              "\\" + std::to_string(i);
    }
    return d;
}

// The shipped data and the player's folder of one test program, set through the
// environment before the first window opens.
class TestFolders {
  public:
    explicit TestFolders(const RailwayData& railway, std::vector<std::string> nameData = {
                                                         "たろう", "はなこ", " 0 ", " 1 ", " 1 ", " 0 "}) {
        makeDirectories(shipped.path() + "GameData");
        writeBytesAtomic(shipped.file("GameData/駅.txt"), formatStationFile(railway, "テスト用の駅データ"));
        writeCp932(shipped.file("GameData/NameData.txt"), nameData);
        writeCp932(shipped.file("GameData/URL.txt"), {"https://example.invalid/map"});
        writeCp932(shipped.file("GameData/履歴0.txt"), {});
        writeCp932(shipped.file("GameData/履歴1.txt"), {});
        ::setenv("KISHARIN_DATA_DIR", shipped.path().c_str(), 1);
        ::setenv("KISHARIN_DATA_HOME", home.path().c_str(), 1);
        setTimeScale(0.01);
    }
    std::string gameData(const std::string& name) const { return home.path() + "GameData/" + name; }

    ScratchDir shipped, home;
};

// Chooses who plays player 2 in the setup window (the computer or a second person)
// and presses "はじめから".
// Lets what a click or a key queued happen (posted events, zero timers): after it, what the
// action would have done is done, so a test of "nothing happened" needs no fixed wait.
inline void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

inline void pressStart(FrmInit* init, bool computer) {
    init->findChild<QRadioButton*>(computer ? QStringLiteral("optPlayer(1)") : QStringLiteral("optPlayer(0)"))
        ->setChecked(true);
    QTest::mouseClick(init->findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
}

// Runs `answer` on the next modal window that opens (polling every few ms), once.
inline void whenModal(std::function<void(QWidget*)> answer, QWidget* notThis = nullptr) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, notThis] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == notThis) return;
        timer->stop();
        timer->deleteLater();
        answer(w);
    });
    timer->start();
}

// Clicks the button of a message box with the given role.
inline void press(QWidget* box, QMessageBox::StandardButton which) {
    auto* mb = qobject_cast<QMessageBox*>(box);
    QVERIFY2(mb, "a message box was expected");
    mb->button(which)->click();
}

// Answers the windows of the rare events of a move the way a cautious player would, for
// tests that play moves without looking for them: no to the warp hole, the guardian
// god's picker closed to stay, "勝負しない" in the betting window.
class EventWindowAnswers {
  public:
    EventWindowAnswers() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || !w->isVisible()) return;
            if (auto* box = qobject_cast<QMessageBox*>(w);
                box && box->windowTitle().startsWith(QStringLiteral("ワープ"))) {
                ++answered;
                box->button(QMessageBox::No)->click();
            } else if (w->objectName() == QStringLiteral("frmMap")) {
                ++answered;
                w->close();
            } else if (w->objectName() == QStringLiteral("frmBet")) {
                auto* stop = w->findChild<QPushButton*>(QStringLiteral("cmdStop"));
                if (stop && stop->isEnabled()) {
                    ++answered;
                    stop->click();
                }
            }
        });
        timer_.start();
    }
    int answered = 0;

  private:
    QTimer timer_;
};

// Watches endProgram() instead of ending the test program.
struct EndWatch {
    EndWatch() {
        setEndProgramHook([this] { ++ended; });
    }
    ~EndWatch() { setEndProgramHook(nullptr); }
    int ended = 0;
};

// A game over the real windows whose players both sit at this board, to ask the seat the
// questions the rules ask: the warp hole, the guardian god.
struct SeatedGame {
    QtScreens screens;
    SystemClock clock;
    DefaultRng rng{1};
    Game g;
    QtSeat here{screens};
    explicit SeatedGame(GameState& s) : g{s, screens, rng, clock} { g.seatBoth(here); }
    bool askWarp(int region, const std::string& title) {
        g.s.question = Question::Warp;
        g.answers.warp = false;
        here.answerWarp(g, region, title, "飛び込みますか？");
        closeQuestion(g);
        return g.answers.warp;
    }
    std::string askGod() {
        g.s.question = Question::God;
        here.answerGod(g);
        closeQuestion(g);
        return mapPick().pickedPref;
    }
};

// The betting window over a race the rules opened for the player to move, its bet taken
// by the rules' commands.
struct BetWindow {
    QtScreens screens;
    SystemClock clock;
    Game g;
    Race race;
    FrmBet w;
    BetWindow(GameState& s, Rng& rng)
        : g{s, screens, rng, clock},
          race(rng),
          w(
              s, race, rng, [this](const Command& c) { return static_cast<bool>(apply(g, c)); }, nullptr) {
        openBetQuestion(g, race);
    }
};

}  // namespace kisharin::testing

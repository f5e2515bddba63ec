// kisharin-screenshots <folder>: renders every window of the desktop game on the
// shipped railway data into <folder>/*.png, with a fixed clock and generator so that
// the pictures come out the same on every run.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTableWidget>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "board/startup.h"
#include "eventShots.h"
#include "platform/data_home.h"
#include "platform/temp_folder.h"
#include "platform/text_file.h"
#include "record/game_list.h"
#include "ride_shots.h"
#include "screens/frmDice.h"
#include "screens/frmEnd.h"
#include "screens/frmGames.h"
#include "screens/frmInit.h"
#include "screens/frmLog.h"
#include "screens/frmMain.h"
#include "screens/frmMessage.h"
#include "screens/frmMokutekiti.h"
#include "screens/frmSlots.h"
#include "screens/look.h"
#include "screens/timing.h"
#include "screens/translations.h"
#include "setup/save_slot.h"
#include "setup/settings.h"
#include "state/datetime.h"
#include "state/error.h"
#include "state/railway.h"
#include "train_shots.h"
#include "turns/board_model.h"
#include "turns/boarding.h"
#include "turns/command.h"
#include "turns/happenings.h"
#include "turns/messages.h"
#include "turns/turn.h"

using namespace kisharin;

int saveMapScreenshots(GameState& s, const QString& outDir);           // maps_shots.cpp
int saveKirokuScreenshots(const GameState& s, const QString& outDir);  // kiroku_shots.cpp
std::string writeStoryRecord(const std::string& folder);               // story_shots.cpp
int saveStoryScreenshots(const std::string& record, const QString& outDir);
int saveReplayScreenshots(const std::string& record, const QString& outDir);  // story_shots.cpp

namespace {

class FixedClock final : public Clock {
  public:
    double now() override { return toSerial({2024, 4, 1, 9, 30, 0}); }
    double timer() override { return 34200.0; }
};

// The windows the rules open answer at once: the die shows 4, nothing waits.
class StillScreens final : public QuietScreens {
  public:
    int rollDice(const GameState&, Rng&) override { return 4; }
    int showRide(const GameState&, Rng&, Clock&) override { return 0; }
    void showConquest(GameState&, int, Rng&, Clock&) override {}
};

QString outDir;
int written = 0;

void save(QWidget& w, const char* name) {
    w.show();
    w.adjustSize();
    QApplication::processEvents();
    const QString path = outDir + "/" + name + ".png";
    if (!w.grab().save(path)) {
        std::fprintf(stderr, "kisharin-screenshots: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    w.hide();
    ++written;
}

// A station of the data with at least two transfer labels and neighbours on both sides,
// for a board that shows what the strip can do.
Station busyStation(const GameState& s) {
    for (int line = 1; line <= lineCount(s); ++line) {
        const int n = stationCount(s, line);
        if (n < 14 || s.ekiName(line, 0).find("新幹線") != std::string::npos) continue;
        for (int pos = 4; pos <= n - 3; ++pos)
            if (parseLinks(s.ekiLink(line, pos)).size() >= 3) return {line, pos};
    }
    return {1, 1};
}

// The list of games with a few games of every kind: the oldest record gone, a game joined
// at another computer.
void saveGamesList(const std::string& dir) {
    const std::string rec = dir + "GameRecord.jsonl";
    writeBytesAtomic(rec, "{\"t\":\"start\"}\n");
    struct Played {
        const char* when;
        int area;
        bool shortMode;
        const char* two;
        const char* seat;
        int turns;
        long long p1, p2, m1, m2;
        int a1, a2;
        GameEnd end;
    };
    const Played games[] = {
        {"2024/03/28 20:14:05", 8, true, "こむ", "com:よわい", 42, 640, 310, 182300, 45100, 5, 3,
         GameEnd::Results},
        {"2024/03/29 21:02:44", 0, false, "こむ", "com:つよい", 96, 820, 1130, 95000, 402000, 3, 5,
         GameEnd::Results},
        {"2024/03/30 19:40:12", 5, true, "はなこ", "man", 58, 700, 700, 130000, 88000, 4, 4,
         GameEnd::Results},
        {"2024/03/31 22:15:30", 3, false, "じろう", "net", 23, 210, 160, 64000, 70500, 1, 1, GameEnd::Saved},
        {"2024/04/01 09:05:51", 0, true, "こむ", "com:ふつう", 17, 120, 240, 41000, 67000, 1, 2,
         GameEnd::Closed},
        {"2024/04/01 09:28:03", 8, true, "こむ", "com:ふつう", 51, 910, 450, 221000, 33000, 6, 2,
         GameEnd::Results},
    };
    for (const Played& p : games) {
        GameEntry e;
        e.when = p.when;
        e.area = p.area;
        e.shortMode = p.shortMode;
        e.names = {"たろうさん", std::string(p.two) + "さん"};
        e.seats = {"man", p.seat};
        e.host = std::string(p.seat) == "net";
        e.turns = p.turns;
        e.points = {p.p1, p.p2};
        e.money = {p.m1, p.m2};
        e.arrived = {p.a1, p.a2};
        e.end = p.end;
        // The bound on the kept records (small here) takes the oldest game's record.
        addGame(dir, e, rec, {.recordBytes = 5 * 14});
    }
    // A game joined at another computer: its record is there.
    GameEntry joined;
    joined.when = "2024/04/02 20:31:17";
    joined.area = 6;
    joined.names = {"さくらさん", "たろうさん"};
    joined.seats = {"net", "man"};
    joined.turns = 64;
    joined.points = {530, 610};
    joined.money = {152000, 98000};
    joined.arrived = {3, 5};
    addGame(dir, joined, "");
    FrmGames w(dir, nullptr, [](const std::string&) {});
    w.resize(1000, 420);
    save(w, "games_list");
    w.table()->selectRow(1);
    save(w, "games_kept");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kisharin-screenshots <folder>\n");
        return 2;
    }
    // Never touch the player's own folder.
    const std::string home = (std::filesystem::temp_directory_path() / "kisharin-screenshots-home").string();
    std::filesystem::remove_all(home);
    ::setenv("KISHARIN_DATA_HOME", home.c_str(), 1);
    QApplication app(argc, argv);
    installQtJapanese(app);  // Qt's own buttons (はい, いいえ) as the game shows them
    setEndProgramHook([] {});
    outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);

    GameState s;
    FixedClock clock;
    DefaultRng rng(7);
    StillScreens screens;
    QtTextMetrics metrics;
    Game g{s, screens, rng, clock};
    g.metrics = &metrics;
    std::string dir;
    try {
        s.appDir = shippedDataDir();
        dir = ensureUserGameData(s.appDir);

        FrmInit init(s, dir, s.appDir + "GameData/", nullptr);
        save(init, "frmInit");
        saveGamesList(dir);
        データ設定(s, init.settings());
        s.comOpponent = true;

        startBoard(s, rng, clock);
        buildEventTables(s);
        // Stand on a busy station, on a line with pending destinations in view.
        const Station busy = busyStation(s);
        s.playerRosen[0] = static_cast<Integer>(busy.line);
        s.playerEki[0] = static_cast<Integer>(busy.pos);
        s.mokutekitiRosen[3] = static_cast<Integer>(busy.line);
        s.mokutekitiEki[3] = static_cast<Integer>(busy.pos + 3);
        s.mokutekitiDone[1] = true;
        s.arriveCount[0] = 1;
        s.playerPoint[0] = 230;
        s.playerMoney[0] = 1234560;
        s.playSeconds = 754;
        s.playerScroll[0] = static_cast<Integer>(scrollValueFor(busy.pos, stationCount(s, busy.line)));

        FrmMain board(g, dir);
        showBoard(g);
        board.refresh();
        save(board, "frmMain");

        // A station whose name is longer than its box (JR成田線's 空港第２ビル): in two rows.
        for (int L = 1; L <= lineCount(s); ++L) {
            if (s.ekiName(L, 0) != "JR成田線") continue;
            const Integer line = s.playerRosen[0], pos = s.playerEki[0], scroll = s.playerScroll[0];
            for (int i = 1; i <= stationCount(s, L); ++i)
                if (s.ekiName(L, i).rfind("空港第２ビル", 0) == 0) {
                    s.playerRosen[0] = static_cast<Integer>(L);
                    s.playerEki[0] = static_cast<Integer>(i);
                    s.playerScroll[0] = static_cast<Integer>(scrollValueFor(i, stationCount(s, L)));
                    showBoard(g);
                    board.refresh();
                    save(board, "frmMain_long_name");
                }
            s.playerRosen[0] = line, s.playerEki[0] = pos, s.playerScroll[0] = scroll;
            showBoard(g);
            board.refresh();
            break;
        }

        // Rolled: the stations within reach, one under the mouse, a transfer hint.
        apply(g, Command::roll(s.curPlayer));
        lblEki_MouseMove(s, g.line, busy.pos + 2);
        if (!g.line.transfers.empty()) lblNorikae_MouseMove(g.line, *g.metrics, 1);
        board.refresh();
        save(board, "frmMain_rolled");

        s.messageText = "看護師！？：時給　1800円";
        FrmMessage message(s, nullptr);
        save(message, "frmMessage");
        s.curPlayer = 1;
        s.messageText = s.playerName[0] + "：230ポイント　，　" + s.playerName[1] + "：-50ポイント";
        FrmMessage message2(s, nullptr);
        save(message2, "frmMessage_player2");
        s.curPlayer = 0;

        // The message log after a few turns' messages, newest first.
        g.messages.add(3, 1, "看護師！？：時給　1800円");
        g.messages.add(4, 0, kMsgEarthquake);
        g.messages.add(5, 1, betWonText(150));
        g.messages.add(5, 1, stakeNote(30000));
        g.messages.add(6, 0, "　　　北海道地方に続いているワープ穴発見！");
        g.messages.add(6, 0, movedNote(s.playerName[0], "網走", "JR石北本線"));
        FrmLog log(g.messages, nullptr);
        log.setAttribute(Qt::WA_DeleteOnClose, false);
        log.follow({s.playerName[0], s.playerName[1]});
        save(log, "frmLog");

        FrmDice dice(s, rng, nullptr);
        save(dice, "frmDice");
        QPixmap faces(6 * 72 + 14, 86);
        faces.fill(QColor(236, 246, 255));
        {
            QPainter p(&faces);
            for (int f = 1; f <= 6; ++f) p.drawPixmap(8 + (f - 1) * 72, 8, dieFace(f, 68));
        }
        faces.save(outDir + "/dice_faces.png");
        ++written;

        FrmMokutekiti list(s, nullptr);
        save(list, "frmMokutekiti");
        FrmCourse course(s, nullptr);
        course.setAttribute(Qt::WA_DeleteOnClose, false);
        save(course, "frmCourse");
        // A course over a line with a long name: the window is as wide as the name.
        for (int L = 1; L <= lineCount(s); ++L)
            if (s.ekiName(L, 0).find("陸羽東線") != std::string::npos) {
                const std::vector<RoutePoint> kept = s.routeList;
                s.routeList.insert(s.routeList.begin(), RoutePoint{static_cast<Integer>(L), 5, 40, "x"});
                FrmCourse longCourse(s, nullptr);
                longCourse.setAttribute(Qt::WA_DeleteOnClose, false);
                save(longCourse, "frmCourse_long");
                s.routeList = kept;
                break;
            }

        // Slot 1 holds this game, slot 2 is empty, slot 3 cannot be read.
        writeSlot(dir, 1, s);
        writeLinesAtomic(slotPath(dir, 3), {"3", "not a date"});
        s.slotExists[1] = true;
        s.slotExists[2] = false;
        s.slotExists[3] = true;
        FrmSaveData savePicker(s, dir, nullptr);
        save(savePicker, "frmSaveData");
        FrmLoadData loadPicker(s, dir, nullptr);
        save(loadPicker, "frmLoadData");

        s.playerMoney[1] = -500;
        s.playerPoint[1] = -50;
        s.arriveCount[1] = 7;
        s.playSeconds = 3725;
        const TempFolder storyFolder("kisharin-shots-");
        const std::string storyRecord = writeStoryRecord(storyFolder.path());
        FrmEnd end(s, nullptr, true, storyRecord);
        save(end, "frmEnd");
        written += saveStoryScreenshots(storyRecord, outDir);
        written += saveReplayScreenshots(storyRecord, outDir);

        written += saveRideScreenshots(s, outDir);
        written += saveTrainScreenshots(s, outDir);
        written += saveMapScreenshots(s, outDir);
        written += saveKirokuScreenshots(s, outDir);
        written += saveEventScreenshots(board, s, rng, outDir);
    } catch (const GameError& e) {
        std::fprintf(stderr, "kisharin-screenshots: %s\n", e.what());
        return 1;
    }
    std::filesystem::remove_all(home);
    std::printf("kisharin-screenshots: %d pictures in %s\n", written, qPrintable(outDir));
    return 0;
}

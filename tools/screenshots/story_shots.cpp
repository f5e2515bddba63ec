// The story window 「対戦の記録」 of simulated games (a record written here, in a
// temporary folder), and the results window with its button to open it.
#include <QApplication>
#include <QComboBox>
#include <cstdio>

#include "../sim/sim_record.h"
#include "screens/frmEnd.h"
#include "screens/frmReplay.h"
#include "screens/frmStory.h"

using namespace kisharin;

// A record of two simulated games (the computer at よわい against つよい, the ride window's
// points) in `folder`.
std::string writeStoryRecord(const std::string& folder) {
    const std::string rec = folder + "GameRecord.jsonl";
    sim::writeSimRecord(rec, 3, 2, 5000, {sim::SideKind::Weak, sim::SideKind::Strong, true});
    return rec;
}

int saveStoryScreenshots(const std::string& record, const QString& outDir) {
    FrmStory* w = FrmStory::openRecord(record, shippedDataDir(), nullptr);
    if (!w) return 0;
    int written = 0;
    for (int game = 0; game < 2; ++game) {
        w->showGame(game);
        QApplication::processEvents();
        const QString path = outDir + (game == 0 ? "/frmStory.png" : "/frmStory_game2.png");
        if (!w->grab().save(path)) {
            std::fprintf(stderr, "kisharin-screenshots: cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        ++written;
    }
    if (w->saveMapTo(outDir + "/frmStory_map.png")) ++written;
    w->close();
    return written;
}

// 「もう一度見る」 on the first game of the story's record: the board in the middle of the
// game (paused, after some turns played one by one), and the end with its results.
int saveReplayScreenshots(const std::string& record, const QString& outDir) {
    FrmReplay* w = FrmReplay::openRecord(record, shippedDataDir(), 0, nullptr);
    if (!w) return 0;
    int written = 0;
    auto save = [&](QWidget* shown, const char* name) {
        QApplication::processEvents();
        const QString path = outDir + "/" + name;
        if (!shown->grab().save(path)) {
            std::fprintf(stderr, "kisharin-screenshots: cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        ++written;
    };
    w->togglePause();
    for (int turn = 0; turn < 24; ++turn) w->stepOnce();
    save(w, "replay_play.png");
    while (!w->player().atEnd()) w->stepOnce();
    save(w, "replay_end.png");
    if (w->results()) save(w->results(), "replay_results.png");
    w->close();
    return written;
}

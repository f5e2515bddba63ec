// The network game on localhost: how long a guest's click takes to reach the host's state
// and come back to the guest's board. The host runs in a thread of its own with its own
// event loop (as it would on another computer), on the shipped railway; the guest, in the
// main thread, changes its train kind on its turn and waits for the board that answers it.
// Counters: the median and the 99th percentile in milliseconds.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <vector>

#include "board/startup.h"
#include "platform/data_home.h"
#include "session/net_game.h"
#include "support/fakes.h"
#include "support/scripted_screens.h"
#include "turns/happenings.h"
#include "turns/turn.h"

using namespace kisharin;

namespace {

// Player 1 works every turn, so that the guest soon has the turn.
class Worker final : public Seat {
  public:
    bool playsItself() const override { return true; }
    void playTurn(Game& g) override { apply(g, Command::work(0)); }
    void answerWarp(Game&, int, const std::string&, const std::string&) override {}
    void answerGod(Game&) override {}
    void runBet(Game&, Race&) override {}
};

class HostThread : public QThread {
  public:
    std::promise<quint16> port;
    std::atomic<bool> stop{false};
    QString home;

    void run() override {
        GameState s;
        s.appDir = shippedDataDir();
        s.historyBase = (home + QStringLiteral("/GameData/履歴")).toStdString();
        s.playArea = 8;
        s.playerName[0] = "ホスト";
        s.playerName[1] = "ゲスト";
        loadBoardData(s);
        s.shortMode = True;
        testing::ScriptedScreens screens;
        testing::FakeClock clock;
        DefaultRng rng{3};
        Game g{s, shown, rng, clock};
        NetHost host(g, "271828");
        shown.setHost(&host);
        Worker worker;
        RemoteSeat remote(host);
        g.seats = {&worker, &remote};
        host.listen(0);
        port.set_value(host.port());
        QEventLoop loop;
        while (!host.joined()) loop.processEvents(QEventLoop::WaitForMoreEvents);
        setupNewGame(s, rng, clock);
        drawDestinations(s, rng, clock);
        buildEventTables(s);
        showBoard(g);
        // The thread's event loop carries the guest's commands out as they come; player 1
        // plays whenever the turn comes back, until the guest leaves.
        while (!stop && host.joined()) {
            playSeatTurn(g);
            loop.processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        shown.setHost(nullptr);
    }

  private:
    testing::ScriptedScreens inner_;
    NetScreens shown{inner_};
};

void BM_GuestClickRoundTrip(benchmark::State& state) {
    QTemporaryDir home;
    QDir().mkpath(home.filePath(QStringLiteral("GameData")));
    HostThread host;
    host.home = home.path();
    std::future<quint16> port = host.port.get_future();
    host.start();
    NetGuest guest;
    guest.join(QStringLiteral("127.0.0.1"), port.get(), "271828");
    auto waitFor = [&](auto done) {
        while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    };
    waitFor([&] { return guest.hasBoard() && guest.board().curPlayer == 1 && !guest.board().busy; });

    std::vector<double> ms;
    int kind = 2;
    for (auto _ : state) {
        const long seq = guest.board().seq;
        const auto t0 = std::chrono::steady_clock::now();
        guest.send(Command::chooseKind(1, kind));
        waitFor([&] { return guest.board().seq > seq; });
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        kind = 3 - kind;
    }
    host.stop = true;
    guest.leave();
    host.wait();
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    }
}
BENCHMARK(BM_GuestClickRoundTrip)->Iterations(500)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// kisharin-sim: plays whole games headless and writes what happened as JSON Lines.
//
//   kisharin-sim [--data DIR] [--seed N] [--games K] [--area 0..8] [--log FILE]
//
// The histories go to a temporary player folder that is removed at the end; the
// player's own folder is never touched. A game that has not ended after 5,000 turns is
// reported as stuck and the tool exits with status 1.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "board/startup.h"
#include "json_line.h"
#include "platform/data_home.h"
#include "sim_game.h"
#include "state/error.h"
#include "state/regions.h"

using namespace kisharin;
using namespace kisharin::sim;

namespace {

constexpr int kMaxTurns = 5000;

struct Options {
    std::string data;
    unsigned long long seed = 1;
    int games = 1;
    int area = 0;
    std::string log;
};

const char* const kUsage =
    "使い方: kisharin-sim [--data フォルダ] [--seed N] [--games K] [--area 0..8] [--log ファイル]\n"
    "  --data フォルダ  GameData/駅.txt のあるフォルダ（既定はゲームに付いているデータ）\n"
    "  --seed N         最初のゲームの乱数の種（既定 1）\n"
    "  --games K        続けて遊ぶゲームの数（既定 1）\n"
    "  --area 0..8      遊ぶ地域：0 全国、1 北海道版 … 8 九州版（既定 0）\n"
    "  --log ファイル   起きたことを JSON Lines で書き出すファイル\n"
    "  --help           この説明を表示して終わる\n";

[[noreturn]] void usage(const std::string& why) {
    std::cerr << "kisharin-sim: " << why << "\n" << kUsage;
    std::exit(2);
}

long long number(const std::string& opt, const std::string& text, long long lo, long long hi) {
    try {
        size_t used = 0;
        const long long v = std::stoll(text, &used);
        if (used == text.size() && v >= lo && v <= hi) return v;
    } catch (const std::exception&) {
    }
    usage(opt + " の値 \"" + text + "\" は " + std::to_string(lo) + "～" + std::to_string(hi) +
          " の整数ではありません");
}

Options parse(int argc, char** argv) {
    Options o;
    o.data = shippedDataDir();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usage(a + " に値がありません");
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            std::exit(0);
        }
        if (a == "--data")
            o.data = value();
        else if (a == "--seed")
            o.seed = static_cast<unsigned long long>(number(a, value(), 0, 1LL << 52));
        else if (a == "--games")
            o.games = static_cast<int>(number(a, value(), 1, 1000000));
        else if (a == "--area")
            o.area = static_cast<int>(number(a, value(), 0, 8));
        else if (a == "--log")
            o.log = value();
        else
            usage("知らないオプション " + a);
    }
    if (!o.data.empty() && o.data.back() != '/') o.data += '/';
    return o;
}

// A temporary player folder with empty histories, removed when the run ends.
class TempPlayerFolder {
  public:
    TempPlayerFolder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kisharin-sim-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw GameError("一時フォルダを作れません: " + tmpl);
        path_ = tmpl;
        std::filesystem::create_directories(path_ + "/GameData");
        for (const char* f : {"/GameData/履歴0.txt", "/GameData/履歴1.txt"}) std::ofstream(path_ + f);
    }
    ~TempPlayerFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string historyBase() const { return path_ + "/GameData/履歴"; }

  private:
    std::string path_;
};

std::vector<Station> destinations(const GameState& s) {
    std::vector<Station> v;
    for (int d = 1; d <= kDestinationCount; ++d) v.push_back({s.mokutekitiRosen[d], s.mokutekitiEki[d]});
    return v;
}

const char* actionName(PolicyTurn::Action a) {
    switch (a) {
        case PolicyTurn::Action::Move:
            return "move";
        case PolicyTurn::Action::Work:
            return "work";
        case PolicyTurn::Action::Claim:
            return "claim";
    }
    return "move";
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    std::ofstream logFile;
    if (!o.log.empty()) {
        logFile.open(o.log, std::ios::binary | std::ios::trunc);
        if (!logFile) {
            std::cerr << "kisharin-sim: ログファイル " << o.log << " を書けません\n";
            return 2;
        }
    }
    try {
        TempPlayerFolder folder;
        GameState base;
        base.appDir = o.data;
        base.historyBase = folder.historyBase();
        base.playArea = static_cast<Integer>(o.area);
        base.playerName[0] = "プレイヤー1";
        base.playerName[1] = "プレイヤー2";
        loadBoardData(base);

        DefaultRng rng(static_cast<double>(o.seed));
        std::vector<int> turnsPerGame;
        int stuck = 0;
        const auto t0 = std::chrono::steady_clock::now();
        Array1D<VisitedTable, 2> visited = base.visited;
        // One state for all games: each game starts from the loaded one by assignment,
        // which reuses the railway tables' memory instead of building them afresh.
        GameState s = base;
        for (int game = 1; game <= o.games; ++game) {
            if (game > 1) s = base;
            s.visited = visited;
            testing::ScriptedScreens screens;
            SimClock clock(screens, 45000.375 + game, std::fmod(o.seed * 7919.0 + game * 3607.0, 86400.0));
            auto onStart = [&](const Game& g) {
                if (!logFile) return;
                std::vector<Station> players = {{g.s.playerRosen[0], g.s.playerEki[0]},
                                                {g.s.playerRosen[1], g.s.playerEki[1]}};
                logFile << JsonObject()
                               .field("event", "start")
                               .field("game", game)
                               .field("area", o.area)
                               .stations("destinations", destinations(g.s))
                               .stations("players", players)
                               .line();
            };
            auto onTurn = [&](const Game& g, int turn, const TurnReport& r) {
                if (!logFile) return;
                (void)g;
                logFile << JsonObject()
                               .field("event", "turn")
                               .field("game", game)
                               .field("turn", turn)
                               .field("player", r.start.player)
                               .station("at", r.start.at)
                               .flags("done", r.start.done)
                               .field("route_length", static_cast<long long>(r.start.routeLength))
                               .stations("route", r.start.route)
                               .field("action", actionName(r.turn.action))
                               .stations("transfers", r.turn.transfers)
                               .field("kind", r.turn.kind)
                               .field("die", r.turn.die)
                               .field("steps", r.turn.steps)
                               .field("target", r.turn.target)
                               .station("end", r.end)
                               .field("fare", static_cast<long long>(r.fare))
                               .strings("messages", r.messages)
                               .field("money", static_cast<long long>(r.money))
                               .field("points", static_cast<long long>(r.points))
                               .line();
            };
            const GameResult res = playGame(s, screens, rng, clock, kMaxTurns, onStart, onTurn);
            visited = s.visited;
            turnsPerGame.push_back(res.turns);
            if (!res.ended) {
                ++stuck;
                std::cerr << "kisharin-sim: ゲーム " << game << " は " << kMaxTurns
                          << " 手で終わりませんでした（stuck）\n";
            }
            if (logFile) {
                logFile << JsonObject()
                               .field("event", "end")
                               .field("game", game)
                               .field("turns", res.turns)
                               .numbers("money", std::vector<long long>{s.playerMoney[0], s.playerMoney[1]})
                               .numbers("points", std::vector<long long>{s.playerPoint[0], s.playerPoint[1]})
                               .numbers("arrived", std::vector<int>{s.arriveCount[0], s.arriveCount[1]})
                               .field("play_seconds", static_cast<long long>(s.playSeconds))
                               .line();
            }
        }
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::vector<int> sorted = turnsPerGame;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
        std::printf(
            "games played: %d\nmedian turns per game: %g\nwall time: %.3f s\ngames per second: %.2f\n",
            o.games, median, wall, wall > 0 ? o.games / wall : 0.0);
        if (stuck) std::printf("stuck games: %d\n", stuck);
        if (logFile) {
            logFile.flush();
            if (!logFile) {
                std::cerr << "kisharin-sim: ログファイル " << o.log << " の書き込みに失敗しました\n";
                return 2;
            }
        }
        return stuck ? 1 : 0;
    } catch (const std::exception& e) {
        std::cerr << "kisharin-sim: " << e.what() << "\n";
        return 2;
    }
}

// kisharin-sim: plays whole games headless, player 1 as a scripted human against the
// computer, and writes what happened as JSON Lines: a start record per game, a record
// per turn, one per special event and per race bet, and an end record.
//
//   kisharin-sim [--data DIR] [--seed N] [--games K] [--area 0..8] [--log FILE]
//                [--p1 script|weak|normal|strong] [--p2 weak|normal|strong] [--normal]
//                [--remote]
//
// With --remote, player 2 sits at the other end of a real localhost connection: a guest
// of the network game joins each game and plays the computer's rules at its strength
// from what the guest is shown alone (remote.h); the log is the same as without it.
//
// The summary gives the turns, the speed, how often each special event and bet came
// against the chances the rules give, and how often the computer won.
//
// The histories go to a temporary player folder that is removed at the end; the
// player's own folder is never touched. A game that has not ended after 5,000 turns is
// reported as stuck and the tool exits with status 1.
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "board/startup.h"
#include "json_line.h"
#include "platform/data_home.h"
#include "platform/temp_folder.h"
#include "remote.h"
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
    std::string record;
    Sides sides;
    bool remote = false;
};

const char* const kUsage =
    "使い方: kisharin-sim [--data フォルダ] [--seed N] [--games K] [--area 0..8] [--log ファイル]\n"
    "  --data フォルダ  GameData/駅.txt のあるフォルダ（既定はゲームに付いているデータ）\n"
    "  --seed N         最初のゲームの乱数の種（既定 1）\n"
    "  --games K        続けて遊ぶゲームの数（既定 1）\n"
    "  --area 0..8      遊ぶ地域：0 全国、1 北海道版 … 8 九州版（既定 0）\n"
    "  --log ファイル   起きたことを JSON Lines で書き出すファイル\n"
    "  --record ファイル  すべてのゲームの記録を一つのファイルに続けて書く（ゲームごとに\n"
    "                   start の行から）。kisharin --replay ファイル で同じ終わりまで再生できる\n"
    "  --p1 script|weak|normal|strong  プレイヤー1：台本どおりの人（既定）かコンピュータの強さ\n"
    "  --p2 weak|normal|strong         プレイヤー2：コンピュータの強さ（既定 normal）\n"
    "  --normal         通常モード：乗車画面の動きどおりにポイントを払う（既定は短縮モード）\n"
    "  --remote         プレイヤー2をネット対戦の相手にする：この計算機の別の口（127.0.0.1）から\n"
    "                   参加したゲストが、見せられた盤面と質問だけから同じ強さで打つ\n"
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
        else if (a == "--record")
            o.record = value();
        else if (a == "--p1" || a == "--p2") {
            const std::string v = value();
            SideKind k;
            if (v == "script" && a == "--p1")
                k = SideKind::Script;
            else if (v == "weak")
                k = SideKind::Weak;
            else if (v == "normal")
                k = SideKind::Normal;
            else if (v == "strong")
                k = SideKind::Strong;
            else
                usage(a + " の値 \"" + v + "\" は使えません");
            (a == "--p1" ? o.sides.p1 : o.sides.p2) = k;
        } else if (a == "--normal")
            o.sides.normalMode = true;
        else if (a == "--remote")
            o.remote = true;
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
        std::filesystem::create_directories(folder_.path() + "GameData");
        for (const char* f : {"GameData/履歴0.txt", "GameData/履歴1.txt"}) std::ofstream(folder_.path() + f);
    }
    std::string historyBase() const { return folder_.path() + "GameData/履歴"; }

  private:
    TempFolder folder_{"kisharin-sim-"};
};

std::vector<Station> destinations(const GameState& s) {
    std::vector<Station> v;
    for (int d = 1; d <= kDestinationCount; ++d) v.push_back({s.mokutekitiRosen[d], s.mokutekitiEki[d]});
    return v;
}

const char* actionName(ComputerTurn::Action a) {
    switch (a) {
        case ComputerTurn::Action::Move:
            return "move";
        case ComputerTurn::Action::Work:
            return "work";
        case ComputerTurn::Action::Claim:
            return "claim";
    }
    return "move";
}

const std::vector<std::string> kSpecialKinds = {"災害", "ワープ", "氏神", "全員集合", "地震"};

// What the whole run counted.
struct Tally {
    long long eventDraws = 0, raceDays = 0;
    std::vector<long long> specials = std::vector<long long>(kSpecialKinds.size(), 0);
    long long warpJumps = 0, godMoves = 0;
    long long bets = 0, betsWon = 0, betsDeclined = 0, betPoints = 0;
    long long computerWins = 0, humanWins = 0, draws = 0;
    long long points[2] = {0, 0}, money[2] = {0, 0};  // summed over the games that ended
    long long ridePoints = 0;

    void special(const SpecialEventRecord& r) {
        for (size_t i = 0; i < kSpecialKinds.size(); ++i)
            if (r.kind == kSpecialKinds[i]) ++specials[i];
        if (r.kind == "ワープ" && !r.moves.empty()) ++warpJumps;
        if (r.kind == "氏神" && !r.moves.empty()) ++godMoves;
    }
    void bet(const BetRecord& r) {
        if (r.cancelled) {
            ++betsDeclined;
            return;
        }
        ++bets;
        if (r.points > 0) ++betsWon;
        betPoints += r.points;
    }
};

JsonObject specialRecord(int game, int turn, const SpecialEventRecord& r) {
    JsonObject o;
    o.field("event", "special")
        .field("game", game)
        .field("turn", turn)
        .field("player", r.player)
        .field("kind", r.kind);
    if (r.kind == "災害") o.field("disaster", r.detail);
    if (r.kind == "ワープ") o.field("region", r.detail).field("jumped", !r.moves.empty());
    if (r.kind == "氏神") o.field("pref", r.pref);
    std::string moves = "[";
    for (size_t i = 0; i < r.moves.size(); ++i)
        moves += (i ? "," : "") + JsonObject()
                                      .field("player", r.moves[i].player)
                                      .station("at", {r.moves[i].line, r.moves[i].pos})
                                      .text();
    o.raw("moves", moves + "]");
    if (r.kind == "地震") {
        std::string dests = "[";
        for (size_t i = 0; i < r.newDestinations.size(); ++i)
            dests +=
                (i ? "," : "") + JsonObject()
                                     .field("number", r.newDestinations[i].number)
                                     .station("at", {r.newDestinations[i].line, r.newDestinations[i].pos})
                                     .text();
        o.raw("destinations", dests + "]");
    }
    return o;
}

JsonObject betRecord(int game, int turn, const BetRecord& r) {
    return JsonObject()
        .field("event", "bet")
        .field("game", game)
        .field("turn", turn)
        .field("player", r.player)
        .field("stake", static_cast<long long>(r.stake))
        .field("lane", r.lane)
        .field("winner", r.winner)
        .field("points", static_cast<long long>(r.points))
        .field("declined", r.cancelled);
}

const char* sideName(SideKind k) {
    switch (k) {
        case SideKind::Script:
            return "script";
        case SideKind::Weak:
            return "weak";
        case SideKind::Strong:
            return "strong";
        default:
            return "normal";
    }
}

// A share of wins with its 95 % interval (Wilson's score interval, which stays inside
// 0..1 even for shares near the ends).
struct WinShare {
    double share = 0, low = 0, high = 0;
};
WinShare winShare(long long won, long long games) {
    if (games <= 0) return {};
    const double n = static_cast<double>(games), p = static_cast<double>(won) / n, z = 1.96;
    const double centre = (p + z * z / (2 * n)) / (1 + z * z / n);
    const double half = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / (1 + z * z / n);
    return {p, std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

// One line of the summary: how often something came against how often the rules give
// it, per 1000 chances.
void printRate(const char* what, long long count, long long chances, double expected) {
    const double per = chances > 0 ? 1000.0 * static_cast<double>(count) / static_cast<double>(chances) : 0.0;
    std::printf("  %8lld  %7.2f per 1000 (rules: %.2f)  %s\n", count, per, 1000.0 * expected, what);
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    // The network game's two ends run on Qt's event loop.
    std::optional<QCoreApplication> app;
    if (o.remote) app.emplace(argc, argv);
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
        std::optional<LocalRemote> remote;
        if (o.remote) remote.emplace(base, o.sides.p2, !o.sides.normalMode);

        DefaultRng rng(static_cast<double>(o.seed));
        RecordWriter recorder(o.record);
        Tally tally;
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
            SimScreens screens;
            if (remote) remote->showThrough(screens);
            SimClock simClock(screens, 45000.375 + game, std::fmod(o.seed * 7919.0 + game * 3607.0, 86400.0));
            RecordingClock recording(simClock, recorder);
            Clock& clock = o.record.empty() ? static_cast<Clock&>(simClock) : recording;
            GameObserver observer;
            observer.onStart = [&](const Game& g) {
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
            observer.onTurn = [&](const Game&, int turn, const TurnReport& r) {
                if (!logFile) return;
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
                               .field("distance", r.turn.distance)
                               .field("kind", r.turn.kind)
                               .field("die", r.turn.die)
                               .field("steps", r.turn.steps)
                               .field("target", r.turn.target)
                               .station("end", r.end)
                               .field("fare", static_cast<long long>(r.fare))
                               .strings("messages", r.messages)
                               .field("money_before", static_cast<long long>(r.start.money))
                               .field("points_before", static_cast<long long>(r.start.points))
                               .field("money", static_cast<long long>(r.money))
                               .field("points", static_cast<long long>(r.points))
                               .line();
            };
            observer.onSpecial = [&](int turn, const SpecialEventRecord& r) {
                tally.special(r);
                if (logFile) logFile << specialRecord(game, turn, r).line();
            };
            observer.onBet = [&](int turn, const BetRecord& r) {
                tally.bet(r);
                if (logFile) logFile << betRecord(game, turn, r).line();
            };
            const GameResult res =
                playGame(s, screens, rng, clock, kMaxTurns, observer, o.sides, remote ? &*remote : nullptr,
                         o.record.empty() ? nullptr : &recorder, game == 1);
            if (recorder.stopped()) {
                std::cerr << "kisharin-sim: " << recorder.fault() << "\n";
                return 2;
            }
            tally.ridePoints += screens.ridePoints;
            tally.eventDraws += res.eventDraws;
            tally.raceDays += res.raceDays;
            // The player with more points wins.
            if (res.ended) {
                for (int p = 0; p < 2; ++p) {
                    tally.points[p] += s.playerPoint[p];
                    tally.money[p] += s.playerMoney[p];
                }
                if (s.playerPoint[1] > s.playerPoint[0])
                    ++tally.computerWins;
                else if (s.playerPoint[0] > s.playerPoint[1])
                    ++tally.humanWins;
                else
                    ++tally.draws;
            }
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
        std::printf("games ended: %d\n", o.games - stuck);
        if (stuck) std::printf("stuck games: %d\n", stuck);
        const long long finished = tally.computerWins + tally.humanWins + tally.draws;
        std::printf(
            "computer (player 2) wins: %lld of %lld (%.1f%%), player 1 wins: %lld, even: %lld\n",
            tally.computerWins, finished,
            finished ? 100.0 * static_cast<double>(tally.computerWins) / static_cast<double>(finished) : 0.0,
            tally.humanWins, tally.draws);
        for (int p = 0; p < 2; ++p) {
            const long long won = p == 0 ? tally.humanWins : tally.computerWins;
            const WinShare w = winShare(won, finished);
            std::printf(
                "player %d (%s): wins %.1f%% (95%% interval %.1f%%–%.1f%%), mean points %.1f, mean money "
                "%.0f\n",
                p + 1, sideName(p == 0 ? o.sides.p1 : o.sides.p2), 100 * w.share, 100 * w.low, 100 * w.high,
                finished ? static_cast<double>(tally.points[p]) / static_cast<double>(finished) : 0.0,
                finished ? static_cast<double>(tally.money[p]) / static_cast<double>(finished) : 0.0);
        }
        if (o.sides.normalMode) std::printf("points paid by rides: %lld\n", tally.ridePoints);
        if (remote)
            std::printf("player 2 over localhost: %ld commands and answers, refused or unanswered: %ld\n",
                        remote->commands(), remote->refusals());
        std::printf("special events in %lld travel-event draws:\n", tally.eventDraws);
        for (size_t i = 0; i < kSpecialKinds.size(); ++i)
            printRate(kSpecialKinds[i].c_str(), tally.specials[i], tally.eventDraws, 0.01);
        std::printf("  warp jumps: %lld, god moves: %lld\n", tally.warpJumps, tally.godMoves);
        std::printf(
            "race days of the players who bet: %lld (bets %lld, declined %lld, won %lld, points %lld)\n",
            tally.raceDays, tally.bets, tally.betsDeclined, tally.betsWon, tally.betPoints);
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

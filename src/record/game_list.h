// The list of games played 「これまでの対戦」: one JSON object a line in GameList.jsonl
// beside the save slots, appended when a game ends (its results) or is left (the board
// closed, 「保存して終了」), each with a copy of the game's record of its own in
// 対戦記録/<number>.jsonl. An entry is appended whole at once, as the arrival histories
// are: a crash or a full disk loses at most the entry being written, and a reader skips
// a line cut short or damaged, tells which, and keeps every other entry.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "net/protocol.h"
#include "state/area_caption.h"

namespace kisharin {

inline constexpr int kGameListVersion = 1;
// The newest games kept; the oldest entry and its record go first.
inline constexpr std::size_t kGameListKeep = 500;
// A line is at most this long; the file is read at most this far from its end.
inline constexpr std::size_t kMaxGameListLine = 4096;
inline constexpr std::size_t kMaxGameListBytes = kGameListKeep * kMaxGameListLine;
// The kept records together are at most this large (each is at most 16 MiB): a game whose
// record would take them past it drops the oldest records first. Their games stay listed,
// without a record (「記録なし」).
inline constexpr std::uint64_t kMaxKeptRecordBytes = 256ull << 20;
// The greatest number a game may have (only a list edited by hand comes near it).
inline constexpr int kMaxGameNumber = 1'000'000'000;

// How a game came to its end.
enum class GameEnd { Results, Closed, Saved };
const char* gameEndCaption(GameEnd e);  // 「終了」「中断（盤を閉じた）」「中断（保存）」

struct GameEntry {
    int number = 0;    // 1, 2, ...: never taken twice while the list holds a greater one
    std::string when;  // when it ended: "yyyy/mm/dd hh:mm:ss"
    int area = 0;      // 0 the whole country, 1..8 a region
    bool shortMode = false;
    std::array<std::string, 2> names;
    // Who sat at each side: "man", "com:よわい" / "com:ふつう" / "com:つよい", "net" (a
    // player at another computer).
    std::array<std::string, 2> seats;
    bool host = false;  // this computer hosted a network game
    int turns = 0;      // turns begun while this computer played it
    std::array<long long, 2> points{}, money{};
    std::array<int, 2> arrived{};
    GameEnd end = GameEnd::Results;
    std::string record;  // the kept record's file name in 対戦記録/, "" when none was kept

    bool finished() const { return end == GameEnd::Results; }
    // This computer's player joined another computer's game (player 1 sat there): the
    // game's record is that computer's.
    bool joined() const { return seats[0] == "net" && !host; }
    // The player with more points, -1 on equal points.
    int leader() const;
};

// What the list says of the opponent (player 2; player 1 for a game joined as the guest):
// "man", "net", or the computer's strength
// "よわい" "ふつう" "つよい".
std::string opponentKind(const GameEntry& e);

// Who sat at side p, as the list shows it: 「Man」 「Com：つよい」 「ネット」, with 「（ホスト）」
// after this computer's player of a network game it hosted.
std::string seatCaption(const GameEntry& e, int p);

std::string gameListPath(const std::string& gameDataDir);
std::string keptRecordsDir(const std::string& gameDataDir);  // ends with "/"
// The kept record of an entry, "" when it has none.
std::string keptRecordPath(const std::string& gameDataDir, const GameEntry& e);

// One entry as its line (without the line end).
std::string entryLine(const GameEntry& e);
// Reads one line; false with the reason (Japanese) when it is not an entry.
bool parseEntry(const std::string& line, GameEntry& out, std::string& why);

struct GameListRead {
    std::vector<GameEntry> entries;    // oldest first
    std::vector<std::string> notices;  // each names the file and the line skipped
    bool cut = false;                  // the last line was cut short (no line end) ...
    std::size_t cutBytes = 0;          // ... and starts here
    std::size_t lines = 0;             // lines read, good and bad
};
// `name` is the file named in the notices.
GameListRead parseGameList(const std::string& bytes, const std::string& name);
// The list of the player's folder; a missing file is an empty list.
GameListRead readGameList(const std::string& gameDataDir);

// What the list keeps (tests make them small).
struct GameListBounds {
    std::size_t games = kGameListKeep;
    std::uint64_t recordBytes = kMaxKeptRecordBytes;
};

// Adds the entry of a game that ended: takes the next number, keeps a copy of
// `recordFile` (when given and readable) as 対戦記録/<number>.jsonl, then appends the line.
// A last line cut short is taken away first (and a record copy a crash left half-made);
// when the list then holds more than `bounds.games` lines it is rewritten with the newest
// ones and the records of those dropped are removed. When the kept records together pass
// `bounds.recordBytes`, the oldest go (never the new game's) and their entries are
// rewritten without one. Throws GameError when the entry cannot be written (the list is as
// it was; the record copy is removed again). Returns the entry as kept.
GameEntry addGame(const std::string& gameDataDir, GameEntry e, const std::string& recordFile,
                  const GameListBounds& bounds = {});

// The entry of a game this computer joined as the guest, from the boards the host sent:
// the host's player 1 sat at the other computer, the record stays there.
class GuestGameTally {
  public:
    // The host's welcome: the area and the mode.
    void welcomed(int area, bool shortMode);
    // Each board as it arrives; a turn begins at the first and at each change of the
    // player to move, and a destination that turned reached counts for who was moving.
    void board(const net::BoardView& b);
    // The results the host showed: the destinations each player reached.
    void results(const std::array<int, 2>& arrived);
    bool any() const { return boards_ > 0; }
    // The entry when the game ends (its results) or is left, stamped `when`.
    GameEntry entry(std::string when) const;

  private:
    int area_ = 0;
    bool short_ = false;
    long boards_ = 0;
    int turns_ = 0;
    bool over_ = false;
    std::array<int, 2> arrived_{};
    net::BoardView last_;
};

// The list's filters: -1 (or "") lets every entry through.
struct GameFilter {
    int area = -1;
    int shortMode = -1;    // 1 short, 0 not
    std::string opponent;  // as opponentKind
    int finished = -1;     // 1 finished, 0 left before the results
};
bool passes(const GameFilter& f, const GameEntry& e);

// Games against the computer at each strength (よわい, ふつう, つよい) that came to their
// results, and how many of them player 1 won (more points than the computer).
struct WinShare {
    int games = 0, won = 0;
};
std::array<WinShare, 3> winsAgainstComputer(const std::vector<GameEntry>& entries);

}  // namespace kisharin

// The game's record: one JSON object a line, appended as the game goes. It holds what a
// game needs to be played again exactly: the settings and the arrival histories it began
// with, every reading of the clock (the generator is re-seeded from them), every command
// the rules accepted with its sender, and what the wall clock decided (a ride window's
// score ticks). A replay reads it back strictly and plays it headless, with no window
// and without touching the player's histories or save slots.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "state/clock.h"
#include "turns/command.h"
#include "turns/event_log.h"
#include "turns/game.h"
#include "turns/game_record.h"

namespace kisharin {

inline constexpr int kRecordVersion = 1;
// A record stops growing at this size (a line saying so ends it); a line is at most
// kMaxRecordLine bytes (the arrival histories of the start are the longest).
inline constexpr std::size_t kMaxRecordBytes = 16u << 20;
inline constexpr std::size_t kMaxRecordLine = 256u << 10;

// The record of the game in progress beside the save slots, and the one kept with slot n.
std::string recordPath(const std::string& gameDataDir);
std::string slotRecordPath(const std::string& gameDataDir, int slot);
// The players' names the game saved in slot n began with: the first line (a start) of the
// record kept with the slot. Both empty when there is none, it does not begin so, or it is
// older than the slot (a save whose record had stopped leaves an earlier game's record).
std::array<std::string, 2> slotRecordNames(const std::string& gameDataDir, int slot);

// Writes the record; every line is appended at once (a game cut off by a crash keeps
// every line before it). A write that fails stops the record and the game goes on;
// `fault` says why, for whoever shows it.
class RecordWriter final : public GameRecorder {
  public:
    // Appends to `path` (a new game first truncates it: see start).
    explicit RecordWriter(std::string path = {}) : path_(std::move(path)) {}
    // Writes into another file from now on (after `keep`, a copy of the record so far
    // there, e.g. the save slot's record of a game loaded again; false when it cannot).
    bool moveTo(std::string path, const std::string* keep = nullptr);
    const std::string& path() const { return path_; }
    bool stopped() const { return stopped_; }
    const std::string& fault() const { return fault_; }

    // A new game, before its start is drawn: the version, the settings, who sits where
    // ("man", "com:よわい", "net", ...) and both players' arrival histories. With
    // `fresh` the file starts anew.
    // `fromSave`: a saved game loaded without a record of its own, whose record begins at
    // the load (the replay starts from the board of the resume line that follows).
    // `bets`: whether each player's seat bets on a race-course station.
    void start(const GameState& s, const std::array<std::string, 2>& seats, std::array<bool, 2> bets,
               bool fresh, bool fromSave = false);
    // The board as drawn (the save slot's lines), checked by the replay.
    void board(const GameState& s);
    // A saved game loaded again: its board and histories as they are now. The one who
    // loads it then re-seeds the generator from a reading of the recording clock.
    void resume(const GameState& s);
    void clockReading(bool timer, double value);
    void end(const GameState& s);

    void command(const Game& g, const Command& c) override;
    void scoreTicks(int ticks) override;
    // Saving into slot n keeps a copy of the record beside the slot.
    void saved(const Game& g, int slot) override;
    void ended(const Game& g) override { end(g.s); }

  private:
    void write(const std::string& line);
    std::string path_;
    const std::string& stampOf(const std::string& appDir);
    std::size_t bytes_ = 0;
    bool stopped_ = false;
    std::string fault_;
    std::string stampDir_, stamp_;  // the station file's stamp, for the data folder it is of
};

// A clock that writes every reading it gives into the record.
class RecordingClock final : public Clock {
  public:
    RecordingClock(Clock& inner, RecordWriter& w) : inner_(inner), w_(w) {}
    double now() override;
    double timer() override;

  private:
    Clock& inner_;
    RecordWriter& w_;
};

// A clock for a fixed seed: the timer starts at `seed` seconds and moves a quarter of a
// second at each reading, so that a game started with the same seed draws the same.
class SeededTimerClock final : public Clock {
  public:
    SeededTimerClock(Clock& inner, double seed) : inner_(inner), next_(seed) {}
    double now() override { return inner_.now(); }
    double timer() override;

  private:
    Clock& inner_;
    double next_;
};

// How a replayed game ended.
struct ReplayEnd {
    std::array<long long, 2> points{}, money{};
    std::array<int, 2> arrived{};
    int commands = 0;     // commands carried out again
    bool ended = false;   // the game reached its results
    bool matches = true;  // the same as the record's own end (when it has one)
};

// Told of each game as its record is played again (the story of a game is built from
// this). The special events and bets arrive through EventLog as the rules report them.
class ReplayObserver : public EventLog {
  public:
    // The game's board is drawn (or loaded, for a record that begins at a load), before
    // its first turn.
    virtual void started(const Game&) {}
    // A command of the record was carried out, with all it led to (the answers it asked
    // for and the race it started are carried out inside it and not told apart).
    virtual void carried(const Game&, const Command&) {}
    // A saved game was loaded again in the middle of the record.
    virtual void resumed(const Game&) {}
    // One turn passed (the player to move handed over, or the game ended in it).
    virtual void turnPlayed(const Game&) {}
    // The game's record ends here, played up to `end`.
    virtual void finished(const Game&, const ReplayEnd&) {}
    void special(const SpecialEventRecord&) override {}
    void bet(const BetRecord&) override {}
};

// The end state as plain numbers: "points P1 P2", "money M1 M2", "arrived A1 A2".
std::string endText(const ReplayEnd& e);

// Plays every game of the record at `path` again, with the shipped data at `appDir`.
// Throws DataError (file and line) for a record that cannot be read, belongs to other
// data, or stops agreeing with the game it claims (a command refused on replay).
// `observer`, when given, is told of every game as it is played.
std::vector<ReplayEnd> replayRecord(const std::string& path, const std::string& appDir,
                                    ReplayObserver* observer = nullptr);

// What a watcher of a replay is shown as the game shows it; nothing is answered from here.
class ReplayView {
  public:
    virtual ~ReplayView() = default;
    virtual void showMessage(const GameState&) {}
    virtual void showDisaster(const GameState&, int /*kind*/) {}
    virtual void showEventPicture(const GameState&, int /*picture*/) {}
};

// One game of a record played again a turn at a time, as replayRecord plays it (the same
// replay, with the same checks and the same end): a watcher sees the game after every
// turn. Nothing it plays is written anywhere but a folder of its own (the histories the
// game writes); the player's histories, settings, save slots and list are not touched.
class RecordPlayer {
  public:
    // Game `game` (0 the first; -1 the last) of the record at `path`, with the shipped
    // data at `appDir`, set up to its board before the first turn. Throws DataError (file
    // and line, in Japanese) as replayRecord does, and for a game the record does not have.
    // `metrics`: the fonts of the board that draws the strip (kept by the caller).
    RecordPlayer(const std::string& path, const std::string& appDir, int game = 0,
                 ReplayObserver* observer = nullptr, const TextMetrics* metrics = nullptr);
    ~RecordPlayer();
    RecordPlayer(const RecordPlayer&) = delete;
    RecordPlayer& operator=(const RecordPlayer&) = delete;

    // Plays the next turn; false when the record has no more (the game is at its end,
    // `end()` says how it ended). DataError when the record stops agreeing with the game.
    bool step();
    bool atEnd() const;
    int index() const { return game_; }  // which game of the record (0-based)
    int games() const;                   // how many the record holds
    int turns() const;                   // turns played so far
    Game& game();
    const Game& game() const;
    const GameState& state() const;
    const ReplayEnd& end() const;

    // What the game shows as it is played (its messages, the disasters' pictures) goes to
    // `view` too; the die, the scenes and every answer stay the record's.
    void setView(ReplayView* view);
    // Told of every ride as the replay makes it: the state at that moment, the timer
    // reading the ride's scenery was drawn from, and the score ticks the ride paid.
    using RideWatch = std::function<void(const GameState&, double timer, int ticks)>;
    void watchRides(RideWatch watch);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int game_ = 0;
};

}  // namespace kisharin

// The list of games on any bytes: reading never fails, every notice names the file and a
// line, every entry read writes back to the same line, and a game added afterwards is
// read back after every entry read before it, with no line cut short left behind.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "record/game_list.h"

using namespace kisharin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::asBytes(data, size);
    static const std::string dir = fuzz::scratchDir();
    const std::string path = gameListPath(dir);
    fuzz::writeScratch(path, bytes);

    const GameListRead first = readGameList(dir);
    for (const std::string& n : first.notices)
        fuzz::require(n.find(path) != std::string::npos, "a notice that does not name the file: " + n);
    for (const GameEntry& e : first.entries) {
        GameEntry again;
        std::string why;
        fuzz::require(parseEntry(entryLine(e), again, why), "an entry read does not read back: " + why);
        fuzz::require(entryLine(again) == entryLine(e), "an entry reads back otherwise: " + entryLine(e));
    }

    GameEntry added;
    added.when = "2026/12/09 12:00:00";
    added.names = {"たろうさん", "こむさん"};
    added.seats = {"man", "com:つよい"};
    added.points = {120, 80};
    GameEntry kept;
    try {
        kept = addGame(dir, added, "");
    } catch (const GameError& e) {
        // Only a list at its greatest number refuses a game, and says which file.
        fuzz::require(std::string(e.what()).find(path) != std::string::npos,
                      std::string("a refusal: ") + e.what());
        return 0;
    }
    const GameListRead second = readGameList(dir);
    fuzz::require(!second.cut, "a line cut short is still there after a game was added");
    fuzz::require(!second.entries.empty() && entryLine(second.entries.back()) == entryLine(kept),
                  "the game added is not the last entry");
    if (first.lines + 1 <= kGameListKeep && bytes.size() <= kMaxGameListBytes) {
        fuzz::require(second.entries.size() == first.entries.size() + 1,
                      "an entry was lost when a game was added");
        for (std::size_t i = 0; i < first.entries.size(); ++i)
            fuzz::require(entryLine(second.entries[i]) == entryLine(first.entries[i]),
                          "an entry changed when a game was added");
    }
    for (const GameEntry& e : first.entries)
        fuzz::require(kept.number > e.number, "a number was taken twice");
    return 0;
}

// A save slot on any bytes: the slot is refused with a message naming GameData1.txt and
// a line of it, leaving the game as it was, or it loads into values the game writes
// back and reads back the same; the check against the shipped railway either passes or
// names the slot.
#include <algorithm>

#include "board/station_file.h"
#include "fuzz_support.h"
#include "platform/data_home.h"
#include "platform/text_file.h"
#include "setup/save_slot.h"
#include "setup/settings.h"

using namespace kisharin;

namespace {

GameState& game() {
    static GameState* g = [] {
        auto* s = new GameState;
        static_cast<RailwayData&>(*s) = readStationFile(shippedDataDir() + "GameData/駅.txt");
        return s;
    }();
    return *g;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::asBytes(data, size);
    const std::string& dir = fuzz::scratchDir();
    GameState& s = game();
    const std::vector<std::string> before = slotLines(s);

    fuzz::writeScratch(slotPath(dir, 1), bytes);
    try {
        readSlot(dir, 1, s);
    } catch (const DataError& e) {
        // A slot too short is refused at its first missing line.
        fuzz::checkRefusal(e, "GameData1.txt", std::max(fuzz::lineCountOf(bytes) + 1, kSlotLines));
        fuzz::require(slotLines(s) == before, "a refused slot changed the game");
        return 0;
    }

    const std::vector<std::string> loaded = slotLines(s);
    try {
        writeSlot(dir, 2, s);
        readSlot(dir, 2, s);
    } catch (const GameError& e) {
        fuzz::fail(std::string("a loaded slot cannot be saved and loaded again: ") + e.what());
    }
    fuzz::require(slotLines(s) == loaded, "the slot saved from a loaded game loads differently");

    try {
        checkSlotStations(s, "GameData1.txt");
    } catch (const DataError& e) {
        fuzz::require(std::string(e.what()).find("GameData1.txt") != std::string::npos,
                      std::string("a station check that does not name the slot: ") + e.what());
        fuzz::require(
            e.line() >= 1 && e.line() <= kSlotLines,
            std::string("a station check names line ") + std::to_string(e.line()) + ": " + e.what());
    }
    return 0;
}

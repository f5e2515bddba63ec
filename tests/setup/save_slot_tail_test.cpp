// What follows a slot's 42 lines is not part of the game and never refuses the slot.
#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "setup/save_slot.h"
#include "state/error.h"
#include "support/fakes.h"

namespace kisharin {
namespace {

std::string slotBytes() {
    GameState s;
    s.playArea = 2;
    s.playerMoney[0] = 4321;
    s.playerKind[0] = s.playerKind[1] = 1;
    for (int d = 1; d <= 8; ++d) s.mokutekitiRosen[d] = s.mokutekitiEki[d] = 1;
    s.playerRosen[0] = s.playerEki[0] = s.playerRosen[1] = s.playerEki[1] = 1;
    return encodeLines(slotLines(s), "GameData1.txt");
}

TEST(SaveSlotTail, BytesThatAreNotShiftJisAfterTheLastLineAreIgnored) {
    testing::ScratchDir dir;
    // A lone lead byte and a byte CP932 never uses, on line 43 and after.
    writeBytesAtomic(dir.file("GameData1.txt"), slotBytes() + "\x81\r\n\xa0\xff memo\r\n");
    GameState loaded;
    ASSERT_NO_THROW(readSlot(dir.path(), 1, loaded));
    EXPECT_EQ(loaded.playArea, 2);
    EXPECT_EQ(loaded.playerMoney[0], 4321);
}

TEST(SaveSlotTail, ABadByteWithinTheSlotIsStillReportedOnItsLine) {
    testing::ScratchDir dir;
    std::string bytes = slotBytes();
    // Line 3 (play seconds) gets a byte that is not CP932.
    const size_t third = bytes.find("\r\n", bytes.find("\r\n") + 2) + 2;
    bytes.insert(third, "\xff");
    writeBytesAtomic(dir.file("GameData2.txt"), bytes);
    GameState loaded;
    try {
        readSlot(dir.path(), 2, loaded);
        ADD_FAILURE() << "the spoilt slot was accepted";
    } catch (const DataError& e) {
        EXPECT_EQ(e.line(), 3) << e.what();
    }
}

TEST(SaveSlotTail, DecodingStopsAfterTheLinesAskedFor) {
    const std::string bytes = "a\r\nb\r\n\xff\r\n";
    EXPECT_EQ(decodeLines(bytes, "x.txt", 2), (std::vector<std::string>{"a", "b"}));
    EXPECT_THROW(decodeLines(bytes, "x.txt"), DataError);
    EXPECT_TRUE(decodeLines(bytes, "x.txt", 0).empty());
}

}  // namespace
}  // namespace kisharin

// The computer's strength file: a missing file is ふつう without a word; anything that
// cannot be used gives ふつう and a message naming the file and its line.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/text_file.h"
#include "setup/strength_file.h"
#include "support/fakes.h"

namespace kisharin::testing {
namespace {

TEST(StrengthFile, WrittenAndReadBackAndEveryFaultNamed) {
    ScratchDir dir;
    EXPECT_EQ(readStrength(dir.path()).strength, Strength::Normal);
    EXPECT_TRUE(readStrength(dir.path()).problem.empty());
    for (Strength st : {Strength::Weak, Strength::Normal, Strength::Strong}) {
        writeStrength(dir.path(), st);
        const StrengthLoad l = readStrength(dir.path());
        EXPECT_EQ(l.strength, st);
        EXPECT_TRUE(l.problem.empty()) << l.problem;
    }
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case faults[] = {
        {"another word", encodeLines({"最強"}, "x")},
        {"empty", ""},
        {"not CP932", "\x82\r\n"},
        {"too long", std::string(300, 'a')},
    };
    for (const Case& c : faults) {
        SCOPED_TRACE(c.what);
        std::ofstream(dir.file(kStrengthFile), std::ios::binary) << c.bytes;
        const StrengthLoad l = readStrength(dir.path());
        EXPECT_EQ(l.strength, Strength::Normal);
        EXPECT_NE(l.problem.find(kStrengthFile), std::string::npos) << l.problem;
        EXPECT_NE(l.problem.find("1行目"), std::string::npos) << l.problem;
    }
    EXPECT_EQ(strengthFromCaption("  つよい "), Strength::Strong);
}

}  // namespace
}  // namespace kisharin::testing

// The prefecture picker: its 47 labels, the map of Japan under them and a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "maps/picker.h"
#include "platform/data_home.h"
#include "state/regions.h"

namespace kisharin {
namespace {

TEST(PickerTest, LabelsAreTheGamesPrefecturesInCodeOrderWithTheirRegions) {
    GameState s;
    buildRegionTables(s);
    const std::vector<std::string> all = allPrefectures(s);
    const std::set<std::string> game(all.begin(), all.end());
    std::set<std::string> labels;
    for (int code = 1; code <= kPrefCount; ++code) {
        labels.insert(prefectureCaption(code));
        EXPECT_EQ(prefectureRegion(code), regionOf(s, prefectureCaption(code))) << prefectureCaption(code);
    }
    EXPECT_EQ(labels, game);
    EXPECT_EQ(prefectureCaption(13), "東京都");
    EXPECT_EQ(prefectureCaption(47), "沖縄県");
    EXPECT_THROW(prefectureCaption(0), GameError);
    EXPECT_THROW(pickerLabel(48), GameError);
}

TEST(PickerTest, LabelsStayApartOnThePictureAndOnlyOkinawaIsInTheInset) {
    EXPECT_EQ(pickerLabel(1).x, 395);
    EXPECT_EQ(pickerLabel(1).y, 67);
    EXPECT_EQ(pickerLabel(13).x, 318);
    EXPECT_EQ(pickerLabel(13).y, 301);
    EXPECT_EQ(pickerLabel(47).x, 103);
    EXPECT_EQ(pickerLabel(47).y, 81);
    EXPECT_EQ(pickerLabel(14).w, 4 * kPickerLabelPixels + 4);  // 神奈川県: four characters
    for (int a = 1; a <= kPrefCount; ++a) {
        const PickerRect r = pickerLabel(a);
        EXPECT_GE(r.x, 0);
        EXPECT_GE(r.y, 0);
        EXPECT_LE(r.x + r.w, kPickerWidth);
        EXPECT_LE(r.y + r.h, kPickerHeight);
        EXPECT_EQ(r.intersects(kOkinawaInset), a == 47) << prefectureCaption(a);
        for (int b = a + 1; b <= kPrefCount; ++b)
            EXPECT_FALSE(r.intersects(pickerLabel(b)))
                << prefectureCaption(a) << " / " << prefectureCaption(b);
    }
}

bool inside(const PrefOutline& p, double x, double y) {
    bool in = false;
    for (const auto& ring : p.rings)
        for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
            if ((ring[i].y > y) != (ring[j].y > y) &&
                x < (ring[j].x - ring[i].x) * (y - ring[i].y) / (ring[j].y - ring[i].y) + ring[i].x)
                in = !in;
    return in;
}

TEST(PickerTest, EveryLabelLiesOverItsOwnPrefectureOnTheShippedMap) {
    const JapanOutline& japan = japanOutline(shippedDataDir() + "MapData/");
    EXPECT_TRUE(japan.faults.empty()) << japan.faults.front();
    ASSERT_EQ(japan.prefs.size(), 47u);
    for (const PrefOutline& p : japan.prefs) {
        const PickerRect r = pickerLabel(p.code);
        int own = 0;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) own += inside(p, x + 0.5, y + 0.5);
        EXPECT_GT(own, r.w * r.h / 50) << prefectureCaption(p.code);
        // The ring with the most points (the main land) lies on the picture.
        const auto& main = *std::max_element(
            p.rings.begin(), p.rings.end(), [](const auto& a, const auto& b) { return a.size() < b.size(); });
        for (const auto& q : main) {
            ASSERT_TRUE(q.x >= 0 && q.x <= kPickerWidth && q.y >= 0 && q.y <= kPickerHeight)
                << prefectureCaption(p.code);
            const bool inInset =
                q.x < kOkinawaInset.x + kOkinawaInset.w && q.y < kOkinawaInset.y + kOkinawaInset.h;
            ASSERT_EQ(inInset, p.code == 47) << prefectureCaption(p.code);
        }
    }
    // The Okinawa inset holds 沖縄県's main island.
    const PickerPoint naha = pickerProject(47, 26.21, 127.68);
    EXPECT_GT(naha.x, kOkinawaInset.x);
    EXPECT_LT(naha.y, kOkinawaInset.y + kOkinawaInset.h);
}

TEST(PickerTest, AMissingBoundaryLeavesThatPrefectureOutAndSaysWhich) {
    const JapanOutline& fixtures = japanOutline(std::string(KISHARIN_TEST_FIXTURES) + "/MapData/");
    ASSERT_EQ(fixtures.prefs.size(), 1u);
    EXPECT_EQ(fixtures.prefs[0].code, 13);
    EXPECT_EQ(fixtures.prefs[0].rings.size(), 2u);
    EXPECT_EQ(fixtures.faults.size(), 46u);
    EXPECT_NE(fixtures.faults[0].find("北海道"), std::string::npos);
}

TEST(PickerTest, AClickRecordsThePrefectureAndOnlyViewingOpensTheMap) {
    GameState s;
    EXPECT_FALSE(lblPref_Click(27, true));
    EXPECT_EQ(mapPick().pickedPref, "大阪府");
    EXPECT_FALSE(mapPick().prefPicked);
    EXPECT_TRUE(lblPref_Click(1, false));
    EXPECT_EQ(mapPick().pickedPref, "北海道");
    EXPECT_TRUE(mapPick().prefPicked);
}

TEST(PickerTest, TheKeysReachEveryNameAndStartWhereThePlayerStands) {
    EXPECT_EQ(pickerKeyMove(13, PickerKey::Right), 12);  // 東京都 to 千葉県
    EXPECT_EQ(pickerKeyMove(46, PickerKey::Down), 46);   // nothing south of 鹿児島県
    // The arrows alone lead from 東京都 to every name.
    std::set<int> seen{13};
    for (std::vector<int> todo{13}; !todo.empty();) {
        const int at = todo.back();
        todo.pop_back();
        for (const PickerKey k : {PickerKey::Left, PickerKey::Right, PickerKey::Up, PickerKey::Down})
            if (seen.insert(pickerKeyMove(at, k)).second) todo.push_back(pickerKeyMove(at, k));
    }
    EXPECT_EQ(seen.size(), 47u);
    GameState s;
    s.ekiPref(3, 5) = "大阪府";
    s.playerRosen[1] = 3, s.playerEki[1] = 5, s.curPlayer = 1;
    EXPECT_EQ(pickerStart(s), 27);
}

}  // namespace
}  // namespace kisharin

#include "databuilder/game_files.h"

#include "board/station_file.h"
#include "platform/data_home.h"
#include "platform/text_file.h"

namespace kisharin::databuilder {

const char* const kStationFileHeader =
    "キシャリン駅データ　出典：駅データ（Seo-4d696b75/station_database）　CC BY-SA 4.0";

const char* const kFirstWebMapUrl = "https://maps.gsi.go.jp/";

namespace {
// A settings number as the game writes it: a blank, the number and a blank.
std::string setting(int v) {
    return " " + std::to_string(v) + " ";
}
}  // namespace

std::vector<std::string> firstNameDataLines() {
    return {"たろう", "はなこ", setting(0), setting(1), setting(0), setting(0)};
}

void writeGameData(const Network& net, const std::string& dataDir) {
    const std::string dir = dataDir + "/GameData/";
    makeDirectories(dir);
    writeBytesAtomic(dir + "駅.txt", formatStationFile(net.data, kStationFileHeader));
    writeBytesAtomic(dir + "NameData.txt", encodeLines(firstNameDataLines(), "NameData.txt"));
    writeBytesAtomic(dir + "URL.txt", encodeLines({kFirstWebMapUrl}, "URL.txt"));
    writeBytesAtomic(dir + "履歴0.txt", "");
    writeBytesAtomic(dir + "履歴1.txt", "");
}

}  // namespace kisharin::databuilder

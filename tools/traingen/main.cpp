// kisharin-traingen <data folder>: writes <data folder>/Train/1.bmp … 8.bmp. The same
// bytes on every run.
// kisharin-traingen --preview <file.bmp>: one sheet with every picture as drawn, coloured
// by day and at night with sample colours, through the game's own painting.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "scene/paint.h"
#include "state/datetime.h"
#include "traingen/train_art.h"

namespace {

using namespace kisharin;

class NoonClock final : public Clock {
  public:
    double now() override { return 0; }
    double timer() override { return 0; }
};

int preview(const std::string& out) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kisharin-traingen-preview";
    std::filesystem::create_directories(dir / "Train");
    std::string error;
    for (int n = 1; n <= 8; ++n)
        if (!writeBmp(traingen::drawTrainPicture(n), (dir / "Train" / (std::to_string(n) + ".bmp")).string(),
                      error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    const int rowH = kTrainHeight + 4;
    PixelBuffer sheet(kTrainWidth, rowH * 8 * 3, argb(255, 0, 255));
    auto s = std::make_unique<GameState>();
    s->appDir = dir.string() + "/";
    s->playerRosen[0] = 1;
    s->ekiName(1, 0) = "線";
    const char* colours[] = {"",
                             "60;60;140\\0;120;200\\128;190;230\\225;240;250\\0",
                             "20;80;40\\40;150;70\\150;210;160\\230;245;235\\0",
                             "120;100;20\\230;160;30\\240;210;150\\250;245;230\\1",
                             "130;30;40\\220;50;60\\240;150;150\\250;235;235\\2",
                             "20;110;60\\30;180;90\\140;220;170\\235;250;240\\0",
                             "60;30;120\\110;60;200\\180;150;230\\240;235;250\\1",
                             "120;40;20\\200;70;40\\230;160;140\\250;240;230\\0",
                             "1;1;1\\1;1;1\\1;1;1\\1;1;1\\0"};
    for (int n = 1; n <= 8; ++n) {
        s->ekiPref(1, 0) = std::to_string(n) + "\\" + colours[n];
        for (int k = 0; k < 3; ++k) {
            PixelBuffer img;
            if (k == 0) {
                img = traingen::drawTrainPicture(n);
            } else {
                s->gameClock = toSerial({2024, 4, 1, k == 1 ? 12 : 22, 0, 0});
                DefaultRng rng;
                NoonClock clock;
                img = 塗りつぶし(*s, rng, clock).train;
            }
            for (int y = 0; y < img.height; ++y)
                for (int x = 0; x < img.width; ++x) sheet.set(x, ((n - 1) * 3 + k) * rowH + y, img.at(x, y));
        }
    }
    if (!writeBmp(sheet, out, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--preview") return preview(argv[2]);
    if (argc != 2) {
        std::fprintf(stderr, "使い方: kisharin-traingen <データのフォルダ>\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "Train";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "フォルダ「%s」を作れません: %s\n", folder.string().c_str(),
                     ec.message().c_str());
        return 1;
    }
    for (int n = 1; n <= 8; ++n) {
        const std::string path = (folder / (std::to_string(n) + ".bmp")).string();
        std::string error;
        if (!kisharin::writeBmp(kisharin::traingen::drawTrainPicture(n), path, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    std::printf("列車の絵を8枚書きました: %s\n", folder.string().c_str());
    return 0;
}

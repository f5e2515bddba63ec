#include "databuilder/train_descriptor.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace kisharin::databuilder {

namespace {

bool hasAny(const std::string& text, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (text.find(w) != std::string::npos) return true;
    return false;
}

// The corporate colours of the JR companies, for their lines the data gives no colour.
std::optional<Rgb> jrColor(int company) {
    switch (company) {
        case 1:
            return Rgb{0, 160, 64};  // JR北海道, もえぎ色
        case 2:
            return Rgb{0, 128, 0};  // JR東日本, 緑
        case 3:
            return Rgb{240, 130, 0};  // JR東海, オレンジ
        case 4:
            return Rgb{0, 112, 192};  // JR西日本, 青
        case 5:
            return Rgb{0, 160, 224};  // JR四国, 水色
        case 6:
            return Rgb{230, 0, 18};  // JR九州, 赤
        default:
            return std::nullopt;
    }
}

Rgb mix(const Rgb& c, const Rgb& with, double share) {
    Rgb out{};
    for (int k = 0; k < 3; ++k)
        out[static_cast<size_t>(k)] = static_cast<int>(
            std::lround(c[static_cast<size_t>(k)] * (1 - share) + with[static_cast<size_t>(k)] * share));
    return out;
}

// Pure black would melt into the picture's black outlines and stop the fills that
// follow; the darkest colour used is a very dark grey.
Rgb visible(Rgb c) {
    for (int& v : c) v = std::clamp(v, 24, 255);
    return c;
}

std::string text(const Rgb& c) {
    return std::to_string(c[0]) + ";" + std::to_string(c[1]) + ";" + std::to_string(c[2]);
}

}  // namespace

int trainPicture(const OpenLine& line, const Company* company) {
    const std::string& n = line.name;
    const std::string operatorName = company ? company->name : std::string();
    const bool jr = company && company->type == 1;
    if (hasAny(n, {"新幹線"})) return kShinkansen;
    if (hasAny(n, {"ケーブル", "鋼索", "登山", "ロープウェイ", "黒部峡谷", "井川線"})) return kMountain;
    if (hasAny(n, {"ゆとりーと", "観光線", "嵯峨野観光"})) return kOtherTrain;
    if (hasAny(n, {"モノレール", "ゆいレール", "ライナー", "ゆりかもめ", "シーサイドライン", "ポートタウン",
                   "ユーカリが丘", "西武山口線", "アストラムライン", "リニモ", "リゾートライン"}) ||
        hasAny(operatorName, {"新交通", "新都市交通"}))
        return kMonorail;
    if (hasAny(n, {"市電", "都電", "系統", "世田谷線", "市内線", "富山都心線", "富山港線", "万葉線",
                   "東田本線", "運動公園前線", "とさでん", "ライトレール", "電軌", "福武線"}) ||
        hasAny(operatorName, {"電気軌道"}))
        return kTram;
    if (hasAny(n, {"地下鉄", "メトロ", "Metro", "みなとみらい線", "埼玉高速鉄道"}) ||
        (hasAny(n, {"都営"}) && !hasAny(n, {"都電"})))
        return kSubway;
    if ((jr && hasAny(n, {"本線"})) || hasAny(n, {"エクスプレス"})) return kMainLine;
    return kCommuter;
}

Rgb lineColor(const OpenLine& line) {
    if (line.color) return *line.color;
    if (auto c = jrColor(line.company)) return *c;
    // A hue of its own: spread the line codes round the colour circle, fairly bright.
    const double hue = static_cast<double>((static_cast<long long>(line.code) * 47) % 360);
    const double s = 0.65, v = 0.8;
    const double c = v * s;
    const double x = c * (1 - std::fabs(std::fmod(hue / 60.0, 2.0) - 1));
    const double m = v - c;
    double r = 0, g = 0, b = 0;
    if (hue < 60)
        r = c, g = x;
    else if (hue < 120)
        r = x, g = c;
    else if (hue < 180)
        g = c, b = x;
    else if (hue < 240)
        g = x, b = c;
    else if (hue < 300)
        r = x, b = c;
    else
        r = c, b = x;
    return Rgb{static_cast<int>(std::lround((r + m) * 255)), static_cast<int>(std::lround((g + m) * 255)),
               static_cast<int>(std::lround((b + m) * 255))};
}

std::string trainDescriptor(int picture, const Rgb& color) {
    const Rgb white{255, 255, 255}, black{0, 0, 0};
    const Rgb roof = visible(mix(color, black, 0.4));
    const Rgb band = visible(color);
    const Rgb lightBand = visible(mix(color, white, 0.5));
    const Rgb body = visible(mix(color, white, 0.85));
    const char* flag = picture == kSubway ? "2" : (picture == kCommuter || picture == kMonorail) ? "1" : "0";
    return std::to_string(picture) + "\\" + text(roof) + "\\" + text(band) + "\\" + text(lightBand) + "\\" +
           text(body) + "\\" + flag;
}

}  // namespace kisharin::databuilder

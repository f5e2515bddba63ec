#include "train_shots.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "scene/paint.h"
#include "scene/scenery_art.h"
#include "state/datetime.h"
#include "state/railway.h"

namespace kisharin {

namespace {

class FixedTimer final : public Clock {
  public:
    double now() override { return 0; }
    double timer() override { return 1.0; }
};

QImage toImage(const PixelBuffer& p) {
    QImage img(p.width, p.height, QImage::Format_ARGB32);
    for (int y = 0; y < p.height; ++y)
        std::memcpy(img.scanLine(y), p.px.data() + static_cast<size_t>(y) * p.width,
                    static_cast<size_t>(p.width) * 4);
    return img;
}

QFont labelFont(int px, bool bold = false) {
    QFont f("IPAPGothic");
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

bool saveOrSay(const QImage& img, const QString& path) {
    if (img.save(path)) return true;
    std::fprintf(stderr, "kisharin-screenshots: cannot write %s\n", qPrintable(path));
    return false;
}

// Each picture number on the first line of the data that uses it, painted at noon (clear
// sky) and at 22:00.
bool saveTrains(const GameState& base, const QString& outDir) {
    auto s = std::make_unique<GameState>(base);
    s->curPlayer = 0;
    s->playSeconds = 0;
    const int gap = 30, rowH = kTrainHeight + gap + 8;
    QImage sheet(2 * kTrainWidth + 30, 8 * rowH + 10, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int n = 1; n <= 8; ++n) {
        int line = 0;
        const std::string prefix = std::to_string(n) + "\\";
        for (int L = 1; L <= lineCount(*s) && !line; ++L)
            if (s->ekiPref(L, 0).rfind(prefix, 0) == 0 &&
                s->ekiName(L, 0).find("飛行機") == std::string::npos)
                line = L;
        const int top = (n - 1) * rowH + 6;
        painter.setPen(Qt::black);
        painter.setFont(labelFont(18, true));
        if (!line) {
            painter.drawText(10, top + 20, QString("%1: この絵を使う路線がありません").arg(n));
            continue;
        }
        s->playerRosen[0] = static_cast<Integer>(line);
        painter.drawText(10, top + 20,
                         QString("%1　%2").arg(n).arg(QString::fromStdString(s->ekiName(line, 0))));
        QFont mono("DejaVu Sans Mono");
        mono.setPixelSize(12);
        painter.setFont(mono);
        painter.setPen(QColor(90, 90, 90));
        painter.drawText(kTrainWidth / 2 + 120, top + 20,
                         QString("昼・夜　%1").arg(QString::fromStdString(s->ekiPref(line, 0))));
        for (int k = 0; k < 2; ++k) {
            s->gameClock = toSerial({2024, 4, 1, k == 0 ? 12 : 22, 0, 0});
            DefaultRng rng;
            FixedTimer clock;
            rng.reseed(1.0);
            const ScenePaint p = 塗りつぶし(*s, rng, clock);
            if (!p.stoppedBecause.empty())
                std::fprintf(stderr, "kisharin-screenshots: %s\n", p.stoppedBecause.c_str());
            painter.drawImage(10 + k * (kTrainWidth + 10), top + gap, toImage(p.train));
        }
    }
    painter.end();
    return saveOrSay(sheet, outDir + "/trains.png");
}

// The scenery pieces on the day sky, each with its name, at their size in the ride.
bool saveScenery(const QString& outDir) {
    struct Piece {
        const char* name;
        PixelBuffer picture;
    };
    PixelBuffer plane = aeroplanePicture(), cloud = cloudPicture();
    floodFillBorder(plane, 0, 0, skyColors[0]);
    floodFillBorder(cloud, 0, 0, skyColors[0]);
    const Piece pieces[] = {{"信号", signalPicture()},
                            {"赤信号", redSignalPicture()},
                            {"木", treePicture()},
                            {"電柱", polePicture()},
                            {"トンネル", tunnelPicture()},
                            {"高架の橋脚", viaductPierPicture()},
                            {"車止め", bufferStopPicture()},
                            {"踏切", levelCrossingPicture()},
                            {"川", riverPicture()},
                            {"道路", roadPicture()},
                            {"雲", cloud},
                            {"飛行機", plane}};
    QImage sheet(1620, 330, QImage::Format_ARGB32);
    sheet.fill(QColor(236, 255, 255));
    QPainter painter(&sheet);
    painter.setFont(labelFont(13));
    painter.setPen(Qt::black);
    int x = 10;
    for (const Piece& piece : pieces) {
        const int y = 300 - piece.picture.height;
        painter.drawImage(x, y, toImage(piece.picture));
        painter.drawText(x, 320, QString::fromUtf8(piece.name));
        x += std::max(piece.picture.width, 70) + 12;
    }
    painter.end();
    return saveOrSay(sheet, outDir + "/scenery.png");
}

}  // namespace

int saveTrainScreenshots(const GameState& s, const QString& outDir) {
    return static_cast<int>(saveTrains(s, outDir)) + static_cast<int>(saveScenery(outDir));
}

}  // namespace kisharin

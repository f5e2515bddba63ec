#include "ride_shots.h"

#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/encoding.h"
#include "scene/paint.h"
#include "screens/frmEki.h"
#include "screens/frmSeiha.h"
#include "state/datetime.h"
#include "state/railway.h"

namespace kisharin {

namespace {

bool flag(const std::string& desc, const char* value) {
    const std::vector<std::string> f = splitDescriptor(desc);
    return f.size() > 5 && f[5] == value;
}

// A clock whose time and timer the pictures choose.
class SetClock final : public Clock {
  public:
    double serial = 0;
    double seconds = 0;
    double now() override { return serial; }
    double timer() override { return seconds; }
};

class Shots {
  public:
    Shots(const GameState& base, const QString& dir) : s_(base), dir_(dir) {
        s_.curPlayer = 0;
        s_.playerPoint[0] = 1230;
        s_.rideInfo = {"急行", rgb(0, 0, 192), 50};
        s_.playSeconds = 0;
    }

    // The first line whose name and descriptor satisfy `fits` and that has n stations.
    int line(const std::function<bool(const std::string&, const std::string&)>& fits, int minStations) const {
        for (int L = 1; L <= lineCount(s_); ++L)
            if (stationCount(s_, L) >= minStations && fits(s_.ekiName(L, 0), s_.ekiPref(L, 0))) return L;
        return 0;
    }

    // A ride on line L from start to end at the given hour; `wantSky` picks the timer so
    // that the painting comes out with that sky; ticks moves the strip on.
    bool ride(const char* name, int L, int start, int end, int hour, int wantSky, bool cut, int ticks) {
        if (L <= 0) {
            std::fprintf(stderr, "kisharin-screenshots: no line for %s\n", name);
            return false;
        }
        s_.playerRosen[0] = static_cast<Integer>(L);
        s_.startEki[0] = static_cast<Integer>(start);
        s_.playerEki[0] = static_cast<Integer>(end);
        s_.rideCut = cut;
        s_.gameClock = toSerial({2024, 4, 1, hour, 10, 0});
        s_.rideInfo =
            s_.ekiName(L, 0).find("新幹線") != std::string::npos ? RideInfo{"新幹線", rgb(0, 0, 192), 100}
            : s_.ekiName(L, 0).find("飛行機") != std::string::npos ? RideInfo{"飛行機", rgb(0, 128, 0), 100}
                                                                   : RideInfo{"急行", rgb(192, 0, 0), 50};
        clock_.serial = s_.gameClock;
        for (int t = 0; t < 200; ++t) {
            clock_.seconds = 36000 + t;
            DefaultRng probe(1);
            if (wantSky < 0 || skyIndexAt(s_.gameClock, s_.playSeconds, probe, clock_) == wantSky) break;
        }
        // Underground, a ride that passes signals.
        const bool underground = flag(s_.ekiPref(L, 0), "2");
        for (int t = 0; underground && t < 100; ++t) {
            DefaultRng probe(1);
            if (layoutRide(s_, probe, clock_, false, true).count(PieceKind::Signal) > 0) break;
            clock_.seconds += 1;
        }
        DefaultRng rng(7);
        FrmEki w(s_, rng, clock_, nullptr);
        if (ticks < 0) ticks = 100000;  // to the platform
        w.advance(ticks);
        // Underground, move on until the first signal stands in the middle.
        const RideLayout& layout = w.scene().layout;
        for (const ScenePiece& p : layout.front)
            if (layout.isUnderground && p.kind == PieceKind::Signal) {
                while (!w.motion().arrived() && w.motion().left() + p.left > 620) w.advance(1);
                break;
            }
        return save(w, name);
    }

    bool conquest(const char* name, int L) {
        s_.playerRosen[0] = static_cast<Integer>(L);
        clock_.seconds = 40000;
        DefaultRng rng(3);
        FrmSeiha w(s_, L, rng, clock_, nullptr);
        w.advance(100);
        return save(w, name);
    }

    int written = 0;
    GameState s_;

  private:
    bool save(QWidget& w, const char* name) {
        const QString path = dir_ + "/" + name + ".png";
        if (!w.grab().save(path)) {
            std::fprintf(stderr, "kisharin-screenshots: cannot write %s\n", qPrintable(path));
            return false;
        }
        ++written;
        return true;
    }
    QString dir_;
    SetClock clock_;
};

bool named(const std::string& name, const char* part) {
    return name.find(part) != std::string::npos;
}

}  // namespace

int saveRideScreenshots(const GameState& base, const QString& outDir) {
    Shots shots(base, outDir);
    auto ordinary = [](const std::string& n, const std::string& d) {
        return !named(n, "新幹線") && !named(n, "飛行機") && !flag(d, "2") && d.rfind("3\\", 0) == 0;
    };
    const int plain = shots.line(ordinary, 20);
    shots.ride("frmEki_day", plain, 2, 7, 10, 0, false, 150);
    shots.ride("frmEki_cloudy", plain, 3, 10, 11, 1, false, 200);
    shots.ride("frmEki_evening", plain, 5, 8, 17, -1, false, 90);
    shots.ride("frmEki_night", plain, 9, 5, 21, -1, false, 90);
    const int subway = shots.line([](const std::string&, const std::string& d) { return flag(d, "2"); }, 8);
    shots.ride("frmEki_underground", subway, 1, 8, 14, -1, false, 60);
    const int shinkansen =
        shots.line([](const std::string& n, const std::string&) { return named(n, "新幹線"); }, 6);
    shots.ride("frmEki_shinkansen", shinkansen, 1, 4, 13, 0, false, 100);
    const int flight =
        shots.line([](const std::string& n, const std::string&) { return named(n, "飛行機"); }, 2);
    shots.ride("frmEki_flight", flight, 1, 2, 15, 0, false, 30);
    shots.ride("frmEki_cut", plain, 4, 7, 12, 0, true, -1);
    const int last = stationCount(shots.s_, plain);
    shots.ride("frmEki_line_end", plain, last - 3, last, 9, 0, false, -1);
    const int mainLine =
        shots.line([](const std::string& n,
                      const std::string& d) { return d.rfind("2\\", 0) == 0 && charCount(n) <= 8; },
                   5);
    shots.conquest("frmSeiha", mainLine > 0 ? mainLine : plain);
    return shots.written;
}

}  // namespace kisharin

#include "board/line_display.h"

#include <algorithm>
#include <cstdlib>

#include "board/startup.h"
#include "board/text_metrics.h"
#include "platform/encoding.h"
#include "state/datetime.h"
#include "state/railway.h"
#include "state/regions.h"

namespace kisharin {

StationView& LineDisplayModel::station(int i) {
    return stations.at(static_cast<size_t>(i - 1));
}
const StationView& LineDisplayModel::station(int i) const {
    return stations.at(static_cast<size_t>(i - 1));
}

namespace {

constexpr int kNorikaeRows = 151;  // rows of norikaeList; label k uses row k

bool isPendingDestinationHere(const GameState& s, int line, int pos) {
    for (int d = 1; d <= kDestinationCount; ++d)
        if (s.mokutekitiRosen[d] == line && s.mokutekitiEki[d] == pos && !s.mokutekitiDone[d]) return true;
    return false;
}

bool validBox(const LineDisplayModel& m, int i) {
    return i >= 1 && i <= m.stationCount();
}

// Paints the boxes of the destinations still open on the displayed line pink.
void paintPendingDestinations(const GameState& s, LineDisplayModel& m) {
    for (int d = 1; d <= kDestinationCount; ++d)
        if (s.mokutekitiRosen[d] == m.line && !s.mokutekitiDone[d] && validBox(m, s.mokutekitiEki[d]))
            m.station(s.mokutekitiEki[d]).fill = kColorDestination;
}

// The rows the labels of one station take at a font size, from x0 to the strip's width.
int transferRows(const GameState& s, const TextMetrics& tm, const std::vector<Link>& links, int fontSize,
                 int x0, int stripWidth) {
    int rows = links.empty() ? 0 : 1, x = x0;
    for (const Link& link : links) {
        const int width = tm.width(s.ekiName(link.line, 0), fontSize);
        if (x > x0 && x + std::max(width, kTransferTemplateWidth) > stripWidth) {
            x = x0;
            ++rows;
        }
        x += width + 10;
    }
    return rows;
}

// Where a name may be broken so that it reads naturally: before an opening bracket, after
// a closing one, a middle dot, a wave dash or a blank.
bool naturalBreak(const std::string& before, const std::string& after) {
    static const char* const opening[] = {"（", "(", "「", "〔", "［"};
    static const char* const closing[] = {"）", ")", "」", "〕", "］", "・", "～", "〜", "　", " ", "-", "‐"};
    for (const char* o : opening)
        if (after.rfind(o, 0) == 0) return true;
    for (const char* c : closing) {
        const std::string tail(c);
        if (before.size() >= tail.size() &&
            before.compare(before.size() - tail.size(), tail.size(), tail) == 0)
            return true;
    }
    return false;
}

}  // namespace

StationCaption fitStationName(const std::string& name, int fontSize, int width, int height,
                              const TextMetrics& tm) {
    if (tm.width(name, fontSize) <= width) return {{name}, fontSize};
    // The places between two characters (UTF-8 code points).
    std::vector<std::size_t> cuts;
    for (std::size_t i = 1; i < name.size(); ++i)
        if ((static_cast<unsigned char>(name[i]) & 0xC0) != 0x80) cuts.push_back(i);
    for (bool natural : {true, false}) {
        for (int size = std::min(fontSize, kStationSmallFontSize); size >= kStationSmallestFontSize; --size) {
            if (2 * tm.height(size) > height) continue;
            int best = 0;
            std::size_t bestCut = 0;
            for (std::size_t cut : cuts) {
                const std::string a = name.substr(0, cut), b = name.substr(cut);
                if (natural && !naturalBreak(a, b)) continue;
                const int longer = std::max(tm.width(a, size), tm.width(b, size));
                if (longer <= width && (bestCut == 0 || longer < best)) {
                    best = longer;
                    bestCut = cut;
                }
            }
            if (bestCut != 0) return {{name.substr(0, bestCut), name.substr(bestCut)}, size};
        }
    }
    return {{name}, kStationSmallestFontSize};
}

int scrollTop(const LineDisplayModel& m) {
    return std::max(m.scrollMin, m.scrollMax);
}

namespace {
bool contains(const PixelRect& r, int x, int y) {
    return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
}
}  // namespace

StripHit hitTest(const LineDisplayModel& m, int x, int y) {
    StripHit h;
    for (size_t k = m.transfers.size(); k-- > 0;)
        if (contains(m.transfers[k].rect, x, y)) {
            h.transfer = static_cast<int>(k) + 1;
            return h;
        }
    // A station takes the pointer anywhere inside its framed box, not only on its name.
    for (int i = m.stationCount(); i >= 1; --i)
        if (contains(m.station(i).box, x, y) || contains(m.station(i).label, x, y)) {
            h.station = i;
            return h;
        }
    return h;
}

std::string directionText(const RailwayData& d, int line, int pos) {
    const int m = stationCount(d, line);
    std::string start, end;
    if (pos > 2)
        start = d.ekiName(line, pos - 1) + "・" + d.ekiName(line, 1) + " 方面";
    else if (pos == 2)
        start = d.ekiName(line, 1) + " 方面";
    if (pos < m - 1)
        end = d.ekiName(line, pos + 1) + "・" + d.ekiName(line, m) + " 方面";
    else if (pos == m - 1)
        end = d.ekiName(line, m) + " 方面";
    if (!start.empty() && !end.empty()) return start + " ― " + end;
    return start.empty() ? end : start;
}

void 路線初期化(const GameState& s, LineDisplayModel& m) {
    m.stations.clear();
    m.transfers.clear();
    const int p = s.curPlayer;
    // A station of no region keeps the colour the strip had.
    const int r = regionOf(s, s.ekiPref(s.playerRosen[p], s.playerEki[p]));
    if (r != 0) m.background = s.regionColor[r];
}

std::vector<Station> transfersAt(const RailwayData& d, int line, int pos) {
    std::vector<Station> out;
    if (line < 1 || line > kMaxLine || pos < 1 || pos > kMaxPosition) return out;
    for (const Link& link : parseLinks(d.ekiLink(line, pos)))
        if (isStation(d, link.line, link.pos)) out.push_back({link.line, link.pos});
    return out;
}

void 路線読み込み(GameState& s, LineDisplayModel& m, const TextMetrics& tm) {
    const int p = s.curPlayer;
    const int L = s.playerRosen[p];

    路線初期化(s, m);
    s.norikaeCount = 1;
    s.norikaeList.fill(0);
    m.visible = false;
    m.line = L;

    const int n = stationCount(s, L);
    m.stripHeight = n * kStationPitch + 50;
    m.scrollMax = m.stripHeight - kViewportHeight;
    m.scrollValue = std::clamp(m.scrollValue, m.scrollMin, scrollTop(m));
    m.title = s.ekiName(L, 0);

    const int labelHeight = tm.height(kStationFontSize);
    const int starWidth = tm.width("★", kStationFontSize);
    for (int i = 1; i <= n; ++i) {
        StationView v;
        v.name = s.ekiName(L, i);
        v.fontSize = charCount(v.name) > 10 ? kStationSmallFontSize : kStationFontSize;
        v.label = {kStationLabelLeft, kStationPitch * i, kStationLabelWidth, labelHeight};
        v.box = {v.label.left, v.label.top - 8, kStationLabelWidth, kBoxHeight};
        v.connector = i < n;
        v.connectorX = v.label.left + v.label.width / 2;
        v.connectorY1 = v.label.top + v.label.height;
        v.connectorY2 = v.connectorY1 + kStationPitch - v.box.height;
        v.star = s.visited[p](L, i);
        v.starRect = {v.label.left - starWidth, v.label.top, starWidth, labelHeight};
        m.stations.push_back(std::move(v));
    }

    // Transfer labels beside each station with links. A label that would not fit in the
    // strip's width starts a new row below the last, so that every label is seen whole
    // and none covers another of its station. A station whose labels need more than the
    // two rows its pitch leaves room for takes a smaller font for them first.
    for (int i = 1; i <= n; ++i) {
        const std::string& linkText = s.ekiLink(L, i);
        if (linkText.empty()) continue;
        const StationView& st = m.station(i);
        const int x0 = st.label.left + st.label.width + 10;
        const std::vector<Link> links = parseLinks(linkText);
        int fontSize = kTransferFontSize;
        while (fontSize > kTransferSmallestFontSize &&
               transferRows(s, tm, links, fontSize, x0, m.stripWidth) > 2)
            --fontSize;
        const int transferHeight = tm.height(fontSize);
        int x = x0, dy = 0;
        for (const Link& link : links) {
            const int k = s.norikaeCount;
            // norikaeList holds 150 labels; a line with more links shows the first 150.
            if (k >= kNorikaeRows) break;
            TransferView t;
            t.caption = s.ekiName(link.line, 0);
            t.fontSize = fontSize;
            const int width = tm.width(t.caption, fontSize);
            if (x > x0 && x + std::max(width, kTransferTemplateWidth) > m.stripWidth) {
                x = x0;
                dy += transferHeight + 5;
            }
            t.line = link.line;
            t.pos = link.pos;
            t.station = i;
            t.rect = {x, st.box.top + dy, width, transferHeight};
            x = t.rect.left + t.rect.width + 10;
            t.directions = directionText(s, link.line, link.pos);
            s.norikaeList(k, 0) = static_cast<Integer>(link.line);
            s.norikaeList(k, 1) = static_cast<Integer>(link.pos);
            s.norikaeList(k, 2) = static_cast<Integer>(i);
            s.norikaeCount = static_cast<Integer>(k + 1);
            m.transfers.push_back(std::move(t));
        }
    }

    for (int i = 1; i <= n; ++i)
        if (!s.ekiMark(L, i).empty()) m.station(i).fill = kColorSpecial;
    paintPendingDestinations(s, m);
    if (validBox(m, s.playerEki[p])) m.station(s.playerEki[p]).fill = kColorCurrent;
    m.visible = true;
}

int scrollValueForStation(const GameState& s, int pos) {
    return scrollValueFor(pos, stationCount(s, s.playerRosen[s.curPlayer]));
}

void スクロール位置決め(const GameState& s, LineDisplayModel& m, int pos) {
    const int v = scrollValueForStation(s, pos);
    m.scrollValue = std::clamp(v, m.scrollMin, scrollTop(m));
}

bool setScrollValue(LineDisplayModel& m, int value) {
    if (value < m.scrollMin || value > scrollTop(m)) return false;
    m.scrollValue = value;
    return true;
}

void scTate_Change(LineDisplayModel& m, int value) {
    setScrollValue(m, value);
}

void vbWheelMinus(LineDisplayModel& m) {
    m.scrollValue = std::min(m.scrollValue + kWheelStep, scrollTop(m));
}

void vbWheelPlus(LineDisplayModel& m) {
    m.scrollValue = std::max(m.scrollValue - kWheelStep, m.scrollMin);
}

void onMouseWheel(LineDisplayModel& m, int delta) {
    if (m.wheelBusy) return;
    m.wheelBusy = true;
    if (delta < 0)
        vbWheelMinus(m);
    else
        vbWheelPlus(m);
    m.wheelBusy = false;
}

void lblEki_MouseMove(const GameState& s, LineDisplayModel& m, int i) {
    const int p = s.curPlayer;
    const int e = s.playerEki[p];
    if (i == e || m.ekiHover || std::abs(e - i) > s.susumuSteps || !validBox(m, i)) return;
    m.ekiHover = true;
    const int L = m.line;
    const int h = m.hoverEki;
    if (validBox(m, h)) {
        Long c = kColorWhite;
        if (!s.ekiMark(L, h).empty()) c = kColorSpecial;
        if (isPendingDestinationHere(s, L, h)) c = kColorDestination;
        m.station(h).fill = c;
    }
    m.hoverEki = i;
    m.station(i).fill = kColorReachable;
}

void picEki_MouseMove(const GameState& s, LineDisplayModel& m) {
    const int L = m.line;
    if (m.ekiHover) {
        m.ekiHover = false;
        const int h = m.hoverEki;
        if (validBox(m, h)) m.station(h).fill = s.ekiMark(L, h).empty() ? kColorWhite : kColorSpecial;
        paintPendingDestinations(s, m);
        const int e = s.playerEki[s.curPlayer];
        if (validBox(m, e)) m.station(e).fill = kColorCurrent;
    }
    if (m.norikaeHover) {
        m.norikaeHover = false;
        m.hintVisible = false;
    }
}

void clearStationHover(LineDisplayModel& m) {
    m.ekiHover = false;
    m.hoverEki = 0;
}

void lblNorikae_MouseMove(LineDisplayModel& m, const TextMetrics& tm, int k) {
    if (k < 1 || k > static_cast<int>(m.transfers.size()) || m.norikaeHover) return;
    m.norikaeHover = true;
    const TransferView& t = m.transfers[static_cast<size_t>(k - 1)];
    m.hintText = t.directions;
    m.hintRect = {t.rect.left, t.rect.top - 20, tm.width(t.directions, kTransferFontSize),
                  tm.height(kTransferFontSize)};
    m.hintVisible = true;
}

void playClockTick(GameState& s) {
    s.playSeconds += 1;
}

std::string lblJikokuText(const GameState& s) {
    return clockText(s.gameClock, s.playSeconds);
}

}  // namespace kisharin

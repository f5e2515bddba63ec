#include "maps/one_map.h"
#include "maps/picker.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>
#include <vector>

#include "maps/kept_map.h"
#include "state/error.h"

namespace kisharin {

namespace {
// How much of the canvas always stays inside the frame when it is dragged, so that the
// map can always be taken hold of again.
constexpr int kKeepInside = 40;
}  // namespace

std::string floatText(float v) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

std::optional<float> textFloat(const std::string& text) {
    std::string_view t = text;
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    if (t.empty()) return std::nullopt;
    float v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return v;
}

bool OneMap::Form_Activate() {
    if (!mapPick().prefPicked) return false;
    cursor_ = 1;
    初期化();
    データ読込();
    描画();
    mapPick().prefPicked = False;
    return true;
}

void OneMap::初期化() {
    picture_ = MapPicture{};
    shown_ = false;
    canvas_ = CanvasRect{0, 0, kFrame, kFrame};
    zoom_ = 0;
    zoomPrev_ = 0;
    zoomHistory_.clear();
    zoomDepth_ = 0;
    zoomBackEnabled_ = false;
    view_ = MapView{};
    whole_ = MapView{};
    savedView_ = MapView{};
    txtX1_.clear();
    txtY1_.clear();
    txtX2_.clear();
    txtY2_.clear();
    cornersMarked_ = false;
    zoomed_ = false;
    dragging_ = false;
    data_ = std::make_shared<const MapData>();
    mes_.clear();
    loadError_.clear();
}

void OneMap::データ読込() {
    try {
        data_ = readKeptMap(s_.mapDataDir, mapPick().pickedPref);
    } catch (const GameError& e) {
        data_ = std::make_shared<const MapData>();
        loadError_ = e.what();
        mes_ = mapPick().pickedPref + "の地図データを読み込めませんでした。";
        return;
    }
    座標設定();
}

void OneMap::座標設定() {
    whole_ = firstView(*data_);
    view_ = whole_;
}

void OneMap::描画() {
    if (!view_.empty()) {
        if (busy) busy(true);
        picture_ = kisharin::描画(*data_, view_, canvas_.width, canvas_.height, s_, m_);
        shown_ = true;
        ++drawCount_;
        if (busy) busy(false);
    } else if (zoomed_) {
        // An empty zoom (both corners on one point) is taken back.
        view_ = savedView_;
        if (zoomDepth_ == 2) zoomBackEnabled_ = false;
        if (zoomDepth_ > 0) --zoomDepth_;
        zoomHistory_.resize(static_cast<size_t>(zoomDepth_));
    }
}

std::pair<float, float> OneMap::labelPoint(int i, int px, int py) const {
    const MapLabel& l = picture_.labels.at(static_cast<size_t>(i - 1));
    const CanvasScale c = scale();
    return {static_cast<float>(c.lonAt(l.x + px)), static_cast<float>(c.latAt(l.y + py))};
}

void OneMap::picMain_MouseDown(MouseButton b, float x, float y) {
    if (!shown_) return;
    if (b == MouseButton::Right) {
        txtX2_ = floatText(x);
        txtY2_ = floatText(y);
        cornersMarked_ = true;
        return;
    }
    txtX1_ = floatText(x);
    txtY1_ = floatText(y);
    cursor_ = 2;
    dragStartX_ = x;
    dragStartY_ = y;
    dragging_ = true;
}

void OneMap::lblEki_MouseDown(int i, MouseButton b, int px, int py) {
    if (!shown_) return;
    const auto [x, y] = labelPoint(i, px, py);
    picMain_MouseDown(b, x, y);
}

void OneMap::moveCanvas(int left, int top) {
    canvas_.left = std::clamp(left, kKeepInside - canvas_.width, kFrame - kKeepInside);
    canvas_.top = std::clamp(top, kKeepInside - canvas_.height, kFrame - kKeepInside);
}

void OneMap::centreCanvas() {
    // Where the zoom bar puts it: the middle of the view in the middle of the frame, also
    // after the map was dragged aside.
    moveCanvas((kFrame - canvas_.width) / 2, (kFrame - canvas_.height) / 2);
}

void OneMap::picMain_DragDrop(float x, float y) {
    if (!shown_) return;
    cursor_ = 1;
    if (!dragging_) return;
    dragging_ = false;
    const CanvasScale c = scale();
    const long dx = roundEven(c.pixelX(x) - c.pixelX(dragStartX_));
    const long dy = roundEven(c.pixelY(y) - c.pixelY(dragStartY_));
    moveCanvas(canvas_.left + static_cast<int>(dx), canvas_.top + static_cast<int>(dy));
}

void OneMap::lblEki_DragDrop(int i, int px, int py) {
    if (!shown_) return;
    const auto [x, y] = labelPoint(i, px, py);
    picMain_DragDrop(x, y);
}

void OneMap::picFloor_DragDrop(int x, int y) {
    if (!shown_) return;
    cursor_ = 1;
    if (!dragging_) return;
    dragging_ = false;
    const CanvasScale c = scale();
    const long offX = roundEven(c.pixelX(dragStartX_));
    const long offY = roundEven(c.pixelY(dragStartY_));
    dragStartX_ = static_cast<float>(offX);
    dragStartY_ = static_cast<float>(offY);
    moveCanvas(x - static_cast<int>(offX), y - static_cast<int>(offY));
}

void OneMap::ズーム処理共通() {
    view_ = squareView(view_);
    zoomed_ = true;
    描画();
}

void OneMap::pushZoom(const MapView& v) {
    ++zoomDepth_;
    zoomHistory_.resize(static_cast<size_t>(zoomDepth_ - 1));
    zoomHistory_.push_back(v);
    if (zoomDepth_ > 1) zoomBackEnabled_ = true;
}

void OneMap::cmdZoom_Click() {
    savedView_ = view_;
    const auto x1 = textFloat(txtX1_), y1 = textFloat(txtY1_), x2 = textFloat(txtX2_), y2 = textFloat(txtY2_);
    if (!x1 || !y1 || !x2 || !y2) {
        view_ = savedView_;
        return;
    }
    // The corners as the marked box shows them, whichever was picked where: west to east,
    // north to south (used as they came, a box picked from its lower right corner would
    // turn the map over).
    view_ = MapView{std::min(*x1, *x2), std::max(*x1, *x2), std::max(*y1, *y2), std::min(*y1, *y2)};
    cornersMarked_ = false;
    zoomBarEnabled_ = false;
    // The step keeps the view it shows (the corners made square, as ズーム処理共通 makes them).
    pushZoom(squareView(view_));
    const int depth = zoomDepth_;
    ズーム処理共通();
    // An empty box was taken back and leaves the map where it was.
    if (zoomDepth_ == depth) centreCanvas();
    zoomBarEnabled_ = true;
}

void OneMap::cmdZoomBack_Click() {
    if (!zoomBackEnabled_ || zoomDepth_ < 2) return;
    zoomBarEnabled_ = false;
    if (zoomDepth_ == 2) zoomBackEnabled_ = false;
    --zoomDepth_;
    zoomHistory_.resize(static_cast<size_t>(zoomDepth_));
    // The view that step showed, a step of the wheel as one of "変更".
    view_ = zoomHistory_.back();
    centreCanvas();
    zoomed_ = true;
    描画();
    zoomBarEnabled_ = true;
}

void OneMap::wheelZoom(int notches, int x, int y) {
    if (!shown_ || notches == 0) return;
    const CanvasScale c = scale();
    const double lon = c.lonAt(x - canvas_.left), lat = c.latAt(y - canvas_.top);
    const double f = notches > 0 ? kWheelStep : 1 / kWheelStep;
    const double wholeHeight = static_cast<double>(whole_.top) - whole_.bottom;
    MapView v = view_;
    int steps = 0;
    for (int k = 0; k < std::abs(notches); ++k) {
        MapView next{
            static_cast<float>(lon - (lon - v.left) * f), static_cast<float>(lon + (v.right - lon) * f),
            static_cast<float>(lat + (v.top - lat) * f), static_cast<float>(lat - (lat - v.bottom) * f)};
        const double height = static_cast<double>(next.top) - next.bottom;
        if (notches > 0 && height * 111.12 < kWheelMinKm) break;
        // Out as far as the whole prefecture, and there it is shown as it was first (as
        // many notches out as in come back to it, whatever the floats rounded on the way).
        if (notches < 0 && height >= wholeHeight * 0.999) next = whole_;
        if (next == v) break;
        pushZoom(next);
        v = next;
        ++steps;
    }
    if (steps == 0) return;
    zoomBarEnabled_ = false;
    savedView_ = view_;
    view_ = v;
    zoomed_ = true;
    描画();
    zoomBarEnabled_ = true;
}

void OneMap::cmdInit_Click() {
    if (!loadError_.empty() || !shown_) return;
    zoomBarEnabled_ = false;
    zoomHistory_.clear();
    zoomBackEnabled_ = false;
    zoomDepth_ = 0;
    zoomed_ = false;
    centreCanvas();
    座標設定();
    描画();
    zoomBarEnabled_ = true;
}

void OneMap::scrZoom_Change(int value) {
    value = std::clamp(value, 0, kZoomMax);
    zoom_ = value;
    if (!shown_) return;
    zoomBarEnabled_ = false;
    const int d = value - zoomPrev_;
    canvas_.left -= kZoomStep / 2 * d;
    canvas_.top -= kZoomStep / 2 * d;
    canvas_.width += kZoomStep * d;
    canvas_.height += kZoomStep * d;
    zoomPrev_ = value;
    if (value == 0) {
        canvas_.left = 0;
        canvas_.top = 0;
    }
    // A smaller canvas around the same centre can lie wholly beside the frame when the
    // map was dragged to its edge: it keeps the dragging's 40 pixels inside too.
    moveCanvas(canvas_.left, canvas_.top);
    描画();
    zoomBarEnabled_ = true;
}

}  // namespace kisharin

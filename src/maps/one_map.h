// The detailed railway map "路線図" of one prefecture, as the window's rules: loading,
// the view, panning the canvas inside its 600 x 600 frame, zooming into two picked
// corners or with the mouse wheel, stepping back, returning to the whole prefecture and
// the zoom bar. The window forwards its events here and paints `picture` on a canvas at
// `canvas`.
//
// Two kinds of zoom: the view (the part of the prefecture drawn on the canvas) is what
// "変更" and the wheel change, each a step of the zoom history that "１つ前" takes back and
// "初期値" clears; the zoom bar only enlarges the canvas the view is drawn on.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "board/text_metrics.h"
#include "maps/map_data.h"
#include "maps/map_view.h"
#include "state/game_state.h"

namespace kisharin {

struct CanvasRect {
    int left = 0, top = 0, width = 600, height = 600;
    friend bool operator==(const CanvasRect&, const CanvasRect&) = default;
};

enum class MouseButton { Left, Right, Middle };

class OneMap {
  public:
    static constexpr int kFrame = 600;     // picFloor, pixels
    static constexpr int kZoomStep = 200;  // canvas growth per step of the zoom bar
    static constexpr int kZoomMax = 10;
    // A notch of the wheel towards enlarging shows this share of the view's width and
    // height (the first step of the zoom bar enlarges as much); a notch back the inverse.
    static constexpr double kWheelStep = 0.75;
    // The wheel enlarges no further than a view this many kilometres high.
    static constexpr double kWheelMinKm = 1.0;

    OneMap(GameState& s, const TextMetrics& m) : s_(s), m_(m) {}

    // Called with true before a drawing starts and false when it is done, so that the
    // window can show "描画中" while it works.
    std::function<void(bool)> busy;

    // --- Opening ---------------------------------------------------------------------
    // When a prefecture was just picked: clears, loads pickedPref and draws it. Returns
    // true when it did (the board's "路線図" is then to be disabled). A fault in the data
    // leaves an empty map and its message in loadError.
    bool Form_Activate();

    void 初期化();
    // Loads pref from s.mapDataDir and sets the first view; on a fault the tables stay empty.
    void データ読込();
    void 座標設定();
    void 描画();

    // --- The mouse (only while a map is shown) -----------------------------------------
    // A press at canvas point (lon x, lat y): the right button sets corner 2, another
    // button sets corner 1 and takes hold of the map for panning.
    void picMain_MouseDown(MouseButton b, float x, float y);
    // A press at pixel (px, py) inside label i (1-based): a press on the map under it.
    void lblEki_MouseDown(int i, MouseButton b, int px, int py);
    // The map dropped at canvas point (x, y), measured on the canvas where it was pressed.
    void picMain_DragDrop(float x, float y);
    void lblEki_DragDrop(int i, int px, int py);
    // The map dropped at frame pixel (x, y), outside the canvas.
    void picFloor_DragDrop(int x, int y);

    // --- Buttons and the zoom bar -------------------------------------------------------
    void cmdZoom_Click();      // "変更"
    void cmdZoomBack_Click();  // "１つ前"
    void cmdInit_Click();      // "初期値"
    void scrZoom_Change(int value);
    // The mouse wheel turned by `notches` (positive towards enlarging) with the pointer at
    // frame pixel (x, y): each notch is a zoom step of the view around the map point under
    // the pointer, which stays under it, kept in the zoom history as a "変更" is. Never out
    // beyond the whole prefecture (the first view), never in below kWheelMinKm.
    void wheelZoom(int notches, int x, int y);

    // --- What the window shows -----------------------------------------------------------
    bool mapShown() const { return shown_; }
    const MapPicture& picture() const { return picture_; }
    const MapData& data() const { return *data_; }
    const MapView& view() const { return view_; }
    // The first view of the prefecture, the whole of it ("初期値" returns to it).
    const MapView& wholeView() const { return whole_; }
    void setView(const MapView& v) { view_ = v; }
    const CanvasRect& canvas() const { return canvas_; }
    CanvasScale scale() const { return {view_, canvas_.width, canvas_.height}; }
    int zoomValue() const { return zoom_; }
    int zoomDepth() const { return zoomDepth_; }
    bool zoomBackEnabled() const { return zoomBackEnabled_; }
    bool zoomBarEnabled() const { return zoomBarEnabled_; }
    bool zoomed() const { return zoomed_; }
    bool dragging() const { return dragging_; }
    int cursor() const { return cursor_; }  // 1: pointing hand, 2: holding hand
    const std::string& lblMes() const { return picture_.lblMes.empty() ? mes_ : picture_.lblMes; }
    const std::string& loadError() const { return loadError_; }
    const std::string& txtX1() const { return txtX1_; }
    const std::string& txtY1() const { return txtY1_; }
    const std::string& txtX2() const { return txtX2_; }
    const std::string& txtY2() const { return txtY2_; }
    // Whether the picked corners are to be marked on the map: from a pick of corner 2 until
    // "変更" zooms into them (the fields keep them, but the map then shows that very area).
    bool cornersMarked() const { return cornersMarked_; }
    int drawCount() const { return drawCount_; }

    // The canvas point of a pixel inside label i (1-based).
    std::pair<float, float> labelPoint(int i, int px, int py) const;

  private:
    void moveCanvas(int left, int top);
    // "変更", "１つ前" and "初期値" show their view in the frame: the canvas back in its place.
    void centreCanvas();
    void ズーム処理共通();
    // One more step of the zoom history, the view `v` shown by it.
    void pushZoom(const MapView& v);

    GameState& s_;
    const TextMetrics& m_;
    std::shared_ptr<const MapData> data_ = std::make_shared<const MapData>();  // shared with the kept map
    MapView view_;
    MapView whole_;
    MapView savedView_;
    MapPicture picture_;
    CanvasRect canvas_;
    bool shown_ = false;
    bool zoomed_ = false;
    int zoom_ = 0;
    int zoomPrev_ = 0;
    int zoomDepth_ = 0;
    std::vector<MapView> zoomHistory_;  // the view each step showed, 1..zoomDepth
    bool zoomBackEnabled_ = false;
    bool zoomBarEnabled_ = true;
    int cursor_ = 1;
    bool dragging_ = false;
    float dragStartX_ = 0, dragStartY_ = 0;
    std::string txtX1_, txtY1_, txtX2_, txtY2_;
    bool cornersMarked_ = false;
    std::string mes_;
    std::string loadError_;
    int drawCount_ = 0;
};

// A 32-bit float as the corner fields keep it, and back; nullopt for text that is empty
// or not a number.
std::string floatText(float v);
std::optional<float> textFloat(const std::string& t);

}  // namespace kisharin

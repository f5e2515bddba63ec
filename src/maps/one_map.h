// The detailed railway map "路線図" of one prefecture, as the window's rules: loading,
// the view, panning the canvas inside its 600 x 600 frame, zooming into two picked
// corners, stepping back, returning to the whole prefecture and the zoom bar. The window
// forwards its events here and paints `picture` on a canvas at `canvas`.
#pragma once

#include <array>
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
    // The mouse wheel: the zoom bar set to value (kept within its range), with the map
    // point under the pointer at frame pixel (x, y) kept under it.
    void zoomAround(int value, int x, int y);

    // --- What the window shows -----------------------------------------------------------
    bool mapShown() const { return shown_; }
    const MapPicture& picture() const { return picture_; }
    const MapData& data() const { return *data_; }
    const MapView& view() const { return view_; }
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
    void ズーム処理共通();

    GameState& s_;
    const TextMetrics& m_;
    std::shared_ptr<const MapData> data_ = std::make_shared<const MapData>();  // shared with the kept map
    MapView view_;
    MapView savedView_;
    MapPicture picture_;
    CanvasRect canvas_;
    bool shown_ = false;
    bool zoomed_ = false;
    int zoom_ = 0;
    int zoomPrev_ = 0;
    int zoomDepth_ = 0;
    std::vector<std::array<float, 4>> zoomHistory_;
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

// The detailed railway map "路線図" of one prefecture (675 x 661): the map on a canvas
// inside a 600 x 600 frame, dragged with the mouse, zoomed into two picked corners or
// enlarged with the zoom bar. It paints the rules' OneMap model and forwards its events.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "maps/one_map.h"
#include "screens/look.h"
#include "screens/mapSheet.h"

class QLabel;
class QPushButton;
class QScrollBar;

namespace kisharin {

// The two cursors of the map: 1 a pointing hand with a blue cuff, 2 an open hand.
QCursor mapCursor(int kind);

class MapCanvas;

class FrmOneMap : public QWidget {
    Q_OBJECT
  public:
    // boardButton is the board's "路線図": disabled while a map is open.
    FrmOneMap(GameState& s, QPushButton* boardButton, QWidget* parent = nullptr);
    ~FrmOneMap() override;

    // The one detailed map: shows it (creating it when needed) for the prefecture just
    // picked (mapPick().pickedPref with mapPick().prefPicked set).
    static FrmOneMap* showPicked(GameState& s, QPushButton* boardButton);
    static FrmOneMap* instance();

    // Runs the activation handler (a no-op unless a prefecture was just picked).
    void Form_Activate();

    OneMap& model() { return map_; }
    MapCanvas* canvas() const { return picMain_; }
    QWidget* floor() const { return picFloor_; }
    QScrollBar* zoomBar() const { return scrZoom_; }
    QPushButton* zoomButton() const { return cmdZoom_; }
    QPushButton* zoomBackButton() const { return cmdZoomBack_; }
    QPushButton* initButton() const { return cmdInit_; }
    QLabel* message() const { return lblMes_; }
    // Brings the controls and the canvas in line with the model.
    void sync();
    // How long the player waited for the last drawing, from its start to its painting.
    qint64 lastDrawing() const { return lastDrawing_; }
    // A wait from which on the next drawing puts up "描画中" at once, milliseconds.
    static constexpr qint64 kSlowDrawing = 100;

  protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;

  private:
    friend class MapCanvas;
    template <typename F>
    void run(F&& handler);

    GameState& s_;
    KeptTextMetrics metrics_;
    OneMap map_;
    QPointer<QPushButton> boardButton_;
    QWidget* picFloor_;
    MapCanvas* picMain_;
    QPushButton* cmdZoom_;
    QPushButton* cmdZoomBack_;
    QPushButton* cmdInit_;
    QScrollBar* scrZoom_;
    QLabel* lblMes_;
    QLabel* txtIng_;
    bool syncing_ = false;
    QElapsedTimer drawing_;  // runs from a drawing's start to its first painting
    qint64 lastDrawing_ = 0;
    void drawingPainted();
};

// The canvas picMain: the map picture of the last drawing, painted where the frame shows
// it, the labels' hints, presses and drags.
class MapCanvas : public QWidget {
    Q_OBJECT
  public:
    MapCanvas(FrmOneMap* form, QWidget* parent);
    // Repaints (the model may have drawn anew).
    void refresh();
    // The model's picture ready for painting, or nullptr while no map is shown.
    const MapSheet* sheet();

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool event(QEvent* e) override;

  private:
    FrmOneMap* form_;
    MapSheet sheet_;
    int drawn_ = -1;  // the model's drawing the sheet holds
    bool held_ = false;
    int wheelRest_ = 0;   // eighths of a degree turned short of a notch
    QPoint pressFloor_;   // where the map was pressed, in frame pixels
    QPoint canvasStart_;  // the canvas's corner at that moment
};

}  // namespace kisharin

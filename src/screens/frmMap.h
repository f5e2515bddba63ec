// The prefecture picker "路線図": the map of Japan (510 x 521) drawn from the prefecture
// boundaries, each region in its own colour, with the 47 names over it. In viewing mode
// a click opens the detailed map; in move mode (the guardian god) it only records the
// prefecture, and closing the window with × means not moving.
#pragma once

#include <QDialog>
#include <QPainterPath>
#include <QPointer>
#include <functional>
#include <vector>

#include "maps/picker.h"
#include "state/game_state.h"

class QKeyEvent;
class QLabel;
class QPushButton;

namespace kisharin {

// The outline of each prefecture on the picker's map as a path, built once.
struct JapanPath {
    int code = 0;
    int region = 0;
    QPainterPath path;
};
const std::vector<JapanPath>& japanPaths(const std::string& mapDataDir);

// Paints the map of Japan of the picker: each prefecture in its region's colour, or in
// the colour `fill` gives it.
void paintJapan(QPainter& p, const std::string& mapDataDir, const std::function<QColor(int code)>& fill = {});

class FrmMap : public QDialog {
    Q_OBJECT
  public:
    // tag "God" is move mode; boardButton is the board's "路線図" (viewing mode).
    FrmMap(GameState& s, const QString& tag, QPushButton* boardButton, QWidget* parent);

    // Viewing mode: shows the one picker without waiting.
    static FrmMap* showViewing(GameState& s, QPushButton* boardButton, QWidget* parent);
    // Move mode: closes a picker that is open, then asks modally; the prefecture picked,
    // or the empty text when the player closed the picker.
    static std::string pickForMove(GameState& s, QWidget* parent);
    static FrmMap* viewing();

    void lblPref_Click(int code);
    // The pointer came onto a prefecture's name.
    void lblPref_Hover(int code);
    QLabel* prefLabel(int code) const { return lblPref_[code]; }
    QLabel* message() const { return lblMessage_; }
    // The prefecture the keys stand on, marked once a key was pressed (0 before).
    int keyPref() const { return keysUsed_ ? keyPref_ : 0; }

  protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;  // Esc
    void showEvent(QShowEvent* e) override;
    // The arrows and Tab move between the names, Enter or Space picks, Escape closes as ×.
    void keyPressEvent(QKeyEvent* e) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void moveKey(PickerKey k);

    GameState& s_;
    QPointer<QPushButton> boardButton_;
    QLabel* lblPref_[48] = {};
    QLabel* lblMessage_;
    bool closingByPick_ = false;
    int keyPref_ = 13;
    bool keysUsed_ = false;  // the name the keys stand on is marked from the first key on
};

}  // namespace kisharin

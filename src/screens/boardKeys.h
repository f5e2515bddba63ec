// The board's keys: one key for each of its main buttons and for the train kinds, so
// that a turn can be played from the keyboard. Each key presses its button (a disabled
// button, as in the computer's turn, ignores it) and is named in the button's hint.
#pragma once

#include <QKeySequence>
#include <QString>
#include <vector>

class QWidget;

namespace kisharin {
class StripView;
}

namespace kisharin {

struct BoardKey {
    const char* button;   // the object name of the board's button
    const char* caption;  // what the button does, for its hint
    QKeySequence key;
};

// 進む S, 各停 1, 急行 2, 特急 3, 新幹線 4, 飛行機 5, アルバイト A, 路線図 M, 目的地確認 D,
// 最短目的地 C, ポイント確認 P, メッセージ記録 L.
const std::vector<BoardKey>& boardKeys();

// Sets the keys up on the board (its buttons are found by their names), and F1, which
// opens the manual.
void addBoardShortcuts(QWidget* board);

// ↓ and ↑ anywhere on the board move the strip's focus frame over what can be picked.
void addStripKeys(QWidget* board, StripView* strip);

}  // namespace kisharin

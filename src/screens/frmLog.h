// The message log 「メッセージ記録」: every message of the game so far, newest first, each
// with its turn and player, on the player's message colour. A window beside the board
// that follows the game while it is open (the board calls follow on every redraw).
#pragma once

#include <QDialog>
#include <QPointer>
#include <array>
#include <string>

#include "turns/message_log.h"

class QListWidget;

namespace kisharin {

class FrmLog : public QDialog {
    Q_OBJECT
  public:
    FrmLog(const MessageLog& log, QWidget* parent);
    // The board's 「メッセージ」: opens the log beside `board` (once; `open` keeps it) and
    // brings it up to date.
    static void showBeside(QPointer<FrmLog>& open, const MessageLog& log,
                           const std::array<std::string, 2>& names, QWidget* board);
    // Lists what was added since the last call (names: the players' names as the board
    // shows them).
    void follow(const std::array<std::string, 2>& names);
    QListWidget* list() const { return list_; }
    QSize sizeHint() const override { return {560, 420}; }

  private:
    const MessageLog& log_;
    QListWidget* list_;
    long shown_ = -1;
};

}  // namespace kisharin

#include "screens/boardKeys.h"

#include <QAbstractButton>
#include <QShortcut>
#include <QWidget>
#include <utility>

#include "screens/stripView.h"

#include "screens/browser.h"

namespace kisharin {

const std::vector<BoardKey>& boardKeys() {
    static const std::vector<BoardKey> keys{
        {"cmdSusumu", "進む", QKeySequence(Qt::Key_S)},
        {"optKind(1)", "各停", QKeySequence(Qt::Key_1)},
        {"optKind(2)", "急行", QKeySequence(Qt::Key_2)},
        {"optKind(3)", "特急", QKeySequence(Qt::Key_3)},
        {"optKind(4)", "新幹線", QKeySequence(Qt::Key_4)},
        {"optKind(5)", "飛行機", QKeySequence(Qt::Key_5)},
        {"cmdWork", "アルバイト", QKeySequence(Qt::Key_A)},
        {"cmdMap2", "路線図", QKeySequence(Qt::Key_M)},
        {"cmdMokutekiti", "目的地確認", QKeySequence(Qt::Key_D)},
        {"cmdCourse", "最短目的地", QKeySequence(Qt::Key_C)},
        {"cmdPoint", "ポイント確認", QKeySequence(Qt::Key_P)},
        {"cmdLog", "メッセージ記録", QKeySequence(Qt::Key_L)},
    };
    return keys;
}

void addBoardShortcuts(QWidget* board) {
    for (const BoardKey& k : boardKeys()) {
        auto* button = board->findChild<QAbstractButton*>(QString::fromLatin1(k.button));
        if (!button) continue;
        auto* shortcut = new QShortcut(k.key, board);
        shortcut->setObjectName(QStringLiteral("key_") + QString::fromLatin1(k.button));
        // Only what the mouse could do: a hidden or disabled button stays unpressed.
        QObject::connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isVisible() && button->isEnabled()) button->click();
        });
        button->setToolTip(QString::fromUtf8(k.caption) + QStringLiteral("（キー：") +
                           k.key.toString(QKeySequence::NativeText) + QStringLiteral("）"));
    }
    // F1: how to play, in the browser (also in the computer's turn: it changes nothing).
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), board);
    help->setObjectName(QStringLiteral("key_manual"));
    QObject::connect(help, &QShortcut::activated, board, [board] { openManual(board); });
}

void addStripKeys(QWidget* board, StripView* strip) {
    for (const auto& [key, step] : {std::pair{Qt::Key_Down, 1}, std::pair{Qt::Key_Up, -1}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), board);
        shortcut->setObjectName(step > 0 ? QStringLiteral("key_down") : QStringLiteral("key_up"));
        QObject::connect(shortcut, &QShortcut::activated, strip, [strip, step = step] {
            if (strip->isEnabled() && strip->isVisible()) strip->stepFocus(step);
        });
    }
}

}  // namespace kisharin

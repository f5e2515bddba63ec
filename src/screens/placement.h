// Windows that open other windows as soon as they appear.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace kisharin {

// Runs fn once the top-level window of w is on the screen where the window manager put
// it, from the event loop. A box opened from fn is then centred over that window, not
// over the place the window had before the window manager moved it. Runs nothing if w
// is destroyed first.
void whenShownOnScreen(QWidget* w, std::function<void()> fn);

// A warning box over w once w is on the screen (whenShownOnScreen): `text`, then one line
// each of `lines`. It belongs to w and runs no loop of its own, so closing w closes it;
// `modality` says whether w stays usable beside it.
void warnOnScreen(QWidget* w, const QString& title, const QString& text,
                  const std::vector<std::string>& lines, const QString& objectName,
                  Qt::WindowModality modality);

// Where a window of the given size stands centred over the rectangle `over`, moved in
// as far as it takes to lie within `screen` (its top-left corner first, when it is larger).
QPoint placedOver(QSize size, const QRect& over, const QRect& screen);

// Moves a window that is about to be shown so that it stands centred over `over` (a window
// it belongs with) within the available part of that window's screen.
void placeOver(QWidget* window, const QWidget* over);

// Tells the window manager that `window`, a window of its own (no parent widget, so that
// disabling the owner leaves it usable), belongs to the window of `owner`: it then stays
// above that window when the player clicks it.
void keepAbove(QWidget* window, const QWidget* owner);

}  // namespace kisharin

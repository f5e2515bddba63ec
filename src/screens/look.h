// The look shared by the windows: the Japanese fonts, colours from the game's Long form,
// and text sizes measured from the fonts for the rules.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "board/text_metrics.h"
#include "state/game_state.h"
#include "state/types.h"

class QWidget;

namespace kisharin {

// The board's text font (IPA P Gothic, the metric twin of MS P Gothic) at a point size,
// given in pixels at 96 dpi so that the strip looks the same on every screen.
QFont uiFont(int pointSize, bool bold = false);
// A bold, rounded face for titles (M PLUS 1), falling back to the text font.
QFont titleFont(int pointSize);

QColor qcolor(Long c);
QString qs(const std::string& utf8);
std::string us(const QString& text);

// Sets a widget's background colour.
void setBack(QWidget* w, Long c);
// Sets a widget's text colour.
void setFore(QWidget* w, Long c);

// From now on every label the program shows, message boxes' included, shows its text as
// written: a name such as "<b>" is never taken for markup. Installed once per program.
void showTextsAsWritten();

// Text sizes answered from uiFont.
class QtTextMetrics final : public TextMetrics {
  public:
    int width(const std::string& text, int pointSize) const override;
    int height(int pointSize) const override;
};

}  // namespace kisharin

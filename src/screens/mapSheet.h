// How the detailed railway map is painted: a drawing made ready for painting any part of it
// at the screen's resolution, the label sizes kept for the whole program, and a prefecture's
// first view read and painted ahead while the player's pointer rests on its name.
#pragma once

#include <QImage>
#include <QPen>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

#include "maps/map_data.h"
#include "maps/map_view.h"
#include "screens/look.h"

class QPainter;

namespace kisharin {

// Paints a drawing of the detailed map (lines, then the visible labels back to front).
void paintMapPicture(QPainter& p, const MapPicture& pic);

// A drawing of the detailed map made ready for painting a part of it: each line with its
// pen, its points and the box the pen can reach, the visible labels back to front with
// their captions. Painting an area gives the pixels paintMapPicture gives there, from
// only the lines and labels that come near it.
class MapSheet {
  public:
    void build(const MapPicture& pic);  // the picture must outlive the sheet's use
    // Paints the area on white.
    void paint(QPainter& p, const QRect& area) const;
    // The lines of the whole picture on white, at a screen's resolution, painted on the
    // calling thread.
    QImage linesImage(qreal ratio) const;
    // Takes the lines painted already (linesImage of the same picture); the areas painted
    // then only write the labels over them.
    void useLines(const QImage& lines) { linesImage_ = lines; }
    bool linesPaintedAhead() const { return !linesImage_.isNull(); }

  private:
    void paintLines(QPainter& p, const QRect& area) const;
    void paintLabels(QPainter& p, const QRect& area) const;

    struct Line {
        QPen pen;
        std::vector<QPoint> points;
        QRect reach;
    };
    struct Label {
        const MapLabel* label;
        QRect reach;
        QString caption;
    };
    std::vector<Line> lines_;
    std::vector<Label> labels_;
    int width_ = 0, height_ = 0;
    QImage linesImage_;
};

// Reads a prefecture's map data, measures its station names and paints the lines of its
// first view (at the screen's resolution `ratio`) on a thread of the pool while the
// player's pointer rests on its name in the picker, so that a click opens the map at once.
void readMapAhead(const std::string& mapDataDir, const std::string& pref, qreal ratio);
// The lines of the first view of `data` painted ahead (the whole first canvas, as large as
// the map's frame), or a null image when `view` is not that view or none were painted.
QImage linesPaintedAhead(const MapData& data, const MapView& view);

// The fonts' sizes of the labels, each caption measured once: every drawing measures all
// the labels again, and a step of the zoom draws anew.
class KeptTextMetrics final : public TextMetrics {
  public:
    int width(const std::string& text, int pointSize) const override;
    int height(int pointSize) const override;
    // Measures the names at a font size and keeps their widths; safe on any thread.
    static void measure(const std::vector<std::string>& texts, int pointSize);

  private:
    QtTextMetrics fonts_;
};

}  // namespace kisharin

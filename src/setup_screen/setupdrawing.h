#pragma once

#include "grid/transform.h"

#include <QColor>

#include <functional>
#include <vector>

class QPainter;

// The set-up screen's drawing surface above the frame: everything drawn on
// it (buoy marks, the overlay, calibration lines) stays until the surface is
// cleared, and is painted again in the order it was drawn whenever the frame
// repaints. Each item remembers what it is and where, so the screen's state
// can be read back without looking at pixels.
class SetupDrawing {
public:
    enum class Kind {
        OldPosition,   // magenta circle and cross where a buoy was
        NewPosition,   // white cross where a buoy now is
        Overlay,       // Show_grid: the five buoy markers
        CheckBuoyHint, // where a check buoy that failed should be
        HandOver,      // white cross of a marker handed to the measurement screen
        Line,          // a straight line (calibration line, skier path line)
    };

    struct Item {
        Kind kind;
        ScreenPoint at;        // twips; a line's first end point
        ScreenPoint to;        // a line's second end point
        QColor color;          // a line's colour
        std::function<void(QPainter&)> paint; // on a painter in twips
    };

    // A straight line in a colour, 2 pixels wide at any zoom.
    static Item LineItem(ScreenPoint from, ScreenPoint to, const QColor& color);

    void add(Item item);
    void clear();
    // Paints every item in drawing order on a painter in twips.
    void paint(QPainter& painter) const;

    const std::vector<Item>& items() const { return m_items; }
    // The items of one kind, in drawing order.
    std::vector<Item> itemsOf(Kind kind) const;

private:
    std::vector<Item> m_items;
};

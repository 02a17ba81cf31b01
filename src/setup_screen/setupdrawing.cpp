#include "setup_screen/setupdrawing.h"

#include "grid/overlay.h"

#include <QPainter>

SetupDrawing::Item SetupDrawing::LineItem(ScreenPoint from, ScreenPoint to, const QColor& color)
{
    const QLineF line(from.x, from.y, to.x, to.y);
    return {Kind::Line, from, to, color, [line, color](QPainter& painter) {
                painter.save();
                painter.setPen(OverlayPen(color));
                painter.drawLine(line);
                painter.restore();
            }};
}

void SetupDrawing::add(Item item)
{
    m_items.push_back(std::move(item));
}

void SetupDrawing::clear()
{
    m_items.clear();
}

void SetupDrawing::paint(QPainter& painter) const
{
    for (const Item& item : m_items) {
        if (item.paint)
            item.paint(painter);
    }
}

std::vector<SetupDrawing::Item> SetupDrawing::itemsOf(Kind kind) const
{
    std::vector<Item> found;
    for (const Item& item : m_items) {
        if (item.kind == kind)
            found.push_back(item);
    }
    return found;
}

#include "measure/labeldrag.h"

#include <QMouseEvent>
#include <QWidget>

LabelDragGroup::LabelDragGroup(const QList<QWidget*>& handles, const QList<QWidget*>& members, QObject* parent)
    : QObject(parent)
    , m_handles(handles)
    , m_members(members)
{
    for (QWidget* handle : m_handles)
        handle->installEventFilter(this);
}

bool LabelDragGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_handles.contains(watched))
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_dragging = true;
        m_pressInLabel = static_cast<QMouseEvent*>(event)->position().toPoint();
        return true;
    case QEvent::MouseMove:
        if (m_dragging) {
            // The label follows the pointer, so the press point stays under
            // it and each move's offset is measured from that same point.
            const QPoint offset = static_cast<QMouseEvent*>(event)->position().toPoint() - m_pressInLabel;
            for (QWidget* member : m_members)
                member->move(member->pos() + offset);
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return true;
    default:
        return false;
    }
}

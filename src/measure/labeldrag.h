#pragma once

#include <QList>
#include <QObject>
#include <QPoint>

class QWidget;

// A label the operator can drag, with the controls that belong to it, out of
// the way of the picture. Pressing on any of the handles starts the drag and
// remembers where in the label the press was; every move while dragging
// shifts the whole group by the pointer's offset from that point; releasing
// ends it.
class LabelDragGroup final : public QObject {
public:
    // handles: the labels that start a drag; members: every control moved
    // (the handles included).
    LabelDragGroup(const QList<QWidget*>& handles, const QList<QWidget*>& members, QObject* parent);

    bool isDragging() const { return m_dragging; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QWidget*> m_handles;
    QList<QWidget*> m_members;
    bool m_dragging = false;
    QPoint m_pressInLabel;
};

#pragma once

#include <QKeyEvent>
#include <QSet>

// The keys the operator holds down, as a screen's 100 ms polling timer reads
// them: a key counts while it is down, and a key pressed and released between
// two polls still counts once, so a quick tap is never lost. Auto-repeated
// releases do not end a hold.
class HeldKeys {
public:
    void track(const QKeyEvent& event)
    {
        if (event.type() == QEvent::KeyPress) {
            m_down.insert(event.key());
            m_pressedSincePoll.insert(event.key());
        } else if (event.type() == QEvent::KeyRelease && !event.isAutoRepeat()) {
            m_down.remove(event.key());
        }
    }

    bool counts(int key) const { return m_down.contains(key) || m_pressedSincePoll.contains(key); }

    // Ends a poll: taps counted in it are done.
    void endPoll() { m_pressedSincePoll.clear(); }

    // Key releases go elsewhere once the screen loses the focus.
    void clear()
    {
        m_down.clear();
        m_pressedSincePoll.clear();
    }

private:
    QSet<int> m_down;
    QSet<int> m_pressedSincePoll;
};

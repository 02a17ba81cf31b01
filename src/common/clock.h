#pragma once

#include <QDateTime>

// Source of the date and time written into the station's files. Screens and
// writers take a Clock so that tests can fix the moment.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still until it is set again.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime moment) : m_moment(std::move(moment)) {}
    QDateTime now() const override { return m_moment; }
    void set(QDateTime moment) { m_moment = std::move(moment); }

private:
    QDateTime m_moment;
};

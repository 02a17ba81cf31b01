#pragma once

#include <QString>

// A measurement-log line built from 14-column print zones: after each item
// but the last, blanks are written up to the next multiple of 14 characters.
// An item that ends exactly on a zone boundary is followed by a whole zone of
// blanks, so two items never run together.
class ZoneLine {
public:
    static constexpr int zoneWidth = 14;

    ZoneLine& item(const QString& text);
    const QString& text() const { return m_text; }

private:
    QString m_text;
    bool m_empty = true;
};

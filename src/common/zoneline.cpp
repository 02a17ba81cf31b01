#include "common/zoneline.h"

ZoneLine& ZoneLine::item(const QString& text)
{
    if (!m_empty) {
        const qsizetype used = m_text.size() % zoneWidth;
        m_text.append(QString(zoneWidth - used, QLatin1Char(' ')));
    }
    m_text.append(text);
    m_empty = false;
    return *this;
}

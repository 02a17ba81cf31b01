#include "capture/audioformats.h"

#include "common/val.h"

#include <cmath>

QStringList AudioFormatEntries()
{
    QStringList entries;
    for (const char* rate : {"11.025", "22.050", "32.000", "44.100"})
        for (const char* kind : {"8 Bit, Mono", "8 Bit, Stereo", "16 Bit, Mono", "16 Bit, Stereo"})
            entries.append(QStringLiteral("%1 Khz, %2").arg(QLatin1String(rate), QLatin1String(kind)));
    return entries;
}

AudioFormat AudioFormatOfEntry(const QString& entry, int index)
{
    AudioFormat format;
    format.channels = index % 2 == 0 ? 1 : 2;
    format.bits = (index & 2) == 0 ? 8 : 16;
    format.sampleRate = int(std::nearbyint(Val(entry.section(QLatin1Char(' '), 0, 0)) * 1000));
    return format;
}

QString AudioFormatText(const AudioFormat& format)
{
    // Three decimals with a point whatever the station's language.
    return QString::number(format.sampleRate / 1000.0, 'f', 3) + QStringLiteral(" Khz, ")
        + (format.bits == 8 ? QStringLiteral("8") : QStringLiteral("16")) + QStringLiteral(" bit, ")
        + (format.channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo"));
}

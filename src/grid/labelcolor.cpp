#include "grid/labelcolor.h"

unsigned LabelColorNumber(const QString& labelColorName)
{
    if (labelColorName == QLatin1String("black"))
        return blackColorNumber;
    if (labelColorName == QLatin1String("yellow"))
        return yellowColorNumber;
    return whiteColorNumber; // "white", "default" and anything unknown
}

QColor ColorFromNumber(unsigned colorNumber)
{
    return QColor(static_cast<int>(colorNumber & 0xFFu), static_cast<int>((colorNumber >> 8) & 0xFFu),
                  static_cast<int>((colorNumber >> 16) & 0xFFu));
}

QColor LabelColor(const QString& labelColorName)
{
    return ColorFromNumber(LabelColorNumber(labelColorName));
}

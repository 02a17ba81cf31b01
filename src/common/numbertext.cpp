#include "common/numbertext.h"

#include <charconv>
#include <cmath>

QString NumberDigits(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
    if (value == 0.0)
        return QStringLiteral("0"); // also folds -0 into 0

    // The general form with precision 15 gives exactly the wanted digits and
    // switches to the exponent form below 1E-4 and from 1E15 on; it strips
    // trailing zeros. to_chars ignores the locale, so a German desktop still
    // writes a point.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, 15);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer).toUpper();

    // No zero before the point: "0.5" -> ".5", "-0.5" -> "-.5".
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}

QString NumberText(double value)
{
    const QString digits = NumberDigits(value);
    return digits.startsWith(QLatin1Char('-')) ? digits : QLatin1Char(' ') + digits;
}

QString FilePrintNumber(double value)
{
    return NumberText(value) + QLatin1Char(' ');
}

double RoundHalfUp(double value, double scale)
{
    return std::floor(value * scale + 0.5) / scale;
}

#include "common/val.h"

#include <QByteArray>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Length of the longest prefix of text[from..] that forms a number; 0 when
// there is none. Appends the number in C syntax to out.
qsizetype scanNumber(QStringView text, qsizetype from, QByteArray& out)
{
    qsizetype i = from;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        out.append(char(text[i].unicode()));
        ++i;
    }
    qsizetype digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        out.append(char(text[i].unicode()));
        ++i;
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        out.append('.');
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            out.append(char(text[i].unicode()));
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;

    // An exponent counts only when at least one digit follows it.
    if (i < n) {
        const QChar e = text[i].toUpper();
        if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
            qsizetype j = i + 1;
            QByteArray exponent("E");
            if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) {
                exponent.append(char(text[j].unicode()));
                ++j;
            }
            qsizetype expDigits = 0;
            while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
                exponent.append(char(text[j].unicode()));
                ++j;
                ++expDigits;
            }
            if (expDigits > 0) {
                out.append(exponent);
                i = j;
            }
        }
    }
    return i - from;
}

// from_chars ignores the locale (strtod would read "1.5" as 1 on a German
// desktop). Out-of-range magnitudes come back as infinity or zero.
double toDouble(const QByteArray& number)
{
    double value = 0.0;
    const char* first = number.constData();
    if (*first == '+')
        ++first;
    const auto result = std::from_chars(first, number.constData() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const bool negative = number.startsWith('-');
        // Tell overflow from underflow by the exponent's sign.
        const qsizetype e = number.indexOf('E');
        const bool tiny = e >= 0 && number.size() > e + 1 && number.at(e + 1) == '-';
        if (tiny)
            return negative ? -0.0 : 0.0;
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    return value;
}

} // namespace

double Val(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    QByteArray number;
    if (scanNumber(text, i, number) == 0)
        return 0.0;
    return toDouble(number);
}

bool ParseNumberField(QStringView field, double& value)
{
    const QStringView trimmed = field.trimmed();
    QByteArray number;
    const qsizetype used = scanNumber(trimmed, 0, number);
    if (used == 0 || used != trimmed.size())
        return false;
    value = toDouble(number);
    return std::isfinite(value);
}

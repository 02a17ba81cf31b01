#include "common/val.h"

#include <QByteArray>

#include <algorithm>
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

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// True when a number (in C syntax, as scanNumber writes it) is below 1 in
// magnitude. The exponent alone does not say: "0.000...1" has none and
// "1000…0E-5" is large. Only asked of numbers too large or too small for a
// double, so their power of ten is far from 0 and capping the counts is
// harmless.
bool belowOne(const QByteArray& number)
{
    constexpr long long cap = 1'000'000'000;
    const qsizetype n = number.size();
    qsizetype i = (number.startsWith('-') || number.startsWith('+')) ? 1 : 0;
    while (i < n && number[i] == '0')
        ++i;
    long long integerDigits = 0;
    for (; i < n && isDigit(number[i]); ++i)
        integerDigits = std::min(integerDigits + 1, cap);
    // The power of ten of the first significant digit.
    long long place = integerDigits - 1;
    if (i < n && number[i] == '.') {
        ++i;
        long long zeros = 0;
        for (; i < n && number[i] == '0'; ++i)
            zeros = std::min(zeros + 1, cap);
        if (integerDigits == 0)
            place = -zeros - 1;
        while (i < n && isDigit(number[i]))
            ++i;
    }
    long long exponent = 0;
    if (i < n && number[i] == 'E') {
        ++i;
        const bool negative = i < n && number[i] == '-';
        if (i < n && (number[i] == '-' || number[i] == '+'))
            ++i;
        for (; i < n && isDigit(number[i]); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), cap);
        if (negative)
            exponent = -exponent;
    }
    return place + exponent < 0;
}

// from_chars ignores the locale (strtod would read "1.5" as 1 on a German
// desktop). A magnitude below the smallest double reads as 0 (of its sign),
// one above the largest as infinity; between them, very small numbers keep
// their nearest (subnormal) value.
double toDouble(const QByteArray& number)
{
    double value = 0.0;
    const char* first = number.constData();
    if (*first == '+')
        ++first;
    const auto result = std::from_chars(first, number.constData() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const bool negative = number.startsWith('-');
        if (belowOne(number))
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
    // The blanks Val skips, and no other white space: a field reads as the
    // number the same text typed into a box reads as.
    qsizetype first = 0;
    qsizetype end = field.size();
    while (first < end && isBlank(field[first]))
        ++first;
    while (end > first && isBlank(field[end - 1]))
        --end;
    const QStringView trimmed = field.sliced(first, end - first);
    QByteArray number;
    const qsizetype used = scanNumber(trimmed, 0, number);
    if (used == 0 || used != trimmed.size())
        return false;
    value = toDouble(number);
    return std::isfinite(value);
}

#include "common/datetext.h"

namespace {
QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}
} // namespace

QString DateText(const QDate& date)
{
    return twoDigits(date.month()) + QLatin1Char('-') + twoDigits(date.day()) + QLatin1Char('-')
        + QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString TimeText(const QTime& time)
{
    return twoDigits(time.hour()) + QLatin1Char(':') + twoDigits(time.minute()) + QLatin1Char(':')
        + twoDigits(time.second());
}

QString MakeDatedFileName(const QString& prefix, const QDate& date)
{
    const QString text = DateText(date);
    return prefix + text.mid(0, 2) + text.mid(3, 2) + text.mid(8, 2) + QStringLiteral(".txt");
}

#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// Date as the ten characters MM-DD-YYYY, whatever the regional settings.
QString DateText(const QDate& date);

// Time as the eight characters hh:mm:ss on the 24-hour clock.
QString TimeText(const QTime& time);

// Daily file name: prefix + MM + DD + YY + ".txt"
// (JumpMeasurementLog070326.txt on 3 July 2026).
QString MakeDatedFileName(const QString& prefix, const QDate& date);

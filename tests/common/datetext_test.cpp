#include "common/datetext.h"

#include <gtest/gtest.h>

TEST(DateText, TenCharactersMonthFirst)
{
    EXPECT_EQ(DateText(QDate(2026, 7, 3)).toStdString(), "07-03-2026");
    EXPECT_EQ(DateText(QDate(2026, 12, 31)).toStdString(), "12-31-2026");
}

TEST(DateText, TimeOnTheTwentyFourHourClock)
{
    EXPECT_EQ(TimeText(QTime(9, 5, 7)).toStdString(), "09:05:07");
    EXPECT_EQ(TimeText(QTime(23, 59, 59)).toStdString(), "23:59:59");
    EXPECT_EQ(TimeText(QTime(0, 0, 0)).toStdString(), "00:00:00");
}

TEST(DateText, DailyFileNames)
{
    EXPECT_EQ(MakeDatedFileName(QStringLiteral("JumpMeasurementLog"), QDate(2026, 7, 3)).toStdString(),
              "JumpMeasurementLog070326.txt");
    EXPECT_EQ(MakeDatedFileName(QStringLiteral("JumpMeasurementResults"), QDate(2030, 12, 7)).toStdString(),
              "JumpMeasurementResults120730.txt");
}

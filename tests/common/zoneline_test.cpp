#include "common/zoneline.h"

#include <gtest/gtest.h>

TEST(ZoneLine, ItemsStartOnFourteenColumnZones)
{
    ZoneLine line;
    line.item(QStringLiteral("07-03-2026")).item(QStringLiteral("09:05:07"))
        .item(QStringLiteral("Rampscope Measurement Session started  "));
    EXPECT_EQ(line.text().toStdString(),
              "07-03-2026    09:05:07      Rampscope Measurement Session started  ");
}

TEST(ZoneLine, LongItemPushesTheNextToTheFollowingZone)
{
    ZoneLine line;
    line.item(QStringLiteral("Skier: Ann Lee ")).item(QStringLiteral("Jump: 3"));
    // 15 characters: the next zone starts at column 29.
    EXPECT_EQ(line.text().toStdString(), "Skier: Ann Lee              Jump: 3");
}

TEST(ZoneLine, ItemEndingOnABoundaryIsStillSeparated)
{
    ZoneLine line;
    line.item(QString(14, QLatin1Char('x'))).item(QStringLiteral("y"));
    EXPECT_EQ(line.text().size(), 29);
    EXPECT_EQ(line.text().at(28), QLatin1Char('y'));
}

TEST(ZoneLine, SingleItemHasNoPadding)
{
    ZoneLine line;
    line.item(QStringLiteral("abc"));
    EXPECT_EQ(line.text().toStdString(), "abc");
}

#include "app/configstate.h"
#include "grid/calibrationstate.h"
#include "grid/overlay.h"
#include "measure/landingmark.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A mild perspective: far side compressed, as from a shore tower.
const Coefficients perspective{-12.5, 0.0021, 0.0003, 1.2e-6, 3.4e-5, 80.0, 0.0002, -0.0095};

// Survey X = x / 16, Y = y / 16 exactly: readouts can be pinned digit for digit.
const Coefficients sixteenth{0, 0.0625, 0, 0, 0, 0, 0, 0.0625};

const ScreenPoint click{6120, 3405};

ImpactMarkSettings settings(TournamentType type, bool rightToLeft, double surveyDirection = -1.0)
{
    return {perspective, surveyDirection, type, rightToLeft, 90.0};
}

TEST(LandingAllowance, ByTournamentType)
{
    EXPECT_EQ(LandingAllowance(TournamentType::Barefoot), 0.0);
    EXPECT_DOUBLE_EQ(LandingAllowance(TournamentType::Normal), 2.1);
    EXPECT_DOUBLE_EQ(LandingAllowance(TournamentType::SitSki), 1.9);
}

TEST(ImpactMark, ArmPointsBackAlongTheJumpDirection)
{
    struct Case {
        bool rightToLeft;
        QLineF horizontal;
    };
    for (const Case& c : {Case{true, QLineF(6120, 3405, 6210, 3405)}, Case{false, QLineF(6120, 3405, 6030, 3405)}}) {
        const auto mark = ImpactMarkAt(click, settings(TournamentType::Normal, c.rightToLeft));
        ASSERT_TRUE(mark);
        EXPECT_EQ(mark->horizontal, c.horizontal) << c.rightToLeft;
        EXPECT_EQ(mark->vertical, QLineF(6120, 3315, 6120, 3495)) << c.rightToLeft;
        EXPECT_EQ(mark->mark.x, click.x);
        EXPECT_EQ(mark->mark.y, click.y);
    }
}

TEST(ImpactMark, BarefootSplashStandsOnTheMark)
{
    for (bool rightToLeft : {false, true}) {
        const auto mark = ImpactMarkAt(click, settings(TournamentType::Barefoot, rightToLeft));
        ASSERT_TRUE(mark);
        EXPECT_NEAR(mark->splash.x, click.x, 1e-6);
        EXPECT_NEAR(mark->splash.y, click.y, 1e-6);
    }
}

struct SplashCase {
    TournamentType type;
    bool rightToLeft;
    double surveyDirection;
    double expectedShift; // survey X of the splash minus survey X of the mark
};

class SplashTest : public ::testing::TestWithParam<SplashCase> {};

TEST_P(SplashTest, AllowanceAlongSurveyX)
{
    const SplashCase& c = GetParam();
    const auto mark = ImpactMarkAt(click, settings(c.type, c.rightToLeft, c.surveyDirection));
    ASSERT_TRUE(mark);
    const auto atMark = screen_to_survey(perspective, click.x, click.y);
    const auto atSplash = screen_to_survey(perspective, mark->splash.x, mark->splash.y);
    ASSERT_TRUE(atMark);
    ASSERT_TRUE(atSplash);
    EXPECT_NEAR(atSplash->x - atMark->x, c.expectedShift, 1e-9);
    EXPECT_NEAR(atSplash->y, atMark->y, 1e-9);
    // The indicator rises 1000 twips from the splash point.
    EXPECT_EQ(mark->splashIndicator,
              QLineF(mark->splash.x, mark->splash.y, mark->splash.x, mark->splash.y - 1000));
}

INSTANTIATE_TEST_SUITE_P(Directions, SplashTest,
    ::testing::Values(SplashCase{TournamentType::Normal, false, -1.0, 2.1},
                      SplashCase{TournamentType::Normal, false, +1.0, -2.1},
                      SplashCase{TournamentType::Normal, true, -1.0, -2.1},
                      SplashCase{TournamentType::Normal, true, +1.0, 2.1},
                      SplashCase{TournamentType::SitSki, true, +1.0, 1.9},
                      SplashCase{TournamentType::SitSki, false, +1.0, -1.9}));

TEST(ImpactMark, ZeroDenominatorGivesAFaultAndNoMark)
{
    // w = 1 - 0.001 x is 0 at x = 1000.
    ImpactMarkSettings s = settings(TournamentType::Normal, false);
    s.coefficients = {0, 1, 0, -0.001, 0, 0, 0, 1};
    const auto forward = ImpactMarkAt({1000, 20}, s);
    ASSERT_FALSE(forward);
    EXPECT_EQ(forward.error().what, QStringLiteral("division by zero"));

    // Every screen point maps to (1, 1): nothing maps back, D = 0.
    s.coefficients = {1, 0, 0, 0, 0, 1, 0, 0};
    const auto back = ImpactMarkAt({1000, 20}, s);
    ASSERT_FALSE(back);
    EXPECT_EQ(back.error().what, QStringLiteral("division by zero"));
}

TEST(ImpactMark, SettingsFromTheLiveStateAndConfiguration)
{
    CalibrationState calibration;
    calibration.coefficients = perspective;
    calibration.surveyDirection = 1.0;
    ConfigState config;
    config.sitSkiMode = true;
    config.rightToLeft = true;
    const ImpactMarkSettings s = ImpactMarkSettingsFrom(calibration, config, 45);
    EXPECT_EQ(s.coefficients, perspective);
    EXPECT_EQ(s.surveyDirection, 1.0);
    EXPECT_EQ(s.tournament, TournamentType::SitSki);
    EXPECT_TRUE(s.rightToLeft);
    EXPECT_EQ(s.crossSize, 45);
}

TEST(ArrowMoves, ThreeRightPressesEndFortyFiveTwipsRight)
{
    const ImpactMarkSettings s = settings(TournamentType::Normal, false);
    auto drawn = ImpactMarkAt(click, s);
    ASSERT_TRUE(drawn);
    for (int press = 0; press < 3; ++press) {
        drawn = ImpactMarkAt(MovedMark(drawn->mark, MarkMove::Right), s);
        ASSERT_TRUE(drawn);
    }
    EXPECT_EQ(drawn->mark.x, click.x + 45);
    EXPECT_EQ(drawn->mark.y, click.y);
}

TEST(ArrowMoves, OnePixelEachWay)
{
    struct Case {
        MarkMove move;
        double dx;
        double dy;
    };
    for (const Case& c : {Case{MarkMove::Left, -15, 0}, Case{MarkMove::Right, 15, 0}, Case{MarkMove::Up, 0, -15},
                          Case{MarkMove::Down, 0, 15}}) {
        const ScreenPoint moved = MovedMark({100.5, 200.25}, c.move);
        EXPECT_EQ(moved.x, 100.5 + c.dx);
        EXPECT_EQ(moved.y, 200.25 + c.dy);
    }
    const std::array<MarkMove, 4> order{MarkMove::Left, MarkMove::Up, MarkMove::Right, MarkMove::Down};
    EXPECT_EQ(arrowKeyPollOrder, order);
}

struct ReadoutCase {
    const char* name;
    double x;
    double y;
    TournamentType type;
    LiveReadouts expected;
};

class LiveReadoutTest : public ::testing::TestWithParam<ReadoutCase> {};

TEST_P(LiveReadoutTest, Texts)
{
    const ReadoutCase& c = GetParam();
    // Jump point at survey (40, 30): screen (640, 480).
    const auto readouts = LiveReadoutsAt(c.x, c.y, sixteenth, 40, 30, c.type);
    ASSERT_TRUE(readouts) << c.name;
    EXPECT_EQ(readouts->xtwips.toStdString(), c.expected.xtwips.toStdString()) << c.name;
    EXPECT_EQ(readouts->ytwips.toStdString(), c.expected.ytwips.toStdString()) << c.name;
    EXPECT_EQ(readouts->xposition.toStdString(), c.expected.xposition.toStdString()) << c.name;
    EXPECT_EQ(readouts->yposition.toStdString(), c.expected.yposition.toStdString()) << c.name;
    EXPECT_EQ(readouts->VerifyDistance.toStdString(), c.expected.VerifyDistance.toStdString()) << c.name;
}

LiveReadouts texts(const char* xt, const char* yt, const char* xp, const char* yp, const char* verify)
{
    return {QString::fromLatin1(xt), QString::fromLatin1(yt), QString::fromLatin1(xp), QString::fromLatin1(yp),
            QString::fromLatin1(verify)};
}

INSTANTIATE_TEST_SUITE_P(Pointer, LiveReadoutTest,
    ::testing::Values(
        // On the jump point: the allowance alone, 2.1 x 3.28 = 6.89 -> 7 ft.
        ReadoutCase{"jump point, normal", 640, 480, TournamentType::Normal,
                    texts(" 640", " 480", " 40", " 30", " 2.1m  7ft")},
        ReadoutCase{"jump point, sit ski", 640, 480, TournamentType::SitSki,
                    texts(" 640", " 480", " 40", " 30", " 1.9m  6ft")},
        ReadoutCase{"jump point, barefoot", 640, 480, TournamentType::Barefoot,
                    texts(" 640", " 480", " 40", " 30", " 0m  0ft")},
        // 36 twips beyond: d = 2.25 m, a halfway point that goes up to 2.3;
        // 2.25 x 3.28 = 7.38 -> 7 ft.
        ReadoutCase{"halfway metres", 676, 480, TournamentType::Barefoot,
                    texts(" 676", " 480", " 42.25", " 30", " 2.3m  7ft")},
        // Twips cut down, not rounded; survey to hundredths, halves up even
        // below zero (-1.125 -> -1.12).
        ReadoutCase{"negative survey", -18, 15.9, TournamentType::Barefoot,
                    texts("-18", " 15", "-1.12", " .99", " 50.3m  165ft")},
        ReadoutCase{"pointer between pixels", 1000.9, 479.5, TournamentType::Normal,
                    texts(" 1000", " 479", " 62.56", " 29.97", " 24.7m  81ft")}));

TEST(LiveReadouts, ZeroDenominatorGivesAFault)
{
    const Coefficients c{0, 1, 0, -0.001, 0, 0, 0, 1};
    const auto readouts = LiveReadoutsAt(1000, 0, c, 0, 0, TournamentType::Normal);
    ASSERT_FALSE(readouts);
    EXPECT_EQ(readouts.error().what, QStringLiteral("division by zero"));
}

TEST(LiveReadouts, OverflowingDistanceGivesAFault)
{
    const auto readouts = LiveReadoutsAt(1e308, 1e308, sixteenth, -1e308, -1e308, TournamentType::Normal);
    EXPECT_FALSE(readouts);
}

TEST(ImpactMark, ThreeLinesInTheLabelColour)
{
    const QColor background(30, 60, 90);
    const QColor yellow(255, 255, 0);
    // Left to right, barefoot: the arm reaches left and the splash stands on
    // the mark, rising 1000 twips.
    ImpactMarkSettings s{sixteenth, -1.0, TournamentType::Barefoot, false, 90};
    const auto mark = ImpactMarkAt({3000, 3000}, s);
    ASSERT_TRUE(mark);

    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    BeginTwipsDrawing(painter);
    DrawImpactMarkLines(painter, *mark, yellow);
    painter.end();

    // Mark at pixel (200, 200); arm 6 px; splash line up to pixel row 133.
    EXPECT_EQ(image.pixelColor(196, 200), yellow); // arm, left
    EXPECT_EQ(image.pixelColor(204, 200), background); // no arm to the right
    EXPECT_EQ(image.pixelColor(200, 204), yellow); // vertical, below
    EXPECT_EQ(image.pixelColor(200, 150), yellow); // splash indicator
    EXPECT_EQ(image.pixelColor(200, 125), background); // ends 1000 twips up
    EXPECT_EQ(image.pixelColor(204, 150), background);
    // A thin black edge beside the yellow splash line keeps it visible on spray.
    EXPECT_TRUE(image.pixelColor(198, 150) == Qt::black || image.pixelColor(202, 150) == Qt::black);
}

} // namespace

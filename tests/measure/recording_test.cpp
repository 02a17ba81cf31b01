#include "measure/recording.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "grid/calibrationstate.h"
#include "measure/exchangedirectory.h"
#include "measure/measurestate.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

using Answer = OperatorDialogs::Answer;

QByteArray crlf(const QString& line)
{
    return line.toLatin1() + "\r\n";
}

// A tower grid that is affine near the landing area: X = -2.995 + x / 1000,
// Y = 10.82 + y / 100. The mark (6120.4, 3405) lies at (3.1254, 44.87) on
// the water, 43.1345 m from the jump point (3.125, 1.7355): with the 2.1 m
// allowance the jump measures 45.2345 m.
class Recording : public ::testing::Test {
protected:
    QTemporaryDir dir;
    CalibrationState calibration;
    ConfigState config;
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(14, 3, 11))};
    ScriptedDialogs dialogs;
    ExchangeDirectory exchange{dir.filePath(QStringLiteral("qxio"))};
    bool link = false;
    MeasureState state;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("qxio")));
        config.resultsFilePath = dir.filePath(QStringLiteral("JumpMeasurementResults120726.txt"));
        calibration.coefficients = {-2.995, 0.001, 0, 0, 0, 10.82, 0, 0.01};
        calibration.jumpX = 3.125;
        calibration.jumpY = 1.7355;
        state.Skier_name = QStringLiteral("TestSkier");
        state.Jump_no = QStringLiteral("1");
        state.markX = 6120.4;
        state.markY = 3405;
        state.markPlaced = true;
    }

    RecordingOutcome record()
    {
        return RecordJump(state, RecordingContext{calibration, config, link, exchange, dialogs, clock});
    }

    QByteArray results() const { return FileBytes(config.resultsFilePath); }
    QString qx(const char* name) const { return exchange.filePath(QString::fromLatin1(name)); }

    // A measured jump recorded first, so that later lines have a landing
    // point to repeat.
    void recordExampleJump()
    {
        ASSERT_TRUE(record().recorded);
        QFile::remove(config.resultsFilePath);
    }
};

const char* const exampleLine = "12-07-2026 14:03:11 TestSkier  jump 1 -  45.2m  (IWSF) 148ft  (AWSA)"
                                " ( 3.125/ 44.87) ( 6120/ 3405) ( 45.2345)";

TEST_F(Recording, MeasuredJumpWritesTheExampleLine)
{
    const RecordingOutcome outcome = record();
    EXPECT_TRUE(outcome.recorded);
    EXPECT_FALSE(outcome.offerFrozenPictureSave);
    EXPECT_EQ(results(), crlf(exampleLine));
    EXPECT_EQ(outcome.resultLine, QString::fromLatin1(exampleLine));
    EXPECT_TRUE(dialogs.shown().empty());

    EXPECT_EQ(state.distance, " 45.2m");
    EXPECT_EQ(state.distance_ft, " 148ft");
    EXPECT_EQ(state.preciseDistanceText, " 45.2345");
    EXPECT_EQ(state.landingScreenX, 6120.4);
    EXPECT_EQ(state.landingScreenY, 3405);
    // Not frozen: the jump number waits for Clear.
    EXPECT_EQ(state.Jump_no, "1");
    EXPECT_EQ(state.selectedOption, StatusOption::optJumpOK);
    EXPECT_FALSE(state.commentVisible);
}

TEST_F(Recording, ResultLineFromFixedLandingValues)
{
    state.distance = QStringLiteral(" 45.2m");
    state.distance_ft = QStringLiteral(" 148ft");
    state.landingSurveyX = 3.1254;
    state.landingSurveyY = 44.8702;
    state.landingScreenX = 6120.9;
    state.landingScreenY = 3405.2;
    state.preciseDistanceText = QStringLiteral(" 45.2345");
    EXPECT_EQ(ResultLine(state, false, clock.now()), QString::fromLatin1(exampleLine));

    state.verifyMode = true;
    state.Comment = QStringLiteral("Wind");
    EXPECT_EQ(ResultLine(state, true, clock.now()),
              "12-07-2026 14:03:11 TestSkier  jump 1 -  45.2m  (IWSF) 148ft  (AWSA) BAREFOOT "
              " UNOFFICIAL JUMP - verify mode Wind ( 3.125/ 44.87) ( 6120/ 3405) ( 45.2345)");
}

TEST_F(Recording, ResultsAreAppendedLineAfterLine)
{
    ASSERT_TRUE(record().recorded);
    clock.set(QDateTime(QDate(2026, 12, 7), QTime(14, 5, 0)));
    ASSERT_TRUE(record().recorded);
    EXPECT_EQ(results(), crlf(exampleLine) + crlf(QString::fromLatin1(exampleLine).replace("14:03:11", "14:05:00")));
}

TEST_F(Recording, MeasuredJumpOnAFrozenFrameOffersThePicture)
{
    state.frameFrozen = true;
    const RecordingOutcome outcome = record();
    EXPECT_TRUE(outcome.recorded);
    EXPECT_TRUE(outcome.offerFrozenPictureSave);
    EXPECT_EQ(state.Jump_no, "1");
}

TEST_F(Recording, VerifyModeMarksTheLine)
{
    state.verifyMode = true;
    ASSERT_TRUE(record().recorded);
    EXPECT_EQ(results(), crlf("12-07-2026 14:03:11 TestSkier  jump 1 -  45.2m  (IWSF) 148ft  (AWSA)"
                              " UNOFFICIAL JUMP - verify mode  ( 3.125/ 44.87) ( 6120/ 3405) ( 45.2345)"));
    EXPECT_TRUE(state.verifyMode); // lasts until toggled off
}

struct TournamentCase {
    const char* name;
    bool barefoot;
    bool sitSki;
    Coefficients coefficients;
    double jumpX, jumpY, markX, markY;
    const char* line;
};

class TournamentRecording : public Recording, public ::testing::WithParamInterface<TournamentCase> {};

TEST_P(TournamentRecording, LineFollowsTheTournamentType)
{
    const TournamentCase& c = GetParam();
    config.barefootMode = c.barefoot;
    config.sitSkiMode = c.sitSki;
    state.barefootIndicatorVisible = c.barefoot || c.sitSki;
    calibration.coefficients = c.coefficients;
    calibration.jumpX = c.jumpX;
    calibration.jumpY = c.jumpY;
    state.markX = c.markX;
    state.markY = c.markY;
    state.markPlaced = true;
    ASSERT_TRUE(record().recorded);
    EXPECT_EQ(results(), crlf(QString::fromUtf8(c.line)));
}

INSTANTIATE_TEST_SUITE_P(
    Types, TournamentRecording,
    ::testing::Values(
        // 43.1345 + 1.9 = 45.0345 m; 45.0345 / 0.03048 = 1477.5 tenths -> 147.8 ft
        TournamentCase{"SitSki", false, true, {-2.995, 0.001, 0, 0, 0, 10.82, 0, 0.01}, 3.125, 1.7355, 6120.4, 3405,
                       "12-07-2026 14:03:11 TestSkier  jump 1 -  45m  (IWSF) 147.8ft  (AWSA)"
                       " ( 3.125/ 44.87) ( 6120/ 3405) ( 45.0345)"},
        // No allowance; 4 cm: metres round to 0, feet to a tenth
        TournamentCase{"Barefoot4cm", true, false, {0, 0, 0, 0, 0, 0.04, 0, 0}, 0, 0, 15, 30,
                       "12-07-2026 14:03:11 TestSkier  jump 1 -  0m  (IWSF) .1ft  (AWSA) BAREFOOT "
                       " ( 0/ .04) ( 15/ 30) ( .04)"},
        // Exactly 45.25 m (Y = 5792 / 128): halves round up to 45.3
        TournamentCase{"BarefootHalfway", true, false, {0, 0, 0, 0, 0, 0, 0, 0.0078125}, 0, 0, 30, 5792,
                       "12-07-2026 14:03:11 TestSkier  jump 1 -  45.3m  (IWSF) 148.5ft  (AWSA) BAREFOOT "
                       " ( 0/ 45.25) ( 30/ 5792) ( 45.25)"}),
    [](const auto& info) { return std::string(info.param.name); });

// Pass and fall, each with and without a frozen frame.
struct PassFallCase {
    const char* name;
    StatusOption option;
    bool frozen;
    const char* jumpAfter;
    StatusOption selectedAfter;
};

class PassFallRecording : public Recording, public ::testing::WithParamInterface<PassFallCase> {};

TEST_P(PassFallRecording, RepeatsTheLastLandingPoint)
{
    const PassFallCase& c = GetParam();
    recordExampleJump();
    ClickStatusOption(state, c.option);
    state.frameFrozen = c.frozen;
    const QString word = c.option == StatusOption::Pass ? "Pass" : "Fall";

    const RecordingOutcome outcome = record();
    EXPECT_TRUE(outcome.recorded);
    EXPECT_FALSE(outcome.offerFrozenPictureSave);
    EXPECT_EQ(results(), crlf("12-07-2026 14:03:11 TestSkier  jump 1 -   (IWSF)  (AWSA)" + word
                              + " ( 3.125/ 44.87) ( 6120/ 3405) ( 45.2345)"));
    EXPECT_EQ(state.Jump_no, c.jumpAfter);
    EXPECT_EQ(state.selectedOption, c.selectedAfter);
    EXPECT_EQ(state.distance, "");
    EXPECT_EQ(state.distance_ft, "");
    EXPECT_EQ(state.Comment, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PassFallRecording,
    ::testing::Values(PassFallCase{"PassLive", StatusOption::Pass, false, " 2", StatusOption::None},
                      PassFallCase{"PassFrozen", StatusOption::Pass, true, "1", StatusOption::Pass},
                      PassFallCase{"FallLive", StatusOption::Fall, false, " 2", StatusOption::None},
                      PassFallCase{"FallFrozen", StatusOption::Fall, true, "1", StatusOption::Fall}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Recording, FallBeforeTheFirstMeasuredJumpWritesZeros)
{
    state.Jump_no = QStringLiteral("Jump");
    ClickStatusOption(state, StatusOption::Fall);
    ASSERT_TRUE(record().recorded);
    EXPECT_EQ(results(), crlf("12-07-2026 14:03:11 TestSkier  jump Jump -   (IWSF)  (AWSA)Fall ( 0/ 0) ( 0/ 0) ()"));
    EXPECT_EQ(state.Jump_no, " 1");
}

TEST_F(Recording, OtherGridEntriesThatAgreeAreRecordedAsTyped)
{
    link = true;
    ClickStatusOption(state, StatusOption::Other_Grid);
    dialogs.answer(Answer::Yes).type("45.2").type("148");
    const RecordingOutcome outcome = record();
    EXPECT_TRUE(outcome.recorded);
    EXPECT_FALSE(outcome.offerFrozenPictureSave);

    ASSERT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.shown()[0].text, "Is there a distance to be recorded in the other grid?");
    EXPECT_EQ(dialogs.shown()[0].title, "Message");
    EXPECT_EQ(dialogs.shown()[0].buttons, OperatorDialogs::Buttons::YesNo);
    EXPECT_EQ(dialogs.shown()[1].text, "Enter distance in meters from other screen");
    EXPECT_EQ(dialogs.shown()[1].title, "Other Grid Measurement");
    EXPECT_EQ(dialogs.shown()[2].text, "Enter distance in feet from other screen");
    EXPECT_EQ(dialogs.shown()[2].title, "Other Grid Measurement");

    // No landing point pieces for a distance from the other grid.
    EXPECT_EQ(results(), crlf("12-07-2026 14:03:11 TestSkier  jump 1 - 45.2m  (IWSF)148 ft  (AWSA)"
                              "Distance from other grid"));
    EXPECT_EQ(FileBytes(qx("qxresult.dst")), "OK, 45.2, 148 , 1\r\n");
    EXPECT_EQ(state.distance, "45.2m");
    EXPECT_EQ(state.distance_ft, "148 ft");
    EXPECT_EQ(state.selectedOption, StatusOption::None);
    EXPECT_EQ(state.Jump_no, " 2");
    EXPECT_EQ(state.Comment, "");
}

struct CrossCheckCase {
    const char* metres;
    const char* feet;
    bool accepted;
};

class OtherGridCrossCheck : public Recording, public ::testing::WithParamInterface<CrossCheckCase> {};

// 45.2 m x 3.2808 = 148.29 ft: feet between 146.29 and 150.29 are accepted.
TEST_P(OtherGridCrossCheck, FeetMustLieWithinTwoFeetOfTheMetres)
{
    const CrossCheckCase& c = GetParam();
    ClickStatusOption(state, StatusOption::Other_Grid);
    dialogs.answer(Answer::Yes).type(c.metres).type(c.feet);
    if (!c.accepted)
        dialogs.answer(Answer::No);
    ASSERT_TRUE(record().recorded);
    const QString mismatch
        = "The meter distance and the foot distance you entered did not match, please enter them again";
    if (c.accepted) {
        EXPECT_FALSE(dialogs.texts().contains(mismatch));
        EXPECT_EQ(state.distance, QString::fromLatin1(c.metres) + "m");
    } else {
        EXPECT_EQ(dialogs.texts(),
                  QStringList({"Is there a distance to be recorded in the other grid?",
                               "Enter distance in meters from other screen", "Enter distance in feet from other screen",
                               mismatch, "Is there a distance to be recorded in the other grid?"}));
        EXPECT_EQ(state.distance, "");
    }
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

INSTANTIATE_TEST_SUITE_P(Entries, OtherGridCrossCheck,
                         ::testing::Values(CrossCheckCase{"45.2", "148", true}, CrossCheckCase{"45.2", "150.29", true},
                                           CrossCheckCase{"45.2", "146.3", true},
                                           CrossCheckCase{"45.2", "150.3", false},
                                           CrossCheckCase{"45.2", "151", false},
                                           CrossCheckCase{"45.2", "146.2", false},
                                           CrossCheckCase{"abc", "", true}, CrossCheckCase{"", "3", false}));

TEST_F(Recording, RejectedOtherGridEntriesAreAskedAgain)
{
    ClickStatusOption(state, StatusOption::Other_Grid);
    dialogs.answer(Answer::Yes).type("45.2").type("151").answer(Answer::Yes).type("45.2").type("148");
    ASSERT_TRUE(record().recorded);
    EXPECT_EQ(dialogs.shown().size(), 7u);
    EXPECT_EQ(dialogs.shown()[3].text,
              "The meter distance and the foot distance you entered did not match, please enter them again");
    EXPECT_EQ(dialogs.shown()[3].buttons, OperatorDialogs::Buttons::Ok);
    EXPECT_EQ(results(), crlf("12-07-2026 14:03:11 TestSkier  jump 1 - 45.2m  (IWSF)148 ft  (AWSA)"
                              "Distance from other grid"));
}

TEST_F(Recording, OtherGridAnsweredNo)
{
    link = true;
    state.Jump_no = QStringLiteral("3");
    ClickStatusOption(state, StatusOption::Other_Grid);
    dialogs.answer(Answer::No);
    ASSERT_TRUE(record().recorded);
    EXPECT_EQ(results(), crlf("12-07-2026 14:03:11 TestSkier  jump 3 -   (IWSF)  (AWSA)"
                              "Other Grid - no distance recorded"));
    EXPECT_EQ(FileBytes(qx("qxresult.dst")), "OK, , , 3\r\n");
    EXPECT_EQ(state.Jump_no, " 4");
    EXPECT_EQ(state.distance, "");
    EXPECT_EQ(state.distance_ft, "");
    EXPECT_EQ(state.Comment, "");
}

TEST_F(Recording, CancelledOtherGridPromptsCountAsEmptyAnswers)
{
    link = true;
    ClickStatusOption(state, StatusOption::Other_Grid);
    dialogs.answer(Answer::Yes).cancelInput().cancelInput();
    ASSERT_TRUE(record().recorded);
    EXPECT_EQ(results(), crlf("12-07-2026 14:03:11 TestSkier  jump 1 - m  (IWSF) ft  (AWSA)Distance from other grid"));
    EXPECT_EQ(FileBytes(qx("qxresult.dst")), "OK, ,  , 1\r\n");
    EXPECT_EQ(state.distance, "m");
    EXPECT_EQ(state.distance_ft, " ft");
}

TEST_F(Recording, OtherGridOnAFrozenFrameKeepsTheJumpNumber)
{
    state.frameFrozen = true;
    ClickStatusOption(state, StatusOption::Other_Grid);
    dialogs.answer(Answer::Yes).type("40").type("131");
    const RecordingOutcome outcome = record();
    ASSERT_TRUE(outcome.recorded);
    EXPECT_FALSE(outcome.offerFrozenPictureSave);
    EXPECT_EQ(state.Jump_no, "1");
    EXPECT_EQ(state.selectedOption, StatusOption::None);
}

TEST_F(Recording, ExchangeFilesWithTheLinkOn)
{
    link = true;
    ASSERT_TRUE(record().recorded);
    EXPECT_EQ(FileBytes(qx("qxresult.dst")), "OK,  45.2,  148, 1\r\n");
    EXPECT_EQ(FileBytes(qx("qxraw.dst")), "14:03:11 ,TestSkier,OK,  45.2,  148, 1\r\n");

    // Second recording, a fall on jump " 2": qxresult.dst holds only it.
    state.Jump_no = QStringLiteral(" 2");
    state.Skier_name = QStringLiteral("TestSkier, B");
    ClickStatusOption(state, StatusOption::Fall);
    clock.set(QDateTime(QDate(2026, 12, 7), QTime(14, 4, 2)));
    ASSERT_TRUE(record().recorded);
    EXPECT_EQ(FileBytes(qx("qxresult.dst")), "Fall, 0, 0, 2\r\n");
    EXPECT_EQ(FileBytes(qx("qxraw.dst")),
              "14:03:11 ,TestSkier,OK,  45.2,  148, 1\r\n14:04:02 ,TestSkier,Fall, 0, 0, 2\r\n");
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(Recording, LinkOffWritesNoExchangeFiles)
{
    ASSERT_TRUE(record().recorded);
    EXPECT_FALSE(QFile::exists(qx("qxresult.dst")));
    EXPECT_FALSE(QFile::exists(qx("qxraw.dst")));
}

TEST_F(Recording, MissingExchangeDirectoryIsReportedAndTheRecordingCompletes)
{
    link = true;
    ASSERT_TRUE(QDir(exchange.directory()).removeRecursively());
    ClickStatusOption(state, StatusOption::Pass);
    const RecordingOutcome outcome = record();
    EXPECT_TRUE(outcome.recorded);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith("Error while writing SCORIX result: ")) << dialogs.shown()[0].text.toStdString();
    EXPECT_GT(dialogs.shown()[0].text.size(), QString("Error while writing SCORIX result: ").size());
    EXPECT_FALSE(QFile::exists(qx("qxresult.dst")));
    EXPECT_FALSE(QFile::exists(qx("qxraw.dst")));
    EXPECT_FALSE(QDir(exchange.directory()).exists()); // never created
    EXPECT_NE(results(), "<missing>");
    EXPECT_EQ(state.Jump_no, " 2");
    EXPECT_EQ(state.selectedOption, StatusOption::None);
}

TEST_F(Recording, ConsumedPicturesAreDeletedAfterEachRecording)
{
    for (const char* name : {"snapshot.bmp", "other.BMP", "qxskier.nam", "keep.bmp.txt"}) {
        QFile f(qx(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(record().recorded);
    EXPECT_EQ(QDir(exchange.directory()).entryList(QDir::Files, QDir::Name),
              QStringList({"keep.bmp.txt", "qxskier.nam"}));
}

TEST_F(Recording, UnwritableResultsFileLeavesEverythingAsItWas)
{
    link = true;
    QFile snapshot(qx("snapshot.bmp"));
    ASSERT_TRUE(snapshot.open(QIODevice::WriteOnly));
    snapshot.close();
    config.resultsFilePath = dir.filePath(QStringLiteral("gone/JumpMeasurementResults120726.txt"));
    ClickStatusOption(state, StatusOption::Pass);
    const MeasureState before = state;

    const RecordingOutcome outcome = record();
    EXPECT_FALSE(outcome.recorded);
    EXPECT_TRUE(outcome.resultLine.isEmpty());
    EXPECT_EQ(state, before);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith(
        "The jump was not recorded: the results file " + config.resultsFilePath + " could not be written ("))
        << dialogs.shown()[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(qx("qxresult.dst")));
    EXPECT_TRUE(QFile::exists(qx("snapshot.bmp")));
}

struct FaultCase {
    const char* name;
    Coefficients coefficients;
    double markX, markY;
    const char* message;
};

class RecordingFault : public Recording, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(RecordingFault, AbandonsTheRecording)
{
    const FaultCase& c = GetParam();
    calibration.coefficients = c.coefficients;
    state.markX = c.markX;
    state.markY = c.markY;
    state.markPlaced = true;
    const MeasureState before = state;
    const RecordingOutcome outcome = record();
    EXPECT_FALSE(outcome.recorded);
    EXPECT_EQ(state, before);
    EXPECT_EQ(dialogs.texts(), QStringList{QString::fromLatin1(c.message)});
    EXPECT_EQ(results(), "<missing>");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RecordingFault,
    ::testing::Values(
        // w = 1 - y / 128 is zero at y = 128
        FaultCase{"ZeroDenominator", {0, 1, 0, 0, -0.0078125, 0, 0, 1}, 10, 128,
                  "Calculation error (division by zero) while mapping a screen point to the water. "
                  "Nothing was changed."},
        FaultCase{"SurveyOverflow", {1e308, 1e308, 0, 0, 0, 0, 0, 1}, 10, 10,
                  "Calculation error (overflow) while mapping a screen point to the water. Nothing was changed."},
        // A finite water point whose distance cannot be rounded to 4 decimals.
        FaultCase{"DistanceOverflow", {1e305, 0, 0, 0, 0, 0, 0, 0}, 10, 10,
                  "Calculation error (overflow) while computing the jump distance. Nothing was changed."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MeasureJump, NonFiniteMarkIsAFault)
{
    const auto r = MeasureJump({0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, std::numeric_limits<double>::quiet_NaN(), 0,
                               TournamentType::Normal, false);
    EXPECT_FALSE(r.has_value());
}

} // namespace

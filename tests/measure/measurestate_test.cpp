#include "measure/measurestate.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "measure/exchangedirectory.h"
#include "measure/jumpnotes.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(StatusOptions, ClicksSetTheComment)
{
    struct Case {
        StatusOption option;
        const char* comment;
    };
    const Case cases[] = {
        {StatusOption::Pass, "Pass"},
        {StatusOption::Fall, "Fall"},
        {StatusOption::Other_Grid, "Distance from other grid"},
        {StatusOption::optJumpOK, "kept"}, // no handler of its own
    };
    for (const Case& c : cases) {
        MeasureState state;
        state.Comment = QStringLiteral("kept");
        state.selectedOption = StatusOption::None;
        ClickStatusOption(state, c.option);
        EXPECT_EQ(state.Comment, c.comment);
        EXPECT_EQ(state.selectedOption, c.option);
    }
}

TEST(JumpNumber, AdvancesWithTheLeadingBlank)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Jump", " 1"}, {"1", " 2"}, {" 7", " 8"}, {"7", " 8"}, {"", " 1"}, {"2b", " 3"}, {"-1", " 0"}};
    for (const auto& [before, after] : cases)
        EXPECT_EQ(NextJumpNumber(before), after) << before;
}

TEST(SkierName, ChangeRestartsTheJumpNumber)
{
    MeasureState state;
    state.Jump_no = QStringLiteral(" 4");
    state.distance = QStringLiteral(" 45.2m");
    state.distance_ft = QStringLiteral(" 148ft");
    SkierNameChanged(state, QStringLiteral("Ann Lee"));
    EXPECT_EQ(state.Skier_name, "Ann Lee");
    EXPECT_EQ(state.Jump_no, "1");
    EXPECT_EQ(state.distance, "");
    EXPECT_EQ(state.distance_ft, "");
}

TEST(VerifyMode, TogglesTheCaption)
{
    MeasureState state;
    EXPECT_EQ(VerifyCaption(state), "Verify");
    EXPECT_EQ(ToggleVerifyMode(state), "Verify off");
    EXPECT_TRUE(state.verifyMode);
    EXPECT_EQ(ToggleVerifyMode(state), "Verify");
    EXPECT_FALSE(state.verifyMode);
}

TEST(EndJump, ResetsForTheNextJumpAndDeletesSnapshots)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ExchangeDirectory exchange(dir.path());
    for (const char* name : {"snapshot.bmp", "qxraw.dst"}) {
        QFile f(exchange.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    MeasureState state;
    state.Jump_no = QStringLiteral("7");
    state.distance = QStringLiteral(" 45.2m");
    state.distance_ft = QStringLiteral(" 148ft");
    state.selectedOption = StatusOption::Fall;
    state.Comment = QStringLiteral("Fall");
    state.frameFrozen = true;
    state.markX = 100;

    EndJump(state, exchange);
    EXPECT_EQ(state.distance, "m");
    EXPECT_EQ(state.distance_ft, "ft");
    EXPECT_EQ(state.Jump_no, " 8");
    EXPECT_EQ(state.selectedOption, StatusOption::optJumpOK);
    EXPECT_EQ(state.Comment, "");
    EXPECT_FALSE(state.frameFrozen);
    EXPECT_EQ(state.markX, 100);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"qxraw.dst"});
}

class NoteLines : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ConfigState config;
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(14, 3, 11))};
    ScriptedDialogs dialogs;
    MeasureState state;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        config.resultsFilePath = dir.filePath(QStringLiteral("JumpMeasurementResults120726.txt"));
        state.distance = QStringLiteral(" 45.2m");
        state.distance_ft = QStringLiteral(" 148ft");
    }

    bool click(StatusOption option) { return WriteNoteLine(state, option, config, dialogs, clock); }
    QByteArray results() const { return FileBytes(config.resultsFilePath); }
};

struct NoteCase {
    const char* name;
    StatusOption option;
    bool frozen;
    const char* line;
    StatusOption selectedAfter;
    const char* distanceAfter;
};

class NoteLineCases : public NoteLines, public ::testing::WithParamInterface<NoteCase> {};

TEST_P(NoteLineCases, WritesTheNoteAndResets)
{
    const NoteCase& c = GetParam();
    state.frameFrozen = c.frozen;
    if (c.option == StatusOption::Make_comment)
        dialogs.type("Wind gust at the ramp");
    ASSERT_TRUE(click(c.option));
    EXPECT_EQ(results(), QByteArray(c.line) + "\r\n");
    EXPECT_EQ(state.Comment, "");
    EXPECT_EQ(state.selectedOption, c.selectedAfter);
    EXPECT_EQ(state.distance, c.distanceAfter);
    EXPECT_EQ(state.distance_ft, *c.distanceAfter ? " 148ft" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Notes, NoteLineCases,
    ::testing::Values(
        NoteCase{"MandatoryLive", StatusOption::M_Reride, false,
                 "12-07-2026 14:03:11 Mandatory Reride - disregard last jump", StatusOption::None, ""},
        NoteCase{"MandatoryFrozen", StatusOption::M_Reride, true,
                 "12-07-2026 14:03:11 Mandatory Reride - disregard last jump", StatusOption::M_Reride, ""},
        NoteCase{"OptionalLive", StatusOption::O_reride, false, "12-07-2026 14:03:11 Optional Reride on previous jump",
                 StatusOption::None, " 45.2m"},
        NoteCase{"OptionalFrozen", StatusOption::O_reride, true,
                 "12-07-2026 14:03:11 Optional Reride on previous jump", StatusOption::O_reride, " 45.2m"},
        NoteCase{"CommentLive", StatusOption::Make_comment, false, "12-07-2026 14:03:11 Wind gust at the ramp",
                 StatusOption::None, " 45.2m"},
        NoteCase{"CommentFrozen", StatusOption::Make_comment, true, "12-07-2026 14:03:11 Wind gust at the ramp",
                 StatusOption::None, " 45.2m"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NoteLines, CommentPromptIsAsked)
{
    dialogs.type("Late start");
    ASSERT_TRUE(click(StatusOption::Make_comment));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, ScriptedDialogs::Kind::Input);
    EXPECT_EQ(dialogs.shown()[0].text, "What comment would you like to add?");
    EXPECT_EQ(dialogs.shown()[0].title, "Input Comment");
}

TEST_F(NoteLines, CancelledCommentWritesAnEmptyNote)
{
    dialogs.cancelInput();
    ASSERT_TRUE(click(StatusOption::Make_comment));
    EXPECT_EQ(results(), "12-07-2026 14:03:11 \r\n");
}

TEST_F(NoteLines, UnwritableResultsFileLeavesTheStateAsItWas)
{
    config.resultsFilePath = dir.filePath(QStringLiteral("gone/results.txt"));
    const MeasureState before = state;
    EXPECT_FALSE(click(StatusOption::M_Reride));
    EXPECT_EQ(state, before);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith("The note was not recorded: the results file "
                                                   + config.resultsFilePath))
        << dialogs.shown()[0].text.toStdString();
}

TEST_F(NoteLines, OtherOptionsWriteNothing)
{
    EXPECT_FALSE(click(StatusOption::Pass));
    EXPECT_EQ(results(), "<missing>");
}

} // namespace

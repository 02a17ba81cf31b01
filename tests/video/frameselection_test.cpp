#include "video/frameselection.h"
#include "video/replayloop.h"
#include "video/skiernamefix.h"

#include "support/filebytes.h"
#include "support/scripteddialogs.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct OffsetCase {
    double rate;
    bool barefoot;
    int64_t frames;
};

class EndOffset : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(EndOffset, TwentySecondsOrFifteenBarefoot)
{
    const OffsetCase& c = GetParam();
    EXPECT_EQ(EndOffsetFrames(c.rate, c.barefoot), c.frames) << c.rate << (c.barefoot ? " barefoot" : "");
}

INSTANTIATE_TEST_SUITE_P(Rates, EndOffset,
                         ::testing::Values(OffsetCase{30.0, false, 599}, OffsetCase{30.0, true, 450},
                                           OffsetCase{25.0, false, 500}, OffsetCase{25.0, true, 375},
                                           OffsetCase{29.97, false, 599}, OffsetCase{60.0, false, 1200},
                                           // 12.5 x 20 = 250 exactly; 0.1 x 15 = 1.5 goes to the even 2.
                                           OffsetCase{12.5, false, 250}, OffsetCase{0.1, true, 2},
                                           OffsetCase{0.0, false, 0}));

TEST(RoundFrame, HalvesGoToTheEvenFrame)
{
    EXPECT_EQ(RoundFrameHalfEven(2.5), 2);
    EXPECT_EQ(RoundFrameHalfEven(3.5), 4);
    EXPECT_EQ(RoundFrameHalfEven(-0.5), 0);
    EXPECT_EQ(RoundFrameHalfEven(137.49), 137);
    EXPECT_EQ(RoundFrameHalfEven(std::nan("")), 0);
}

struct HeldCase {
    const char* typed;
    int lowest;
    int highest;
    const char* shown; // nullptr: the box stays as typed
};

class SecondsBox : public ::testing::TestWithParam<HeldCase> {};

TEST_P(SecondsBox, IsHeldWithinItsRange)
{
    const HeldCase& c = GetParam();
    const auto held = HeldSecondsText(QString::fromLatin1(c.typed), c.lowest, c.highest);
    if (!c.shown)
        EXPECT_FALSE(held.has_value()) << c.typed;
    else
        EXPECT_EQ(held.value_or(QStringLiteral("<kept>")), QString::fromLatin1(c.shown)) << c.typed;
}

INSTANTIATE_TEST_SUITE_P(Boxes, SecondsBox,
                         ::testing::Values(HeldCase{"0", 1, 5, "1"}, HeldCase{"", 1, 5, "1"},
                                           HeldCase{"abc", 1, 5, "1"}, HeldCase{"3", 1, 5, nullptr},
                                           HeldCase{"5", 1, 5, nullptr}, HeldCase{"5.5", 1, 5, "5"},
                                           HeldCase{"0.99", 1, 22, "1"}, HeldCase{"30", 1, 22, "22"},
                                           HeldCase{"22", 1, 22, nullptr}, HeldCase{"1.5", 1, 22, nullptr}));

TEST(ReplayWindows, BeforeStartPlaysTheSecondsUpToTheStart)
{
    const ReplayWindow w = BeforeStartWindow(100, 2.0, 30.0);
    EXPECT_EQ(w.selectionStart, 40);
    EXPECT_EQ(w.selectionEnd, 100);
    EXPECT_EQ(w.timerIntervalMs, 2300);
    EXPECT_EQ(ReplayIntervalMs(2.5), 2800);
}

TEST(ReplayWindows, BeforeStartBelowFrameOneStartsAtZeroWithAShorterWait)
{
    // 61 - 2 x 30 = 1: the window would reach frame 1, so it starts at 0.
    const ReplayWindow w = BeforeStartWindow(61, 2.0, 30.0);
    EXPECT_EQ(w.selectionStart, 0);
    EXPECT_EQ(w.selectionEnd, 61);
    EXPECT_EQ(w.timerIntervalMs, 2333); // 61 / 30 s + 300 ms
    // 62 - 60 = 2 is above frame 1: the full window and wait.
    EXPECT_EQ(BeforeStartWindow(62, 2.0, 30.0).selectionStart, 2);
    EXPECT_EQ(BeforeStartWindow(62, 2.0, 30.0).timerIntervalMs, 2300);
    // 1 / 16 s = 62.5 ms: the half goes to the even millisecond.
    EXPECT_EQ(BeforeStartWindow(1, 2.0, 16.0).timerIntervalMs, 362);
    EXPECT_EQ(BeforeStartWindow(3, 2.0, 16.0).timerIntervalMs, 488); // 187.5 -> 488
}

TEST(ReplayWindows, StartFrameZeroStillPlaysOneFrame)
{
    const ReplayWindow w = BeforeStartWindow(0, 2.0, 30.0);
    EXPECT_EQ(w.selectionStart, 0);
    EXPECT_EQ(w.selectionEnd, 1);
    EXPECT_EQ(w.timerIntervalMs, 300);
}

TEST(ReplayWindows, WithoutARateTheFullWaitStands)
{
    const ReplayWindow w = BeforeStartWindow(1, 2.0, 0.0);
    EXPECT_EQ(w.selectionStart, 0);
    EXPECT_EQ(w.timerIntervalMs, 2300);
}

TEST(ReplayWindows, BeforeAndAfterTheEnd)
{
    const ReplayWindow before = BeforeEndWindow(699, 5.0, 30.0);
    EXPECT_EQ(before.selectionStart, 549);
    EXPECT_EQ(before.selectionEnd, 699);
    EXPECT_EQ(before.timerIntervalMs, 5300);
    // 22 seconds before an end at 599 would start before the file.
    EXPECT_EQ(BeforeEndWindow(599, 22.0, 30.0).selectionStart, 0);
    const ReplayWindow after = AfterEndWindow(699, 30.0);
    EXPECT_EQ(after.selectionStart, 699);
    EXPECT_EQ(after.selectionEnd, 759);
    EXPECT_EQ(after.timerIntervalMs, 2100);
}

TEST(FileTooShort, NamesTheLengthTheEndAndTheSecondsToCapture)
{
    EXPECT_EQ(FileTooShortMessage(600, 699, false),
              QStringLiteral("I am sorry, but the file is only 600 frames long and the start position you have "
                             "selected means that the end should be at frame 699 which is not possible with this "
                             "file. You may have to recapture from the video recorder if you did not capture a full "
                             "20 seconds from the start of the run."));
    EXPECT_TRUE(FileTooShortMessage(40000, 40450, true)
                    .endsWith(QStringLiteral("frame 40450 which is not possible with this file. You may have to "
                                             "recapture from the video recorder if you did not capture a full 15 "
                                             "seconds from the start of the run.")));
}

TEST(DiskSpace, DriveComesFromTheVideoDirectory)
{
    EXPECT_EQ(DiskDriveOf(QStringLiteral("D:\\jumps\\")), QStringLiteral("D:"));
    EXPECT_EQ(DiskDriveOf(QStringLiteral("e:videos")), QStringLiteral("e:"));
    EXPECT_EQ(DiskDriveOf(QStringLiteral("\\\\server\\share\\jumps")), QStringLiteral("C:"));
    EXPECT_EQ(DiskDriveOf(QStringLiteral("/srv/jumps")), QStringLiteral("C:"));
    EXPECT_EQ(DiskDriveOf(QString()), QStringLiteral("C:"));
}

TEST(DiskSpace, WholeMegabytesAndTheLowWarningBelow200)
{
    const DiskSpaceDisplay low = DiskSpaceDisplayFor(QStringLiteral("D:"), 199'999'999u);
    EXPECT_EQ(low.driveCaption, QStringLiteral("Disk Space Available D:"));
    EXPECT_EQ(low.freeText, QStringLiteral("199 MB"));
    EXPECT_TRUE(low.low);
    const DiskSpaceDisplay enough = DiskSpaceDisplayFor(QStringLiteral("D:"), 200'000'000u);
    EXPECT_EQ(enough.freeText, QStringLiteral("200 MB"));
    EXPECT_FALSE(enough.low);
    EXPECT_EQ(DiskSpaceDisplayFor(QStringLiteral("C:"), 8'000'000'000'000u).freeText, QStringLiteral("8000000 MB"));
}

TEST(InfoCompanion, OneLineWithThePathAndTheContactFrame)
{
    QTemporaryDir dir;
    const QString video = dir.filePath(QStringLiteral("Skier1jump2.avi"));
    ASSERT_TRUE(WriteInfoCompanion(video, 137));
    EXPECT_EQ(InfoCompanionPath(video), video + QStringLiteral(".info"));
    EXPECT_EQ(FileBytes(video + QStringLiteral(".info")), (video + QStringLiteral(", 137\r\n")).toLatin1());
    EXPECT_EQ(ReadInfoCompanionFrame(video).value_or(QStringLiteral("<none>")), QStringLiteral("137"));
    // A second acceptance replaces the line.
    ASSERT_TRUE(WriteInfoCompanion(video, 0));
    EXPECT_EQ(FileBytes(video + QStringLiteral(".info")), (video + QStringLiteral(", 0\r\n")).toLatin1());
    EXPECT_EQ(InfoCompanionLine(QStringLiteral("D:\\videos\\Skier1jump2.avi"), 137),
              QStringLiteral("D:\\videos\\Skier1jump2.avi, 137"));
}

TEST(InfoCompanion, ReadingTakesTheFrameAfterTheLastComma)
{
    QTemporaryDir dir;
    const QString video = dir.filePath(QStringLiteral("Smith,Ann jump1.avi"));
    ASSERT_TRUE(WriteInfoCompanion(video, 42));
    EXPECT_EQ(ReadInfoCompanionFrame(video).value_or(QString()), QStringLiteral("42"));
}

TEST(InfoCompanion, MissingOrDamagedGivesNothing)
{
    QTemporaryDir dir;
    const QString video = dir.filePath(QStringLiteral("Ajump1.avi"));
    EXPECT_FALSE(ReadInfoCompanionFrame(video).has_value());
    for (const QByteArray& damaged : {QByteArray(""), QByteArray("no comma here\r\n"), QByteArray("path,\r\n")}) {
        QFile f(video + QStringLiteral(".info"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(damaged);
        f.close();
        EXPECT_FALSE(ReadInfoCompanionFrame(video).has_value()) << damaged.constData();
    }
    // A companion that cannot be written is reported, not claimed.
    EXPECT_FALSE(WriteInfoCompanion(dir.filePath(QStringLiteral("missing/Ajump1.avi")), 5));
}

// ---------------------------------------------------------------------------
// Replay loop

ReplayTickInputs endAt699(bool playAfter = false)
{
    return {699, 5.0, 30.0, playAfter};
}

TEST(ReplayLoop, StartLoopOfOneEndsAtTheFirstTick)
{
    ReplayLoopState state{.startLoopActive = true, .loopsLeft = 1};
    const ReplayStep step = ReplayLoopTick(state, endAt699(), 2300);
    EXPECT_FALSE(state.startLoopActive);
    EXPECT_FALSE(state.endLoopActive);
    EXPECT_EQ(step.displaySize, PlayerDisplaySize::normal);
    EXPECT_TRUE(step.restorePlayerSize);
    EXPECT_EQ(step.focus, ReplayFocus::PlayBeforeStart);
    EXPECT_FALSE(step.play);
    EXPECT_FALSE(step.restartTimerMs.has_value());
}

TEST(ReplayLoop, StartLoopOfThreePlaysTwiceMoreEachTimed)
{
    ReplayLoopState state{.startLoopActive = true, .loopsLeft = 3};
    for (int replay = 0; replay < 2; ++replay) {
        const ReplayStep step = ReplayLoopTick(state, endAt699(), 2300);
        EXPECT_TRUE(step.play);
        EXPECT_EQ(step.restartTimerMs, 2300);
        EXPECT_FALSE(step.selection.has_value()); // the same window again
        EXPECT_TRUE(state.startLoopActive);
    }
    EXPECT_EQ(ReplayLoopTick(state, endAt699(), 2300).focus, ReplayFocus::PlayBeforeStart);
    EXPECT_FALSE(state.startLoopActive);
}

TEST(ReplayLoop, EndLoopOfOneEndsOnTheEndFrame)
{
    ReplayLoopState state{.endLoopActive = true, .loopsLeft = 1};
    const ReplayStep step = ReplayLoopTick(state, endAt699(), 5300);
    EXPECT_FALSE(state.endLoopActive);
    EXPECT_EQ(step.displaySize, PlayerDisplaySize::afterEndLoop);
    EXPECT_EQ(step.focus, ReplayFocus::PlayBeforeEnd);
    EXPECT_FALSE(step.play);
}

TEST(ReplayLoop, PlayToEndPausesThenContinuesTwoSeconds)
{
    ReplayLoopState state{.endLoopActive = true, .loopsLeft = 1};
    const ReplayStep continuation = ReplayLoopTick(state, endAt699(true), 5300);
    EXPECT_TRUE(continuation.uncheckPlayAfter);
    ASSERT_TRUE(continuation.selection.has_value());
    EXPECT_EQ(continuation.selection->selectionStart, 699);
    EXPECT_EQ(continuation.selection->selectionEnd, 759);
    EXPECT_TRUE(continuation.play);
    EXPECT_EQ(continuation.restartTimerMs, 2100);
    EXPECT_TRUE(state.afterPlaying);
    EXPECT_TRUE(state.endLoopActive);

    // The box is unticked now; the next tick ends the loop on the before-end
    // window, ready to be played again.
    const ReplayStep end = ReplayLoopTick(state, endAt699(false), 2100);
    ASSERT_TRUE(end.selection.has_value());
    EXPECT_EQ(end.selection->selectionStart, 549);
    EXPECT_EQ(end.selection->selectionEnd, 699);
    EXPECT_FALSE(state.endLoopActive);
    EXPECT_FALSE(state.afterPlaying);
    EXPECT_EQ(end.displaySize, PlayerDisplaySize::normal);
    EXPECT_EQ(end.focus, ReplayFocus::PlayAndPause);
    EXPECT_FALSE(end.play);
}

TEST(ReplayLoop, EndLoopOfTwoPlaysTheWindowAgain)
{
    ReplayLoopState state{.endLoopActive = true, .loopsLeft = 2};
    const ReplayStep again = ReplayLoopTick(state, endAt699(), 5300);
    EXPECT_TRUE(again.play);
    EXPECT_EQ(again.restartTimerMs, 5300);
    EXPECT_TRUE(state.endLoopActive);
    EXPECT_EQ(ReplayLoopTick(state, endAt699(), 5300).focus, ReplayFocus::PlayBeforeEnd);
    EXPECT_FALSE(state.endLoopActive);
}

TEST(ReplayLoop, NoLoopActiveDoesNothing)
{
    ReplayLoopState state;
    const ReplayStep step = ReplayLoopTick(state, endAt699(true), 5300);
    EXPECT_FALSE(step.play);
    EXPECT_FALSE(step.selection.has_value());
    EXPECT_FALSE(step.restartTimerMs.has_value());
    EXPECT_FALSE(step.uncheckPlayAfter);
}

// ---------------------------------------------------------------------------
// Skier-name fix

TEST(SkierNameFix, EmptyAnswersAreAskedAgainThenJumpOne)
{
    ScriptedDialogs dialogs;
    dialogs.type(QString()).cancelInput().type(QStringLiteral("Ann"));
    const FixedSkierName fixed = AskFixedSkierName(dialogs, QStringLiteral("/v/"), QStringLiteral("/v/XAnnjump3.avi"),
                                                   QStringLiteral("XAnn"), QStringLiteral(" 3 "),
                                                   [](const QString&) { return false; });
    EXPECT_EQ(fixed.name, QStringLiteral("Ann"));
    EXPECT_EQ(fixed.videoPath, QStringLiteral("/v/Annjump1.avi"));
    ASSERT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.shown()[0].text, FixSkierNamePrompt());
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Fix the skier's name"));
    EXPECT_EQ(dialogs.shown()[0].initial, QStringLiteral("XAnn"));
    EXPECT_EQ(dialogs.shown()[1].text, QStringLiteral("You must input a name. Please try again "));
    EXPECT_EQ(dialogs.shown()[2].text, QStringLiteral("You must input a name. Please try again "));
    EXPECT_EQ(FixSkierNamePrompt(),
              QStringLiteral("The skier's name was changed to prevent overwriting an existing file. You can change "
                             "the skier's name here if you want. Just modify it in the input box to what it should "
                             "be. "));
}

TEST(SkierNameFix, AnExistingFileAsksAgainWithThePassNumber)
{
    ScriptedDialogs dialogs;
    dialogs.type(QStringLiteral("Ann")).type(QString()).type(QStringLiteral("Bob"));
    const QSet<QString> existing{QStringLiteral("/v/Annjump1.avi")};
    const FixedSkierName fixed = AskFixedSkierName(
        dialogs, QStringLiteral("/v"), QStringLiteral("/v/XAnnjump3.avi"), QStringLiteral("XAnn"),
        QStringLiteral(" 3 "), [&](const QString& path) { return existing.contains(path); });
    EXPECT_EQ(fixed.name, QStringLiteral("Bob"));
    EXPECT_EQ(fixed.videoPath, QStringLiteral("/v/Bobjump3.avi"));
    ASSERT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.shown()[1].text,
              QStringLiteral("I am sorry, there is an existing file using that name and jump.  Please try again "));
    EXPECT_EQ(dialogs.shown()[2].text, MustInputNamePrompt());
}

TEST(SkierNameFix, TheRecordingsOwnPathDoesNotLoop)
{
    ScriptedDialogs dialogs;
    dialogs.type(QStringLiteral("XAnn"));
    const FixedSkierName fixed = AskFixedSkierName(dialogs, QStringLiteral("/v"), QStringLiteral("/v/XAnnjump1.avi"),
                                                   QStringLiteral("XAnn"), QStringLiteral("1"),
                                                   [](const QString&) { return true; });
    EXPECT_EQ(fixed.videoPath, QStringLiteral("/v/XAnnjump1.avi"));
    EXPECT_EQ(dialogs.shown().size(), 1u);
}

TEST(SkierNameFix, RenameMovesTheRecordingOrSaysWhy)
{
    QTemporaryDir dir;
    const QString recorded = dir.filePath(QStringLiteral("XAnnjump1.avi"));
    QFile f(recorded);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("RIFF");
    f.close();
    const QString renamed = dir.filePath(QStringLiteral("Annjump1.avi"));
    ASSERT_TRUE(RenameRecording(recorded, renamed));
    EXPECT_FALSE(QFile::exists(recorded));
    EXPECT_EQ(FileBytes(renamed), QByteArray("RIFF"));
    EXPECT_TRUE(RenameRecording(renamed, renamed));
    const auto failed = RenameRecording(recorded, dir.filePath(QStringLiteral("other.avi")));
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().path, recorded);
}

} // namespace

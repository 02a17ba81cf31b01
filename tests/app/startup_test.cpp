#include "app/configload.h"
#include "app/configstate.h"
#include "app/settingsstore.h"
#include "app/startup.h"
#include "common/clock.h"
#include "grid/calibrationstate.h"
#include "grid/gridfile.h"
#include "grid/gridcontext.h"
#include "grid/gridscreeneffects.h"
#include "grid/gridsetupfields.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using Answer = OperatorDialogs::Answer;
using Kind = ScriptedDialogs::Kind;

const QString directoryPrompt = QStringLiteral(
    "No Correct Save Video Directory has been set.  Please put in the path of the Save Video Directory "
    "here.");
const QString invalidPath = QStringLiteral("You entered an invalid path - try  again");
const QString resetQuestion = QStringLiteral("Do you want to reset all parameters to install values?");
const QString certainQuestion =
    QStringLiteral("Are you certain? This means you are crashing and can't operate");

// 3 July 2026, 09:05:07.
QDateTime morning()
{
    return QDateTime(QDate(2026, 7, 3), QTime(9, 5, 7));
}

class StartupTest : public ::testing::Test {
protected:
    StartupTest() : m_settings(m_dir.filePath(QStringLiteral("settings.ini"))) {}

    // A directory that exists, inside the temporary folder.
    QString makeDirectory(const QString& name)
    {
        EXPECT_TRUE(QDir(m_dir.path()).mkpath(name));
        return m_dir.filePath(name);
    }

    // Every key of the settings file, as stored.
    std::map<QString, QString> storedKeys() const
    {
        QSettings raw(m_dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        raw.beginGroup(QStringLiteral("Settings"));
        std::map<QString, QString> result;
        const QStringList keys = raw.childKeys();
        for (const QString& key : keys)
            result[key] = raw.value(key).toString();
        return result;
    }

    QTemporaryDir m_dir;
    SettingsStore m_settings;
    ScriptedDialogs m_dialogs;
    ConfigState m_config;
};

// ---- emergency reset ----

TEST_F(StartupTest, ResetDeclinedAtTheFirstQuestionTouchesNothing)
{
    m_settings.WriteSetting(QStringLiteral("logpath"), QStringLiteral("/videos"));
    const auto before = storedKeys();
    m_dialogs.answer(Answer::No);
    EmergencyReset(m_settings, m_dialogs);

    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    const auto& box = m_dialogs.shown()[0];
    EXPECT_EQ(box.text, resetQuestion);
    EXPECT_EQ(box.title, QStringLiteral("Emergency Parameter Reset"));
    EXPECT_EQ(box.icon, OperatorDialogs::Icon::Question);
    EXPECT_EQ(box.buttons, OperatorDialogs::Buttons::YesNo);
    EXPECT_EQ(box.defaultButton, std::optional<Answer>(Answer::No));
    EXPECT_EQ(storedKeys(), before);
}

TEST_F(StartupTest, ResetDeclinedAtTheSecondQuestionTouchesNothing)
{
    m_settings.WriteSetting(QStringLiteral("device"), QStringLiteral("2"));
    const auto before = storedKeys();
    m_dialogs.answer(Answer::Yes).answer(Answer::No);
    EmergencyReset(m_settings, m_dialogs);
    EXPECT_EQ(m_dialogs.texts(), (QStringList{resetQuestion, certainQuestion}));
    EXPECT_EQ(storedKeys(), before);
}

TEST_F(StartupTest, ResetYesToEveryKeyWritesInstallValuesAndNothingElse)
{
    m_settings.WriteSetting(QStringLiteral("logpath"), QStringLiteral(" C:\\Videos\\ "));
    m_settings.WriteSetting(QStringLiteral("logfile"), QStringLiteral("JumpMeasurementLog070226.txt"));
    m_settings.WriteSetting(QStringLiteral("barefoot"), QStringLiteral("1"));
    m_settings.WriteSetting(QStringLiteral("compression"), QStringLiteral("3"));
    // device never written: shown as "0".
    m_settings.WriteSetting(QStringLiteral("framerate"), QStringLiteral("30"));
    m_settings.WriteSetting(QStringLiteral("grid1File"), QStringLiteral("C:\\Grids\\a.ipt"));
    m_settings.WriteSetting(QStringLiteral("grid2File"), QString());
    m_settings.WriteSetting(QStringLiteral("grid3File"), QStringLiteral("c.ipt"));
    m_settings.WriteSetting(QStringLiteral("grids"), QStringLiteral("3"));
    m_settings.WriteSetting(QStringLiteral("VideoResolution"), QStringLiteral("2"));
    m_settings.WriteSetting(QStringLiteral("TournamentName"), QStringLiteral("Lake Open"));

    for (int i = 0; i < 10; ++i)
        m_dialogs.answer(Answer::Yes);
    EmergencyReset(m_settings, m_dialogs);

    EXPECT_EQ(m_dialogs.texts(), (QStringList{
                                     resetQuestion,
                                     certainQuestion,
                                     QStringLiteral("Logpath =  C:\\Videos\\  Clear it?"),
                                     QStringLiteral("barefoot = 1 Clear it?"),
                                     QStringLiteral("compression = 3 Clear it?"),
                                     QStringLiteral("device = 0 Clear it?"),
                                     QStringLiteral("framerate = 30 Clear it?"),
                                     QStringLiteral("Grid 1 File = C:\\Grids\\a.ipt Clear it?"),
                                     QStringLiteral("Grid 2 File =  Clear it?"),
                                     QStringLiteral("Grid 3 File = c.ipt Clear it?"),
                                 }));
    for (const auto& box : m_dialogs.shown()) {
        EXPECT_EQ(box.title, QStringLiteral("Emergency Parameter Reset"));
        EXPECT_EQ(box.icon, OperatorDialogs::Icon::Question);
        EXPECT_EQ(box.buttons, OperatorDialogs::Buttons::YesNo);
        EXPECT_EQ(box.defaultButton, std::optional<Answer>(Answer::No));
    }

    const std::map<QString, QString> expected = {
        {QStringLiteral("logpath"), QString()},
        {QStringLiteral("logfile"), QString()},
        {QStringLiteral("barefoot"), QStringLiteral("0")},
        {QStringLiteral("compression"), QStringLiteral("0")},
        {QStringLiteral("device"), QStringLiteral("0")},
        {QStringLiteral("framerate"), QStringLiteral("0")},
        {QStringLiteral("grid1file"), QString()},
        {QStringLiteral("grid2file"), QString()},
        {QStringLiteral("grid3file"), QString()},
        {QStringLiteral("grids"), QStringLiteral("3")},
        {QStringLiteral("videoresolution"), QStringLiteral("2")},
        {QStringLiteral("tournamentname"), QStringLiteral("Lake Open")},
    };
    EXPECT_EQ(storedKeys(), expected);
}

TEST_F(StartupTest, ResetClearsOnlyTheKeysAnsweredYes)
{
    m_settings.WriteSetting(QStringLiteral("logpath"), QStringLiteral("/videos"));
    m_settings.WriteSetting(QStringLiteral("logfile"), QStringLiteral("JumpMeasurementLog070226.txt"));
    m_settings.WriteSetting(QStringLiteral("framerate"), QStringLiteral("30"));
    m_settings.WriteSetting(QStringLiteral("grid2File"), QStringLiteral("b.ipt"));
    m_dialogs.answer(Answer::Yes).answer(Answer::Yes);
    // logpath No, barefoot..device No, framerate Yes, grid1 No, grid2 Yes, grid3 No.
    for (Answer a : {Answer::No, Answer::No, Answer::No, Answer::No, Answer::Yes, Answer::No, Answer::Yes,
                     Answer::No})
        m_dialogs.answer(a);
    EmergencyReset(m_settings, m_dialogs);

    const std::map<QString, QString> expected = {
        {QStringLiteral("logpath"), QStringLiteral("/videos")},
        {QStringLiteral("logfile"), QStringLiteral("JumpMeasurementLog070226.txt")},
        {QStringLiteral("framerate"), QStringLiteral("0")},
        {QStringLiteral("grid2file"), QString()},
    };
    EXPECT_EQ(storedKeys(), expected);
    EXPECT_TRUE(m_dialogs.allAnswersUsed());
}

// ---- video directory ----

TEST_F(StartupTest, StoredExistingDirectoryIsUsedWithoutAsking)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    m_settings.WriteSetting(QStringLiteral("logpath"), videos + QLatin1Char('/'));

    const QString text = ObtainVideoDirectory(m_settings, m_dialogs, m_config).value_or(QString());
    EXPECT_TRUE(m_dialogs.shown().empty());
    EXPECT_EQ(text, videos + QLatin1Char('/'));
    EXPECT_EQ(m_config.videoDirectory, videos);
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logpath")), videos + QLatin1Char('/'));
}

TEST_F(StartupTest, StoredDirectoryWithOuterBlanksIsTrimmedForUse)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    const QString stored = QStringLiteral("  ") + videos + QStringLiteral("/ ");
    m_settings.WriteSetting(QStringLiteral("logpath"), stored);

    EXPECT_EQ(ObtainVideoDirectory(m_settings, m_dialogs, m_config), stored);
    EXPECT_TRUE(m_dialogs.shown().empty());
    EXPECT_EQ(m_config.videoDirectory, videos);
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logpath")), stored);
}

TEST_F(StartupTest, FirstRunAsksUntilAnExistingDirectoryIsTyped)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    m_dialogs.type(m_dir.filePath(QStringLiteral("missing"))).type(QString()).type(videos);

    const QString text = ObtainVideoDirectory(m_settings, m_dialogs, m_config).value_or(QString());

    const auto& shown = m_dialogs.shown();
    ASSERT_EQ(shown.size(), 5u);
    for (std::size_t i : {0u, 2u, 4u}) {
        EXPECT_EQ(shown[i].kind, Kind::Input);
        EXPECT_EQ(shown[i].text, directoryPrompt);
        EXPECT_EQ(shown[i].title, QStringLiteral("Input Save Video Files Path"));
    }
    for (std::size_t i : {1u, 3u}) {
        EXPECT_EQ(shown[i].kind, Kind::Message);
        EXPECT_EQ(shown[i].text, invalidPath);
        EXPECT_EQ(shown[i].title, QStringLiteral("Rampscope Measurement"));
        EXPECT_EQ(shown[i].buttons, OperatorDialogs::Buttons::Ok);
    }
    EXPECT_EQ(text, videos);
    EXPECT_EQ(m_config.videoDirectory, videos);
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logpath")), videos);
}

TEST_F(StartupTest, CancelledPromptEndsWithNothingWritten)
{
    m_dialogs.type(m_dir.filePath(QStringLiteral("missing"))).cancelInput();

    EXPECT_EQ(ObtainVideoDirectory(m_settings, m_dialogs, m_config), std::nullopt);
    EXPECT_EQ(m_dialogs.texts(), (QStringList{directoryPrompt, invalidPath, directoryPrompt}));
    EXPECT_TRUE(m_settings.ReadSetting(QStringLiteral("logpath"), QStringLiteral("unset")) == QLatin1String("unset"));
}

TEST_F(StartupTest, StoredDirectoryThatVanishedIsAskedForAgain)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    m_settings.WriteSetting(QStringLiteral("logpath"), m_dir.filePath(QStringLiteral("gone")));
    m_config.videoDirectory = QStringLiteral("stale");
    m_dialogs.type(videos);

    EXPECT_EQ(ObtainVideoDirectory(m_settings, m_dialogs, m_config), videos);
    EXPECT_EQ(m_dialogs.texts(), QStringList{directoryPrompt});
    EXPECT_EQ(m_config.videoDirectory, videos);
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logpath")), videos);
}

TEST_F(StartupTest, TypedDirectoryWithTrailingSeparatorIsStoredAsTyped)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    const QString typed = videos + QLatin1Char('/');
    m_dialogs.type(typed);

    EXPECT_EQ(ObtainVideoDirectory(m_settings, m_dialogs, m_config), typed);
    EXPECT_EQ(m_config.videoDirectory, videos);
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logpath")), typed);
}

TEST_F(StartupTest, TypedDirectoryWithOuterBlanksIsAccepted)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    const QString typed = QStringLiteral(" ") + videos + QStringLiteral("/  ");
    m_dialogs.type(typed);

    EXPECT_EQ(ObtainVideoDirectory(m_settings, m_dialogs, m_config), typed);
    EXPECT_EQ(m_config.videoDirectory, videos);
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logpath")), typed);
}

TEST_F(StartupTest, TypingAFileNameIsNotADirectory)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    const QString file = m_dir.filePath(QStringLiteral("notes.txt"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    m_dialogs.type(file).type(videos);

    ObtainVideoDirectory(m_settings, m_dialogs, m_config);
    EXPECT_EQ(m_dialogs.texts(), (QStringList{directoryPrompt, invalidPath, directoryPrompt}));
}

struct DirectoryTextCase {
    const char* text;
    const char* directory;
};

class VideoDirectoryTextTest : public ::testing::TestWithParam<DirectoryTextCase> {};

TEST_P(VideoDirectoryTextTest, TrimsThenStripsOneSeparator)
{
    const auto& c = GetParam();
    EXPECT_EQ(VideoDirectoryFromText(QString::fromLatin1(c.text)), QString::fromLatin1(c.directory));
}

INSTANTIATE_TEST_SUITE_P(Texts, VideoDirectoryTextTest,
                         ::testing::Values(DirectoryTextCase{"C:\\Videos", "C:\\Videos"},
                                           DirectoryTextCase{"C:\\Videos\\", "C:\\Videos"},
                                           DirectoryTextCase{"C:\\Videos\\\\", "C:\\Videos\\"},
                                           DirectoryTextCase{"  C:\\Videos\\  ", "C:\\Videos"},
                                           DirectoryTextCase{"/data/videos/", "/data/videos"},
                                           DirectoryTextCase{"   ", ""}, DirectoryTextCase{"", ""}));

TEST_F(StartupTest, VideoDirectoryBoxChangeKeepsBlanksAndStripsOneSeparator)
{
    ApplyVideoDirectoryText(m_settings, m_config, QStringLiteral(" D:\\Jump\\"));
    EXPECT_EQ(m_config.videoDirectory, QStringLiteral(" D:\\Jump"));
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logpath")), QStringLiteral(" D:\\Jump\\"));

    ApplyVideoDirectoryText(m_settings, m_config, QStringLiteral("E:/Videos/"));
    EXPECT_EQ(m_config.videoDirectory, QStringLiteral("E:/Videos"));
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logpath")), QStringLiteral("E:/Videos/"));
}

// ---- session start line ----

const QByteArray sessionLine0905 =
    "07-03-2026    09:05:07      Rampscope Measurement Session started  \r\n";

TEST_F(StartupTest, LogNameFollowsTheDate)
{
    EXPECT_EQ(LogFileNameFor(QDate(2026, 7, 3)), QStringLiteral("JumpMeasurementLog070326.txt"));
    EXPECT_EQ(LogFileNameFor(QDate(2031, 12, 25)), QStringLiteral("JumpMeasurementLog122531.txt"));
    const FixedClock clock(morning());
    SetTodaysLogFileName(m_config, clock);
    EXPECT_EQ(m_config.logFileName, QStringLiteral("JumpMeasurementLog070326.txt"));
}

TEST_F(StartupTest, TwoStartsOnOneDayAppendTwoLinesToOneLog)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    FixedClock clock(morning());

    m_config.videoDirectory = videos;
    SetTodaysLogFileName(m_config, clock);
    ASSERT_TRUE(WriteSessionStartLine(m_config, m_settings, clock).has_value());

    ConfigState second;
    second.videoDirectory = videos;
    clock.set(QDateTime(QDate(2026, 7, 3), QTime(14, 30, 0)));
    SetTodaysLogFileName(second, clock);
    ASSERT_TRUE(WriteSessionStartLine(second, m_settings, clock).has_value());

    const QString log = videos + QStringLiteral("/JumpMeasurementLog070326.txt");
    EXPECT_EQ(FileBytes(log),
              sessionLine0905 + "07-03-2026    14:30:00      Rampscope Measurement Session started  \r\n");
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logfile")), QStringLiteral("JumpMeasurementLog070326.txt"));
    EXPECT_EQ(QDir(videos).entryList(QDir::Files), QStringList{QStringLiteral("JumpMeasurementLog070326.txt")});
}

TEST_F(StartupTest, SessionLineGoesAfterWhatTheLogAlreadyHolds)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    const QString log = videos + QStringLiteral("/JumpMeasurementLog070326.txt");
    {
        QFile f(log);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier line\r\n");
    }
    const FixedClock clock(morning());
    m_config.videoDirectory = videos;
    SetTodaysLogFileName(m_config, clock);
    ASSERT_TRUE(WriteSessionStartLine(m_config, m_settings, clock).has_value());
    EXPECT_EQ(FileBytes(log), QByteArray("earlier line\r\n") + sessionLine0905);
}

TEST_F(StartupTest, SessionLineSetsTheLogNameWhenStartUpHasNot)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    const FixedClock clock(morning());
    m_config.videoDirectory = videos;
    ASSERT_TRUE(WriteSessionStartLine(m_config, m_settings, clock).has_value());
    EXPECT_EQ(m_config.logFileName, QStringLiteral("JumpMeasurementLog070326.txt"));
    EXPECT_EQ(FileBytes(videos + QStringLiteral("/JumpMeasurementLog070326.txt")), sessionLine0905);
}

TEST_F(StartupTest, SessionLineSkippedForAnEmptyVideoDirectory)
{
    const FixedClock clock(morning());
    SetTodaysLogFileName(m_config, clock);
    m_settings.WriteSetting(QStringLiteral("logfile"), QStringLiteral("before"));
    EXPECT_TRUE(WriteSessionStartLine(m_config, m_settings, clock).has_value());
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logfile")), QStringLiteral("before"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("JumpMeasurementLog070326.txt")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/JumpMeasurementLog070326.txt")));
}

TEST_F(StartupTest, LogDirectoryRemovedReturnsTheErrorAndWritesNothing)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    const FixedClock clock(morning());
    m_config.videoDirectory = videos;
    SetTodaysLogFileName(m_config, clock);
    m_settings.WriteSetting(QStringLiteral("logfile"), QStringLiteral("JumpMeasurementLog070226.txt"));
    ASSERT_TRUE(QDir(videos).removeRecursively());

    const auto result = WriteSessionStartLine(m_config, m_settings, clock);
    ASSERT_FALSE(result.has_value());
    const QString log = videos + QStringLiteral("/JumpMeasurementLog070326.txt");
    EXPECT_EQ(result.error().path, log);
    EXPECT_FALSE(QFileInfo::exists(videos));
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logfile")), QStringLiteral("JumpMeasurementLog070226.txt"));
    EXPECT_EQ(SessionStartFailureMessage(FileError{log, QStringLiteral("No such file or directory")}),
              QStringLiteral("The session start could not be written to the measurement log ") + log
                  + QStringLiteral(" (No such file or directory). Check that the Save Video Directory "
                                   "still exists."));
}

// The first run as the main screen's load drives it: reset declined, the
// directory asked for, the session line written.
TEST_F(StartupTest, FirstRunWithAnEmptyStore)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    const FixedClock clock(morning());
    m_dialogs.answer(Answer::No).type(m_dir.filePath(QStringLiteral("nope"))).type(videos + QLatin1Char('/'));

    EmergencyReset(m_settings, m_dialogs);
    SetTodaysLogFileName(m_config, clock);
    ObtainVideoDirectory(m_settings, m_dialogs, m_config);
    ASSERT_TRUE(WriteSessionStartLine(m_config, m_settings, clock).has_value());

    EXPECT_EQ(m_dialogs.texts(), (QStringList{resetQuestion, directoryPrompt, invalidPath, directoryPrompt}));
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logpath")), videos + QLatin1Char('/'));
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logfile")), QStringLiteral("JumpMeasurementLog070326.txt"));
    EXPECT_EQ(FileBytes(videos + QStringLiteral("/JumpMeasurementLog070326.txt")), sessionLine0905);
    EXPECT_EQ(GridCountFromSetting(m_settings.ReadSetting(QStringLiteral("grids"), QStringLiteral("0"))), 1);
    EXPECT_EQ(LabelColorFromSettings(m_settings), QStringLiteral("default"));
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("labelcolor")), QStringLiteral("default"));
}

// After a full reset the stored directory is gone, so it is asked for.
TEST_F(StartupTest, FullResetThenTheDirectoryIsAskedFor)
{
    const QString videos = makeDirectory(QStringLiteral("videos"));
    m_settings.WriteSetting(QStringLiteral("logpath"), videos);
    for (int i = 0; i < 10; ++i)
        m_dialogs.answer(Answer::Yes);
    m_dialogs.type(videos);

    EmergencyReset(m_settings, m_dialogs);
    ObtainVideoDirectory(m_settings, m_dialogs, m_config);
    EXPECT_EQ(m_dialogs.texts().back(), directoryPrompt);
    EXPECT_EQ(m_dialogs.texts().size(), 11);
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("logpath")), videos);
}

// ---- rules of the configuration load ----

struct CountCase {
    const char* stored;
    int count;
};

class GridCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(GridCountTest, StoredGridsGiveTheCount)
{
    EXPECT_EQ(GridCountFromSetting(QString::fromLatin1(GetParam().stored)), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Values, GridCountTest,
                         ::testing::Values(CountCase{"0", 1}, CountCase{"", 1}, CountCase{"1", 1},
                                           CountCase{"2", 2}, CountCase{"3", 3}, CountCase{"4", 1},
                                           CountCase{"-2", 1}, CountCase{" 2", 2}, CountCase{"3 grids", 3},
                                           CountCase{"2.5", 1}, CountCase{"two", 1},
                                           CountCase{"1e400", 1}));

struct RateCase {
    const char* rate;
    const char* label;
};

class ConfiguredForTest : public ::testing::TestWithParam<RateCase> {};

TEST_P(ConfiguredForTest, FrameRateChoosesTheLabel)
{
    EXPECT_EQ(ConfiguredForText(QString::fromLatin1(GetParam().rate), QStringLiteral("Label4")),
              QString::fromLatin1(GetParam().label));
}

INSTANTIATE_TEST_SUITE_P(
    Rates, ConfiguredForTest,
    ::testing::Values(RateCase{"12", "Currently Configured for Normal/C"},
                      RateCase{"15", "Currently Configured for L"}, RateCase{"30", "Currently Configured for R"},
                      RateCase{"4", "Label4"}, RateCase{"4.99", "Label4"},
                      RateCase{"5", "Currently Configured for Normal/C"},
                      RateCase{"14.9", "Currently Configured for Normal/C"},
                      RateCase{"24.99", "Currently Configured for L"}, RateCase{"25", "Currently Configured for R"},
                      RateCase{"abc", "Label4"}, RateCase{"", "Label4"},
                      RateCase{" 29.97 fps", "Currently Configured for R"}));

TEST(ConfigLoadRules, ResultsFileIsInTheTrimmedVideoDirectory)
{
    const QDate day(2026, 7, 3);
    EXPECT_EQ(ResultsFilePathFor(QStringLiteral(" /data/videos/ "), day),
              QStringLiteral("/data/videos/JumpMeasurementResults070326.txt"));
    EXPECT_EQ(ResultsFilePathFor(QStringLiteral("C:\\Jump\\"), day),
              QStringLiteral("C:\\Jump/JumpMeasurementResults070326.txt"));
    EXPECT_EQ(ResultsFilePathFor(QStringLiteral("/data/videos"), QDate(2027, 1, 9)),
              QStringLiteral("/data/videos/JumpMeasurementResults010927.txt"));
}

TEST_F(StartupTest, LabelColourRule)
{
    struct Case {
        const char* stored;
        const char* chosen;
        const char* storedAfter;
    };
    const Case cases[] = {
        {"white", "white", "white"},     {"black", "black", "black"},
        {"yellow", "yellow", "yellow"},  {"default", "default", "default"},
        {"", "default", "default"},      {"purple", "default", "purple"},
        {"White", "default", "White"},
    };
    for (const Case& c : cases) {
        m_settings.WriteSetting(QStringLiteral("labelcolor"), QString::fromLatin1(c.stored));
        EXPECT_EQ(LabelColorFromSettings(m_settings), QString::fromLatin1(c.chosen)) << c.stored;
        EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("labelcolor")), QString::fromLatin1(c.storedAfter))
            << c.stored;
    }
}

TEST_F(StartupTest, LabelColourNeverWrittenIsStoredAsDefault)
{
    EXPECT_EQ(LabelColorFromSettings(m_settings), QStringLiteral("default"));
    EXPECT_EQ(storedKeys().at(QStringLiteral("labelcolor")), QStringLiteral("default"));
}

TEST(ConfigLoadRules, TournamentTypeSetsTheFlags)
{
    struct Case {
        const char* stored;
        bool barefoot;
        bool sitski;
    };
    const Case cases[] = {
        {"barefoot", true, false}, {"sitski", false, true}, {"normal", false, false},
        {"", false, false},        {"Barefoot", false, false},
    };
    for (const Case& c : cases) {
        ConfigState config;
        config.barefootMode = !c.barefoot;
        config.sitSkiMode = !c.sitski;
        ApplyTournamentTypeSetting(config, QString::fromLatin1(c.stored));
        EXPECT_EQ(config.barefootMode, c.barefoot) << c.stored;
        EXPECT_EQ(config.sitSkiMode, c.sitski) << c.stored;
    }
}

// ---- grid files at the configuration load ----

class GridReloadTest : public StartupTest {
protected:
    GridReloadTest()
        : m_context{m_calibration, m_config, m_settings, m_fields, m_dialogs, m_screens, m_clock}
    {
    }

    QString makeFile(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path;
    }

    struct Call {
        QString path;
        int grid;
        int currentGrid;
        bool reportInProgress;
    };

    GridFileLoader recorder(bool result = true)
    {
        return [this, result](GridContext& context, const QString& path, int grid) {
            m_calls.push_back({path, grid, context.calibration.currentGrid, context.config.reportInProgress});
            return result;
        };
    }

    CalibrationState m_calibration;
    GridSetupFields m_fields;
    GridScreenEffects m_screens;
    FixedClock m_clock{morning()};
    GridContext m_context;
    std::vector<Call> m_calls;
};

TEST_F(GridReloadTest, ExistingFilesLoadFromGridThreeDownToOne)
{
    const QString a = makeFile(QStringLiteral("a.ipt"));
    const QString c = makeFile(QStringLiteral("c.ipt"));
    m_settings.WriteSetting(QStringLiteral("grid1File"), a);
    m_settings.WriteSetting(QStringLiteral("grid2File"), m_dir.filePath(QStringLiteral("gone.ipt")));
    m_settings.WriteSetting(QStringLiteral("grid3File"), c);

    ReloadConfiguredGrids(m_context, recorder());

    ASSERT_EQ(m_calls.size(), 2u);
    EXPECT_EQ(m_calls[0].path, c);
    EXPECT_EQ(m_calls[0].grid, 3);
    EXPECT_EQ(m_calls[0].currentGrid, 3);
    EXPECT_TRUE(m_calls[0].reportInProgress);
    EXPECT_EQ(m_calls[1].path, a);
    EXPECT_EQ(m_calls[1].grid, 1);
    EXPECT_EQ(m_calls[1].currentGrid, 1);
    EXPECT_TRUE(m_calls[1].reportInProgress);
    EXPECT_FALSE(m_config.reportInProgress);
    EXPECT_EQ(m_calibration.currentGrid, 1);
    // The missing grid keeps its setting.
    EXPECT_EQ(m_settings.ReadSetting(QStringLiteral("grid2File")), m_dir.filePath(QStringLiteral("gone.ipt")));
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(GridReloadTest, FailedLoadsStillClearReportInProgress)
{
    m_settings.WriteSetting(QStringLiteral("grid2File"), makeFile(QStringLiteral("b.ipt")));
    m_settings.WriteSetting(QStringLiteral("grid3File"), makeFile(QStringLiteral("c.ipt")));
    ReloadConfiguredGrids(m_context, recorder(false));
    ASSERT_EQ(m_calls.size(), 2u);
    EXPECT_EQ(m_calls[1].grid, 2);
    EXPECT_FALSE(m_config.reportInProgress);
    EXPECT_EQ(m_calibration.currentGrid, 2);
}

TEST_F(GridReloadTest, NoFilesLoadsNothingAndLeavesTheCurrentGrid)
{
    m_calibration.currentGrid = 2;
    m_settings.WriteSetting(QStringLiteral("grid1File"), QString());
    m_settings.WriteSetting(QStringLiteral("grid3File"), m_dir.path()); // a directory is not a set-up file
    ReloadConfiguredGrids(m_context, recorder());
    EXPECT_TRUE(m_calls.empty());
    EXPECT_EQ(m_calibration.currentGrid, 2);
    EXPECT_FALSE(m_config.reportInProgress);
}

// With the real loader: both configured grids come back ready, grid 1 last,
// and loading does not forget the files it loads from.
TEST_F(GridReloadTest, RealSetupFilesAreReloaded)
{
    m_config.gridCount = 2;
    m_config.resultsFilePath = m_dir.filePath(QStringLiteral("JumpMeasurementResults070326.txt"));
    for (int grid : {1, 2}) {
        GridFileContents contents;
        contents.description = QStringLiteral("Grid %1 view").arg(grid);
        for (int i = 0; i < 4; ++i)
            contents.corners[i] = {1000.0 * (i + 1), 500.0 * grid, 10.0 * i, 20.0 + grid};
        contents.coefficients = {1, 2, 3, 0.001, 0.002, 4, 5, 6};
        contents.jumpX = 100 + grid;
        contents.jumpY = 50;
        contents.gridNumber = grid;
        const QString path = m_dir.filePath(QStringLiteral("grid%1.ipt").arg(grid));
        ASSERT_TRUE(writeGridFile(path, contents).has_value());
        ASSERT_TRUE(writeCheckBuoyFile(CheckBuoyFilePath(path), 3000, 2000, QStringLiteral("12.5"),
                                       QStringLiteral("40"))
                        .has_value());
        m_settings.WriteSetting(GridFileKey(grid), path);
    }

    ReloadConfiguredGrids(m_context);

    EXPECT_FALSE(m_config.reportInProgress);
    EXPECT_EQ(m_calibration.currentGrid, 1);
    for (int grid : {1, 2}) {
        const QString path = m_dir.filePath(QStringLiteral("grid%1.ipt").arg(grid));
        EXPECT_TRUE(m_calibration.isReady(grid)) << grid;
        EXPECT_EQ(m_calibration.grid(grid).setupFilePath, path);
        EXPECT_EQ(m_calibration.grid(grid).jumpX, 100.0 + grid);
        EXPECT_EQ(m_settings.ReadSetting(GridFileKey(grid)), path);
    }
    EXPECT_FALSE(m_calibration.isReady(3));
    EXPECT_TRUE(m_dialogs.shown().empty()) << m_dialogs.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(GridReloadTest, GridStatusFollowsTheFile)
{
    m_settings.WriteSetting(QStringLiteral("grid1File"), makeFile(QStringLiteral("a.ipt")));
    m_settings.WriteSetting(QStringLiteral("grid2File"), m_dir.filePath(QStringLiteral("gone.ipt")));
    EXPECT_EQ(GridFileStatusOf(m_settings, 1), GridFileStatus::Present);
    EXPECT_EQ(GridFileStatusOf(m_settings, 2), GridFileStatus::Missing);
    EXPECT_EQ(GridFileStatusOf(m_settings, 3), GridFileStatus::Missing);
    EXPECT_EQ(GridStatusPicture(GridFileStatus::Present), QStringLiteral("SmallSmiley.jpg"));
    EXPECT_EQ(GridStatusPicture(GridFileStatus::Missing), QStringLiteral("SmallCaution.jpg"));
    EXPECT_EQ(GridFileKey(3), QStringLiteral("grid3File"));
}

} // namespace

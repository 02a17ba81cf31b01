#include "measure/measurementlog.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

struct PathCase {
    const char* path;
    const char* skier; // nullptr: not a recorded-file name
    const char* jump;
};

class RecordedVideoPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(RecordedVideoPath, SkierAndJumpComeFromTheName)
{
    const PathCase& c = GetParam();
    const auto name = ParseRecordedVideoPath(QString::fromLatin1(c.path));
    if (!c.skier) {
        EXPECT_FALSE(name.has_value()) << c.path << " -> " << name->skier.toStdString();
        return;
    }
    ASSERT_TRUE(name.has_value()) << c.path;
    EXPECT_EQ(name->skier, c.skier);
    EXPECT_EQ(name->jump, c.jump);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RecordedVideoPath,
    ::testing::Values(PathCase{"C:\\Videos\\Ann Lee jump3.avi", "Ann Lee ", "3"},
                      PathCase{"D:\\videos\\Skier1jump2.avi", "Skier1", "2"},
                      PathCase{"C:\\Videos\\Bobjump123.avi", "Bob", "123"},
                      PathCase{"/home/operator/videos/Skier1jump2.avi", "Skier1", "2"},
                      PathCase{"C:\\Videos/mixed\\XSkier1jump1.avi", "XSkier1", "1"},
                      PathCase{"Skier1jump12.avi", "Skier1", "12"},
                      // fewer than seven characters before ".avi": searched from the start
                      PathCase{"jump1.avi", "", "1"},
                      PathCase{"C:\\Videos\\clip.avi", nullptr, nullptr},
                      // "jump" searched from 7 characters before ".avi" is past its start
                      PathCase{"C:\\Videos\\Bobjump1234.avi", nullptr, nullptr},
                      PathCase{"C:\\Videos\\Skier1jump2.AVI", nullptr, nullptr},
                      PathCase{"C:\\abcjump\\1.avi", nullptr, nullptr},
                      PathCase{"C:\\Videos\\Skier1jump2", nullptr, nullptr}, PathCase{"", nullptr, nullptr}));

class MeasurementLog : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ConfigState config;
    FixedClock clock{QDateTime(QDate(2026, 7, 3), QTime(9, 5, 7))};
    ScriptedDialogs dialogs;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        config.videoDirectory = dir.path();
        config.logFileName = QStringLiteral("JumpMeasurementLog070326.txt");
        config.resultsFilePath = dir.filePath(QStringLiteral("JumpMeasurementResults070326.txt"));
    }
    QByteArray log() const { return FileBytes(dir.filePath(config.logFileName)); }
};

TEST_F(MeasurementLog, ContactFrameLineInPrintZones)
{
    const QString path = QStringLiteral("C:\\Videos\\Ann Lee jump3.avi");
    EXPECT_TRUE(WriteContactFrameLine(config, path, 57, dialogs, clock));
    EXPECT_TRUE(dialogs.shown().empty());
    const QString line = "07-03-2026" + blanks(4) + "09:05:07" + blanks(6) + "Skier: Ann Lee " + blanks(13)
        + "Jump: 3" + blanks(7) + "Contact Frame:  57" + blanks(10) + "File: " + path;
    EXPECT_EQ(log(), line.toLatin1() + "\r\n");

    // A second contact frame goes below the first.
    const QString posix = QStringLiteral("/srv/videos/Skier1jump2.avi");
    EXPECT_TRUE(WriteContactFrameLine(config, posix, 137, dialogs, clock));
    const QString second = "07-03-2026" + blanks(4) + "09:05:07" + blanks(6) + "Skier: Skier1" + blanks(1)
        + "Jump: 2" + blanks(7) + "Contact Frame:  137" + blanks(9) + "File: " + posix;
    EXPECT_EQ(log(), line.toLatin1() + "\r\n" + second.toLatin1() + "\r\n");
    EXPECT_TRUE(log().endsWith("avi\r\n"));
}

TEST_F(MeasurementLog, NonStandardNamesAreNotLogged)
{
    for (const char* path : {"C:\\Videos\\clip.avi", "C:\\Videos\\Bobjump1234.avi"}) {
        dialogs.clear();
        EXPECT_FALSE(WriteContactFrameLine(config, QString::fromLatin1(path), 57, dialogs, clock));
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.shown()[0].text, "Warning, this is not a  standard ZPT file so it will not be saved in "
                                           "the Log for future reference");
        EXPECT_EQ(dialogs.shown()[0].icon, OperatorDialogs::Icon::Warning);
        EXPECT_EQ(log(), "<missing>");
    }
}

TEST_F(MeasurementLog, MissingLogDirectoryIsReported)
{
    config.videoDirectory = dir.filePath(QStringLiteral("gone"));
    EXPECT_FALSE(WriteContactFrameLine(config, "C:\\V\\Skier1jump2.avi", 57, dialogs, clock));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith("The contact frame was not entered in the measurement log "))
        << dialogs.shown()[0].text.toStdString();
}

TEST_F(MeasurementLog, PictureLines)
{
    const QDateTime moment(QDate(2026, 12, 7), QTime(14, 3, 11));
    EXPECT_EQ(PictureSavedResultsLine(moment, "C:\\Captures\\TestSkierjump2.bmp"),
              "12-07-2026 14:03:11 Saved picture: C:\\Captures\\TestSkierjump2.bmp");
    EXPECT_EQ(LoadedPictureResultsLine(moment, "C:\\Captures\\old.gif"),
              "12-07-2026 14:03:11 Loaded picture: C:\\Captures\\old.gif");
    // The capture screen already shows the next jump: 3 - 1 = 2.
    EXPECT_EQ(PictureSavedLogLine(moment, "TestSkier", "3", " 45.2m", "C:\\Captures\\TestSkierjump2.bmp"),
              "12-07-2026" + blanks(4) + "14:03:11" + blanks(6) + "Skier: TestSkier" + blanks(12) + "Jump:  2"
                  + blanks(6) + "Distance:  45.2m" + blanks(12) + "File: C:\\Captures\\TestSkierjump2.bmp");
}

TEST_F(MeasurementLog, LoadedPictureLineIsAppended)
{
    ASSERT_TRUE(AppendLoadedPictureLine(config, "/pics/a.jpg", clock).has_value());
    ASSERT_TRUE(AppendLoadedPictureLine(config, "", clock).has_value());
    EXPECT_EQ(FileBytes(config.resultsFilePath),
              "07-03-2026 09:05:07 Loaded picture: /pics/a.jpg\r\n07-03-2026 09:05:07 Loaded picture: \r\n");

    config.resultsFilePath = dir.filePath(QStringLiteral("gone/results.txt"));
    const auto failed = AppendLoadedPictureLine(config, "/pics/a.jpg", clock);
    ASSERT_FALSE(failed.has_value());
    EXPECT_TRUE(PictureLineFailureMessage(failed.error()).startsWith("The picture line was not written"));
}

} // namespace

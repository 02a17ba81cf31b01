#include "app/logselection.h"

#include "common/textfile.h"
#include "support/qtprinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString videoLine = QStringLiteral(
    "12-07-2026    14:03:11      Skier: Ann    Jump: 2       Contact Frame:  137         File: D:\\v\\Annjump2.avi");
const QString pictureLine = QStringLiteral(
    "12-07-2026    14:05:40      Skier: Ann    Jump: 1       Distance: 45.2              File: D:\\v\\Annjump1.bmp");
const QString sessionLine = QStringLiteral("12-07-2026    09:05:07      Rampscope Measurement Session started  ");

struct LineCase {
    QString line;
    bool video;
    bool picture;
    QString path;
};

TEST(LogSelection, ListedByTheLastThreeCharactersNamingTheFileAfterFile)
{
    const LineCase cases[] = {
        {videoLine, true, false, QStringLiteral("D:\\v\\Annjump2.avi")},
        {pictureLine, false, true, QStringLiteral("D:\\v\\Annjump1.bmp")},
        {sessionLine, false, false, QString()},
        // Listed, but names no file: selecting it gives nothing to view.
        {QStringLiteral("a note about practice.avi"), true, false, QString()},
        // Only the exact ending counts.
        {QStringLiteral("File: D:\\v\\Annjump1.AVI"), false, false, QStringLiteral("D:\\v\\Annjump1.AVI")},
        {QStringLiteral("File: D:\\v\\Annjump1.jpg"), false, false, QStringLiteral("D:\\v\\Annjump1.jpg")},
        // The first "File:" names the path, whatever follows.
        {QStringLiteral("File: /v/File: x.avi"), true, false, QStringLiteral("/v/File: x.avi")},
        {QString(), false, false, QString()},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(LogLineListed(c.line, videoLogEnding), c.video) << c.line.toStdString();
        EXPECT_EQ(LogLineListed(c.line, pictureLogEnding), c.picture) << c.line.toStdString();
        EXPECT_EQ(PathNamedByLogLine(c.line), c.path) << c.line.toStdString();
    }
}

TEST(LogSelection, ListsTheLinesOfALogInOrder)
{
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("JumpMeasurementLog120726.txt"));
    const QString second = QStringLiteral("File: /v/Bobjump1.avi");
    ASSERT_TRUE(AppendLines(log, {sessionLine, videoLine, pictureLine, second}));
    EXPECT_EQ(ListedLogLines(log, videoLogEnding).value_or(QStringList{QStringLiteral("<none>")}),
              (QStringList{videoLine, second}));
    EXPECT_EQ(ListedLogLines(log, pictureLogEnding).value_or(QStringList{QStringLiteral("<none>")}),
              QStringList{pictureLine});

    const QString sessionsOnly = dir.filePath(QStringLiteral("JumpMeasurementLog120826.txt"));
    ASSERT_TRUE(AppendLines(sessionsOnly, {sessionLine, sessionLine}));
    EXPECT_EQ(ListedLogLines(sessionsOnly, videoLogEnding).value_or(QStringList{QStringLiteral("<none>")}),
              QStringList{});

    EXPECT_FALSE(ListedLogLines(dir.filePath(QStringLiteral("missing.txt")), videoLogEnding).has_value());
    EXPECT_FALSE(ListedLogLines(QString(), videoLogEnding).has_value());
    EXPECT_EQ(MeasurementLogFilter(), QStringLiteral("*.txt|JumpMeasurementLog*.txt"));
}

} // namespace

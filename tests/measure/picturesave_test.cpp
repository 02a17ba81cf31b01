#include "measure/picturesave.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

TEST(PictureName, TrimsTheJumpNumber)
{
    struct Case {
        const char* skier;
        const char* jump;
        const char* extension;
        const char* name;
    };
    const Case cases[] = {
        {"TestSkier", "2", ".bmp", "TestSkierjump2.bmp"},
        {"TestSkier", " 3", ".jpg", "TestSkierjump3.jpg"},
        {"Ann Lee", " 12 ", ".gif", "Ann Leejump12.gif"},
        {"TestSkier", "Jump", ".bmp", "TestSkierjumpJump.bmp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PictureFileName(c.skier, c.jump, c.extension), c.name);

    ConfigState config;
    config.pictureExtension = QStringLiteral(".bmp");
    config.capturesDirectory = QStringLiteral("/data/captures/");
    EXPECT_EQ(PicturePath(config, "TestSkier", "2"), "/data/captures/TestSkierjump2.bmp");
    config.capturesDirectory = QStringLiteral("/data/captures");
    EXPECT_EQ(PicturePath(config, "TestSkier", "2"), "/data/captures/TestSkierjump2.bmp");
    EXPECT_EQ(PictureCompanionPath("/data/captures/TestSkierjump2.bmp"), "/data/captures/TestSkierjump2.bmp.info");
}

class PictureSave : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ConfigState config;
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(14, 3, 11))};
    ScriptedDialogs dialogs;
    QImage image{4, 3, QImage::Format_RGB32};
    PictureSaveRequest request{"TestSkier", " 3", " 45.2m", "TestSkier", "4"};

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("captures")));
        config.capturesDirectory = dir.filePath(QStringLiteral("captures")) + QLatin1Char('/');
        config.videoDirectory = dir.path();
        config.logFileName = QStringLiteral("JumpMeasurementLog120726.txt");
        config.resultsFilePath = dir.filePath(QStringLiteral("JumpMeasurementResults120726.txt"));
        config.pictureExtension = QStringLiteral(".jpg");
        image.fill(QColor(10, 200, 30));
        image.setPixelColor(1, 2, QColor(255, 0, 0));
    }

    PictureSaveOutcome save() { return SavePicture(image, request, config, dialogs, clock); }
    QString picture() const { return dir.filePath(QStringLiteral("captures/TestSkierjump3.jpg")); }
    QByteArray results() const { return FileBytes(config.resultsFilePath); }
    QByteArray log() const { return FileBytes(dir.filePath(config.logFileName)); }
};

TEST_F(PictureSave, WritesBitmapLinesAndCompanion)
{
    const PictureSaveOutcome outcome = save();
    EXPECT_TRUE(outcome.complete());
    EXPECT_EQ(outcome.picturePath, picture());

    // The path is shown first, in a box without a title of its own.
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, picture());
    EXPECT_EQ(dialogs.shown()[0].title, OperatorDialogs::applicationTitle());

    // A bitmap whatever the extension says, with the screen's pixels.
    const QByteArray bytes = FileBytes(picture());
    ASSERT_TRUE(bytes.startsWith("BM"));
    const QImage back = QImage::fromData(bytes, "BMP");
    ASSERT_EQ(back.size(), image.size());
    EXPECT_EQ(back.pixelColor(1, 2), QColor(255, 0, 0));
    EXPECT_EQ(back.pixelColor(0, 0), QColor(10, 200, 30));

    EXPECT_EQ(results(), ("12-07-2026 14:03:11 Saved picture: " + picture()).toLatin1() + "\r\n");
    EXPECT_EQ(FileBytes(picture() + ".info"), (picture() + ", TestSkier, 4").toLatin1() + "\r\n");
    const QString logLine = "12-07-2026" + blanks(4) + "14:03:11" + blanks(6) + "Skier: TestSkier" + blanks(12)
        + "Jump:  3" + blanks(6) + "Distance:  45.2m" + blanks(12) + "File: " + picture();
    EXPECT_EQ(log(), logLine.toLatin1() + "\r\n");
    EXPECT_TRUE(log().endsWith("jpg\r\n")); // not listed by the picture log viewer

    // Saved again: the companion is replaced, the daily files grow.
    dialogs.clear();
    EXPECT_TRUE(save().complete());
    EXPECT_EQ(FileBytes(picture() + ".info"), (picture() + ", TestSkier, 4").toLatin1() + "\r\n");
    EXPECT_EQ(results().count('\n'), 2);
    EXPECT_EQ(log().count('\n'), 2);
}

TEST_F(PictureSave, MissingCapturesDirectoryWritesNothing)
{
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("captures"))).removeRecursively());
    const PictureSaveOutcome outcome = save();
    EXPECT_FALSE(outcome.pictureWritten);
    EXPECT_FALSE(outcome.resultsLineWritten);
    EXPECT_FALSE(outcome.companionWritten);
    EXPECT_FALSE(outcome.logLineWritten);
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_TRUE(dialogs.shown()[1].text.startsWith("The picture was not saved as " + picture()))
        << dialogs.shown()[1].text.toStdString();
    EXPECT_EQ(dialogs.shown()[1].icon, OperatorDialogs::Icon::Critical);
    EXPECT_EQ(results(), "<missing>");
    EXPECT_EQ(log(), "<missing>");
    EXPECT_FALSE(QFile::exists(picture() + ".info"));
}

TEST_F(PictureSave, NoPictureOnTheScreenIsReported)
{
    image = QImage();
    const PictureSaveOutcome outcome = save();
    EXPECT_FALSE(outcome.pictureWritten);
    EXPECT_FALSE(QFile::exists(picture()));
    EXPECT_EQ(results(), "<missing>");
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_TRUE(dialogs.shown()[1].text.contains("there is no picture on the screen"));
}

TEST_F(PictureSave, EachLaterFailureIsReportedOnItsOwn)
{
    config.resultsFilePath = dir.filePath(QStringLiteral("gone/results.txt"));
    config.videoDirectory = dir.filePath(QStringLiteral("gone"));
    const PictureSaveOutcome outcome = save();
    EXPECT_TRUE(outcome.pictureWritten);
    EXPECT_FALSE(outcome.resultsLineWritten);
    EXPECT_TRUE(outcome.companionWritten);
    EXPECT_FALSE(outcome.logLineWritten);
    EXPECT_FALSE(outcome.complete());
    const QStringList texts = dialogs.texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[1].startsWith("The picture line was not written to the results file ")) << texts[1].toStdString();
    EXPECT_TRUE(texts[2].startsWith("The saved picture was not entered in the measurement log ")) << texts[2].toStdString();
}

} // namespace

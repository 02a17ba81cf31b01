// The two log viewers on the offscreen platform, reading a real log.
#include "app/configstate.h"
#include "app/logviewers.h"
#include "common/textfile.h"
#include "support/scripteddialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString videoLine = QStringLiteral("12-07-2026    14:03:11      Skier: Ann    File: /v/Annjump2.avi");
const QString noFileLine = QStringLiteral("12-07-2026    14:04:00      practice.avi");
const QString pictureLine = QStringLiteral("12-07-2026    14:05:40      Skier: Ann    File: /v/Annjump1.bmp");
const QString sessionLine = QStringLiteral("12-07-2026    09:05:07      Rampscope Measurement Session started  ");

class LogViewers : public ::testing::Test {
protected:
    void SetUp() override
    {
        config.videoDirectory = dir.path();
        config.logFileName = QStringLiteral("JumpMeasurementLog120726.txt");
        ASSERT_TRUE(AppendLines(todaysLog(), {sessionLine, videoLine, noFileLine, pictureLine}));
    }
    void TearDown() override { EXPECT_TRUE(dialogs.allAnswersUsed()); }

    QString todaysLog() const { return dir.filePath(config.logFileName); }

    template <typename T = QWidget>
    static T* control(QWidget& viewer, const char* name)
    {
        auto* widget = viewer.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static QStringList listed(QListWidget* list)
    {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }

    static void clickLine(QListWidget* list, int row, bool twice = false)
    {
        const QRect at = list->visualItemRect(list->item(row));
        // A double click is a click followed by the second press.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at.center());
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at.center());
    }

    QTemporaryDir dir;
    ConfigState config;
    ScriptedDialogs dialogs;
};

TEST_F(LogViewers, TheVideoLogListsTodaysRecordedVideos)
{
    LogView viewer(config, dialogs);
    viewer.show();
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Log Viewer"));
    EXPECT_EQ(control<QLineEdit>(viewer, "txtLogFile")->text(), todaysLog());
    auto* list = control<QListWidget>(viewer, "lstLog");
    EXPECT_EQ(listed(list), (QStringList{videoLine, noFileLine}));
    EXPECT_EQ(control<QLabel>(viewer, "Label1")->text(), QStringLiteral("Log File to View"));
    EXPECT_EQ(control<QLabel>(viewer, "Label2")->text(),
              QStringLiteral("Click to Select and use View Selected File button to View or Double Click to view"));
    EXPECT_EQ(control<QPushButton>(viewer, "cmdDismiss")->text(), QStringLiteral("Exit Log Viewer"));

    QSignalSpy view(&viewer, &LogViewerBase::viewRequested);
    clickLine(list, 0);
    EXPECT_EQ(viewer.fileToView(), QStringLiteral("/v/Annjump2.avi"));
    clickLine(list, 1); // listed, but it names no file
    EXPECT_EQ(viewer.fileToView(), QString());
    control<QPushButton>(viewer, "cmdView")->click();
    EXPECT_EQ(view.count(), 0);
    EXPECT_TRUE(viewer.isVisible());
    clickLine(list, 1, true);
    EXPECT_EQ(view.count(), 0);

    clickLine(list, 0, true);
    ASSERT_EQ(view.count(), 1);
    EXPECT_EQ(view.at(0).at(0).toString(), QStringLiteral("/v/Annjump2.avi"));
    EXPECT_FALSE(viewer.isVisible());
}

TEST_F(LogViewers, AnotherLogOrACancelledChoice)
{
    const QString other = dir.filePath(QStringLiteral("JumpMeasurementLog120626.txt"));
    const QString olderVideo = QStringLiteral("File: /v/Bobjump3.avi");
    ASSERT_TRUE(AppendLines(other, {sessionLine, olderVideo}));
    LogView viewer(config, dialogs);
    dialogs.chooseFile(other).chooseFile(QString());

    control<QPushButton>(viewer, "cmdSelectLogFile")->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("*.txt|JumpMeasurementLog*.txt"));
    EXPECT_EQ(dialogs.shown()[0].initial, dir.path());
    EXPECT_EQ(control<QLineEdit>(viewer, "txtLogFile")->text(), other);
    EXPECT_EQ(listed(control<QListWidget>(viewer, "lstLog")), QStringList{olderVideo});

    control<QPushButton>(viewer, "cmdSelectLogFile")->click();
    EXPECT_EQ(control<QLineEdit>(viewer, "txtLogFile")->text(), QString());
    EXPECT_EQ(control<QListWidget>(viewer, "lstLog")->count(), 0);
}

TEST_F(LogViewers, AMissingDefaultLogLeavesTheListEmpty)
{
    config.logFileName = QStringLiteral("JumpMeasurementLog010127.txt");
    LogView viewer(config, dialogs);
    EXPECT_EQ(control<QLineEdit>(viewer, "txtLogFile")->text(), QString());
    EXPECT_EQ(control<QListWidget>(viewer, "lstLog")->count(), 0);
}

TEST_F(LogViewers, ThePictureLogListsSavedPicturesAndAlwaysHandsOver)
{
    PictureLogView viewer(config, dialogs);
    viewer.show();
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Contact Picture Log"));
    EXPECT_EQ(control<QLineEdit>(viewer, "txtPicLogToView")->text(), todaysLog());
    auto* list = control<QListWidget>(viewer, "lstPicLog");
    EXPECT_EQ(listed(list), QStringList{pictureLine});
    EXPECT_EQ(control<QPushButton>(viewer, "cmdSelPicLog")->text(), QStringLiteral("Select a Log File"));

    // Without a picture the view button still closes and goes to measuring.
    QSignalSpy view(&viewer, &LogViewerBase::viewRequested);
    control<QPushButton>(viewer, "cmdViewPicLog")->click();
    ASSERT_EQ(view.count(), 1);
    EXPECT_EQ(view.at(0).at(0).toString(), QString());
    EXPECT_FALSE(viewer.isVisible());

    viewer.show();
    clickLine(list, 0, true);
    ASSERT_EQ(view.count(), 2);
    EXPECT_EQ(view.at(1).at(0).toString(), QStringLiteral("/v/Annjump1.bmp"));
    EXPECT_EQ(control<QLineEdit>(viewer, "txtPictureToView")->text(), QStringLiteral("/v/Annjump1.bmp"));
}

} // namespace

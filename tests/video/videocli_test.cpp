#include "testvideos.h"

#include "cli/clicommands.h"
#include "support/filebytes.h"
#include "video/frameextract.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

using TestVideos::Kind;

struct CliRun {
    int status;
    QString out;
    QString err;
};

CliRun run(const QStringList& args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = RunCli(args, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

TEST(CliInfo, PrintsTheInformationLines)
{
    const QString video = TestVideos::Path(Kind::Raw);
    const CliRun r = run({"info", video});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "Filename: " + video + "\nFile Type: AVI (Audio Video Interleaved)\nHeight: 120\nWidth: 160\n"
                     "Length: 60 frames\nRate: 30fps\n=== dwCaps ===\nCompressed: False\nAll Key Frames: True\n"
                     "Can Read: True\nCan Write: False\n=== dwFlags ===\nContains Copyright Info: False\n"
                     "Capture File: False\nHas Index: True\nMust Use Index: False\nInterleaved: True\n");
}

TEST(CliInfo, RefusesWhatIsNotAnAviFileOnOneLine)
{
    QTemporaryDir dir;
    const QString text = dir.filePath("a.avi");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("just text");
    f.close();
    CliRun r = run({"info", text});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "rampscope-cli: Not a valid avi file\n");
    EXPECT_EQ(r.out, "");

    r = run({"info", dir.filePath("none.avi")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "rampscope-cli: File does not exist: " + dir.filePath("none.avi") + "\n");

    r = run({"info"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.count('\n'), 1);
}

TEST(CliExtract, WritesTheSameBytesAsFrameExtraction)
{
    QTemporaryDir dir;
    const QString video = TestVideos::Path(Kind::Mjpeg);
    const CliRun r = run({"extract", video, "41", dir.filePath("out.bmp")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "");
    ASSERT_TRUE(ExtractFrameToBitmap(video, 41, dir.path()).has_value());
    const QByteArray expected = FileBytesOrEmpty(dir.filePath("currentcapture.bmp"));
    EXPECT_EQ(expected.size(), 54 + 57600);
    EXPECT_EQ(FileBytesOrEmpty(dir.filePath("out.bmp")), expected);
}

struct BadExtract {
    const char* frame;
    const char* message; // after "rampscope-cli: "
};

class CliExtractRefuses : public ::testing::TestWithParam<BadExtract> {};

TEST_P(CliExtractRefuses, WithOneLineAndStatus2)
{
    QTemporaryDir dir;
    const QString video = TestVideos::Path(Kind::Mjpeg);
    const CliRun r = run({"extract", video, GetParam().frame, dir.filePath("out.bmp")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, QStringLiteral("rampscope-cli: ") + QString::fromUtf8(GetParam().message).arg(video) + "\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("out.bmp")));
}

INSTANTIATE_TEST_SUITE_P(
    Frames, CliExtractRefuses,
    ::testing::Values(BadExtract{"60", "Frame 60 is outside the video stream (frames 0 to 59): %1"},
                      BadExtract{"70000", "Frame 70000 is outside the video stream (frames 0 to 59): %1"},
                      BadExtract{"-1", "N must be a whole frame number from 0"},
                      BadExtract{"2.5", "N must be a whole frame number from 0"},
                      BadExtract{"x", "N must be a whole frame number from 0"}));

TEST(CliExtract, AnUnwritableBitmapIsAnError)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("gone/out.bmp");
    const CliRun r = run({"extract", TestVideos::Path(Kind::Mjpeg), "1", target});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.startsWith("rampscope-cli: The picture could not be written to the file: " + target + " "));
    EXPECT_EQ(r.err.count('\n'), 1);
}

TEST(CliExtract, TheRealExecutableReadsTheFrame)
{
    QTemporaryDir dir;
    QProcess cli;
    cli.start(QStringLiteral(RAMPSCOPE_CLI_PATH),
              {"extract", TestVideos::Path(Kind::Mjpeg), "5", dir.filePath("out.bmp")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_EQ(cli.readAllStandardError(), "");
    EXPECT_EQ(QFile(dir.filePath("out.bmp")).size(), 54 + 57600);
}

} // namespace

#include "testvideos.h"

#include "video/avifile.h"
#include "video/framedecoder.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

using TestVideos::Kind;

QStringList expectedLines(const QString& path, const char* compressed, const char* allKey)
{
    return {
        "Filename: " + path,
        "File Type: AVI (Audio Video Interleaved)",
        "Height: 120",
        "Width: 160",
        "Length: 60 frames",
        "Rate: 30fps",
        "=== dwCaps ===",
        QStringLiteral("Compressed: ") + compressed,
        QStringLiteral("All Key Frames: ") + allKey,
        "Can Read: True",
        "Can Write: False",
        "=== dwFlags ===",
        "Contains Copyright Info: False",
        "Capture File: False",
        "Has Index: True",
        "Must Use Index: False",
        "Interleaved: True",
    };
}

struct LinesCase {
    const char* name;
    Kind kind;
    const char* compressed;
    const char* allKey;
};

class InformationLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(InformationLines, ListTheFileAsTheFrameSelectionScreenShowsIt)
{
    if (!TestVideos::Available(GetParam().kind))
        GTEST_SKIP();
    const QString path = TestVideos::Path(GetParam().kind);
    const auto info = ReadAviFileInfo(path);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(AviFileInfoLines(path, *info), expectedLines(path, GetParam().compressed, GetParam().allKey));
    EXPECT_EQ(info->streams, 1u);
    EXPECT_EQ(info->rate, 30u);
    EXPECT_EQ(info->scale, 1u);
    EXPECT_GT(info->suggestedBufferSize, 0u);
}

INSTANTIATE_TEST_SUITE_P(Codecs, InformationLines,
                         ::testing::Values(LinesCase{"Mjpeg", Kind::Mjpeg, "True", "True"},
                                           LinesCase{"Raw", Kind::Raw, "False", "True"},
                                           LinesCase{"H264", Kind::H264, "True", "False"},
                                           LinesCase{"LateStart", Kind::MjpegLateStart, "True", "True"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InformationLines, FileFlagsComeFromTheMainHeader)
{
    const QString original = TestVideos::Path(Kind::Mjpeg);
    const QString path = TestVideos::TruncatedCopy(original, 1 << 30, QStringLiteral("flags.avi"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qsizetype avih = file.read(4096).indexOf("avih");
    ASSERT_GT(avih, 0);
    char flags[4];
    // Every flag of the block, and one (trust chunk type) it does not carry.
    qToLittleEndian<quint32>(0x10 | 0x20 | 0x100 | 0x800 | 0x10000 | 0x20000, flags);
    ASSERT_TRUE(file.seek(avih + 8 + 12));
    ASSERT_EQ(file.write(flags, 4), 4);
    file.close();

    const auto info = ReadAviFileInfo(path);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->fileFlags, 0x10u | 0x20u | 0x100u | 0x10000u | 0x20000u);
    const QStringList lines = AviFileInfoLines(path, *info);
    EXPECT_EQ(lines.mid(12), QStringList({"Contains Copyright Info: True", "Capture File: True", "Has Index: True",
                                          "Must Use Index: True", "Interleaved: True"}));
}

TEST(AviAccessors, EachReadsTheFileAfreshAndGivesZeroWhenItCannot)
{
    const QString path = TestVideos::Path(Kind::Mjpeg);
    EXPECT_EQ(AviInfoWidth(path), 160);
    EXPECT_EQ(AviInfoHeight(path), 120);
    EXPECT_EQ(AviInfoLength(path), 60);
    // Empty slots of dropped frames count, as the player steps through them.
    EXPECT_EQ(AviInfoLength(TestVideos::Path(Kind::MjpegDroppedFrames)), 74);
    EXPECT_EQ(AviInfoFrameRate(path), 30);
    EXPECT_EQ(AviInfoFileType(path), "AVI (Audio Video Interleaved)");
    EXPECT_TRUE(AviInfoCapsCanRead(path));
    EXPECT_TRUE(AviInfoHasIndex(path));

    const QString missing = TestVideos::ScratchDirectory() + "/missing.avi";
    EXPECT_EQ(AviInfoWidth(missing), 0);
    EXPECT_EQ(AviInfoLength(missing), 0);
    EXPECT_EQ(AviInfoFrameRate(missing), 0);
    EXPECT_EQ(AviInfoFileType(missing), "");
    EXPECT_FALSE(AviInfoCapsCanRead(missing));
    EXPECT_FALSE(AviInfoHasIndex(missing));
}

struct RateCase {
    uint32_t rate;
    uint32_t scale;
    int32_t framesPerSecond;
};

class FrameRate : public ::testing::TestWithParam<RateCase> {};

TEST_P(FrameRate, RateOverScaleRoundedHalfToEven)
{
    AviFileInfo info;
    info.rate = GetParam().rate;
    info.scale = GetParam().scale;
    EXPECT_EQ(AviInfoFrameRate(info), GetParam().framesPerSecond);
}

INSTANTIATE_TEST_SUITE_P(Rates, FrameRate,
                         ::testing::Values(RateCase{30000, 1001, 30}, RateCase{25, 2, 12}, RateCase{27, 2, 14},
                                           RateCase{5, 2, 2}, RateCase{7, 2, 4}, RateCase{30, 1, 30},
                                           RateCase{25, 1, 25}, RateCase{60000, 1001, 60}, RateCase{1, 3, 0},
                                           RateCase{30, 0, 0}, RateCase{4294967295u, 1, 0},
                                           RateCase{2147483647u, 1, 2147483647}));

TEST(FileType, TextUpToItsFirstZeroAndEmptyWithoutOne)
{
    AviFileInfo info;
    info.fileType = QByteArray("AVI file") + QByteArray(56, '\0');
    EXPECT_EQ(AviInfoFileType(info), "AVI file");
    info.fileType = QByteArray(64, 'A');
    EXPECT_EQ(AviInfoFileType(info), "");
    info.fileType = QByteArray(64, '\0');
    EXPECT_EQ(AviInfoFileType(info), "");
}

class IsAvi : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
};

TEST_F(IsAvi, RiffWithAviAtByteEight)
{
    EXPECT_EQ(IsAviFile(TestVideos::Path(Kind::Mjpeg)), true);
    EXPECT_EQ(IsAviFile(write("min.avi", QByteArray("RIFF\0\0\0\0AVI ", 12))), true);
    EXPECT_EQ(IsAviFile(write("wave.avi", QByteArray("RIFF\0\0\0\0WAVEfmt ", 16))), false);
    EXPECT_EQ(IsAviFile(write("short.avi", QByteArray("RIFF\0\0\0\0AVI", 11))), false);
    EXPECT_EQ(IsAviFile(write("empty.avi", QByteArray())), false);
    EXPECT_EQ(IsAviFile(write("lower.avi", QByteArray("riff\0\0\0\0AVI ", 12))), false);
}

TEST_F(IsAvi, MissingFilesAndFoldersDoNotExist)
{
    for (const QString& path : {dir.filePath("none.avi"), dir.path()}) {
        const auto result = IsAviFile(path);
        ASSERT_FALSE(result.has_value());
        EXPECT_EQ(result.error().text, "File does not exist:\r\n" + path);
        EXPECT_EQ(result.error().icon, OperatorDialogs::Icon::Critical);
    }
}

TEST_F(IsAvi, ReadingTheInformationOfAForeignOrCutFileFails)
{
    const QString text = write("text.avi", "hello, not a video");
    const QString header = write("header.avi", QByteArray("RIFF\0\0\0\0AVI ", 12));
    for (const QString& path : {text, header}) {
        const auto info = ReadAviFileInfo(path);
        ASSERT_FALSE(info.has_value());
        EXPECT_EQ(info.error().text, "Unable to open file:\r\n" + path);
        EXPECT_EQ(info.error().icon, OperatorDialogs::Icon::Critical);
    }
}

TEST(TruncatedAvi, LengthCountsTheFramesThatAreThere)
{
    const QString whole = TestVideos::Path(Kind::Mjpeg);
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const qsizetype data = bytes.indexOf("movi");
    const QString path = TestVideos::TruncatedCopy(whole, data + (bytes.size() - data) / 2, "cut.avi");
    const auto info = ReadAviFileInfo(path);
    ASSERT_TRUE(info.has_value());
    EXPECT_GT(info->length, 10u);
    EXPECT_LT(info->length, 60u);
    const auto decoder = FrameDecoder::open(path);
    ASSERT_TRUE(decoder.has_value());
    EXPECT_EQ((*decoder)->frameCount(), info->length);
}

// The files of phones and action cameras: what they do not store is said so.
struct CameraFileCase {
    const char* name;
    Kind kind;
    const char* type;
    const char* rate;
    bool varies;
};

class CameraFileLines : public ::testing::TestWithParam<CameraFileCase> {};

TEST_P(CameraFileLines, FillWhatIsKnownAndWarnOfAVaryingRate)
{
    const CameraFileCase& c = GetParam();
    if (!TestVideos::Available(c.kind))
        GTEST_SKIP();
    const QString path = TestVideos::Path(c.kind);
    const auto info = ReadAviFileInfo(path);
    ASSERT_TRUE(info.has_value()) << info.error().text.toStdString();
    QStringList expected{"Filename: " + path, QStringLiteral("File Type: ") + c.type, "Height: 120", "Width: 160",
                         "Length: 60 frames", QStringLiteral("Rate: ") + c.rate};
    if (c.varies)
        expected << "Warning: the frame rate varies; replay windows are computed from the average rate";
    expected << "=== dwCaps ===" << "Compressed: True" << "All Key Frames: False" << "Can Read: True"
             << "Can Write: False" << "=== dwFlags ===" << "Contains Copyright Info: not stored in this file"
             << "Capture File: not stored in this file" << "Has Index: not stored in this file"
             << "Must Use Index: not stored in this file" << "Interleaved: not stored in this file";
    EXPECT_EQ(AviFileInfoLines(path, *info), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Containers, CameraFileLines,
    ::testing::Values(CameraFileCase{"Mp4", Kind::Mp4H264, "QuickTime / MOV", "30fps", false},
                      CameraFileCase{"MovHevc", Kind::MovHevc, "QuickTime / MOV", "30fps", false},
                      CameraFileCase{"MkvLateStart", Kind::MkvLateStart, "Matroska / WebM", "30fps", false},
                      // 59 steps over 1 29/60 s.
                      CameraFileCase{"VariableRate", Kind::Mp4VariableRate, "QuickTime / MOV", "40fps", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsVideoRecording, TakesAviAndCameraFilesWithAVideoStream)
{
    QTemporaryDir dir;
    const QString sound = dir.filePath("sound.mp4");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-hide_banner", "-loglevel", "error", "-f", "lavfi", "-i", "sine=d=1", "-c:a", "aac",
                            sound});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0);
    QFile text(dir.filePath("notes.mp4"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("ftyp moov") == 9);
    text.close();

    // A playlist naming a recording is no recording, and what it names is never opened.
    QFile playlist(dir.filePath("jump.avi"));
    ASSERT_TRUE(playlist.open(QIODevice::WriteOnly));
    playlist.write("#EXTM3U\n#EXTINF:1,\n" + TestVideos::Path(Kind::Mp4H264).toUtf8() + "\n#EXT-X-ENDLIST\n");
    playlist.close();

    EXPECT_EQ(IsVideoRecording(TestVideos::Path(Kind::Mjpeg)), true);
    EXPECT_EQ(IsVideoRecording(TestVideos::Path(Kind::Mp4H264)), true);
    EXPECT_EQ(IsVideoRecording(playlist.fileName()), false);
    EXPECT_EQ(IsVideoRecording(sound), false);
    EXPECT_EQ(IsVideoRecording(text.fileName()), false);
    EXPECT_FALSE(IsVideoRecording(dir.filePath("none.mp4")).has_value());
}

} // namespace

#include "numberedvideo.h"
#include "testvideos.h"

#include "support/filebytes.h"
#include "video/avifile.h"
#include "video/frameextract.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

namespace {

using TestVideos::Kind;

using TestVideos::AviLayout;
using Damage = std::function<void(QByteArray&, const AviLayout&)>;

void put32(QByteArray& bytes, qsizetype at, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + at);
}

quint32 get32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// Index entries: id, flags, offset, size (16 bytes each, after the header).
qsizetype entry(const AviLayout& l, int frame)
{
    return l.index + 8 + 16 * frame;
}

// Cut inside frame n's picture (its header and half its bytes kept).
void cutInside(QByteArray& b, const AviLayout& l, int n)
{
    b.truncate(l.chunks[n] + 8 + get32(b, l.chunks[n] + 4) / 2);
}

struct DamageCase {
    const char* name;
    Kind kind;
    Damage damage;
    int deliverable; // frames the operator still gets, each the right one
};

const Damage chunkSizeGrown
    = [](QByteArray& b, const AviLayout& l) { put32(b, l.chunks[10] + 4, get32(b, l.chunks[10] + 4) + 100); };
const Damage chunkSizeShrunk
    = [](QByteArray& b, const AviLayout& l) { put32(b, l.chunks[10] + 4, get32(b, l.chunks[10] + 4) - 9); };
const Damage entryOffset
    = [](QByteArray& b, const AviLayout& l) { put32(b, entry(l, 10) + 8, get32(b, entry(l, 10) + 8) + 0x200); };
const Damage entrySize
    = [](QByteArray& b, const AviLayout& l) { put32(b, entry(l, 10) + 12, get32(b, entry(l, 10) + 12) / 2); };
// The first picture: nothing before it in the index to notice the gap.
const Damage entryLeftOut = [](QByteArray& b, const AviLayout& l) { b.replace(entry(l, 0), 4, "01dc"); };
// Neither the chunk nor the index can be believed.
const Damage chunkAndIndexSize = [](QByteArray& b, const AviLayout& l) {
    chunkSizeGrown(b, l);
    entrySize(b, l);
};
const Damage cutInFrame20
    = [](QByteArray& b, const AviLayout& l) { cutInside(b, l, 20); };
// No index to set a damaged size right: the stream is lost from there.
const Damage chunkSizeThenCut = [](QByteArray& b, const AviLayout& l) {
    chunkSizeGrown(b, l);
    cutInside(b, l, 40);
};

const DamageCase damageCases[] = {
    {"MjpegChunkSizeGrown", Kind::Mjpeg, chunkSizeGrown, 60},
    {"MjpegChunkSizeShrunk", Kind::Mjpeg, chunkSizeShrunk, 60},
    {"MjpegIndexOffset", Kind::Mjpeg, entryOffset, 60},
    {"MjpegIndexSize", Kind::Mjpeg, entrySize, 60},
    {"MjpegIndexEntryLeftOut", Kind::Mjpeg, entryLeftOut, 60},
    {"MjpegChunkAndIndexSize", Kind::Mjpeg, chunkAndIndexSize, 59},
    {"MjpegCutInFrame20", Kind::Mjpeg, cutInFrame20, 20},
    {"MjpegChunkSizeThenCut", Kind::Mjpeg, chunkSizeThenCut, 10},
    {"H264ChunkSizeGrown", Kind::H264, chunkSizeGrown, 60},
    {"H264ChunkSizeShrunk", Kind::H264, chunkSizeShrunk, 60},
    {"H264IndexOffset", Kind::H264, entryOffset, 60},
    {"H264IndexSize", Kind::H264, entrySize, 60},
    {"H264IndexEntryLeftOut", Kind::H264, entryLeftOut, 60},
    // Its whole group of pictures goes: pictures before it in the file may be shown after it.
    {"H264ChunkAndIndexSize", Kind::H264, chunkAndIndexSize, 30},
    {"H264CutInFrame20", Kind::H264, cutInFrame20, 20},
    // The pictures stored before the damage that are shown before the first one lost.
    {"H264ChunkSizeThenCut", Kind::H264, chunkSizeThenCut, 8},
};

class DamagedRecordings : public ::testing::TestWithParam<DamageCase> {};

// Every frame is the right picture or refused as damaged, with nothing
// written; the length is what can be delivered, its last frame included.
TEST_P(DamagedRecordings, GiveTheRightFrameOrARefusalNeverAnother)
{
    const DamageCase& c = GetParam();
    if (!TestVideos::Available(c.kind))
        GTEST_SKIP();
    QByteArray bytes = FileBytes(TestVideos::Path(c.kind));
    const AviLayout layout = TestVideos::LayoutOf(bytes);
    ASSERT_EQ(layout.chunks.size(), 60u);
    ASSERT_GT(layout.index, 0);
    c.damage(bytes, layout);
    QTemporaryDir dir;
    const QString video = dir.filePath("jump.avi");
    ASSERT_TRUE(WriteFileBytes(video, bytes));

    const auto info = ReadAviFileInfo(video);
    ASSERT_TRUE(info.has_value()) << info.error().text.toStdString();
    const int64_t length = AviInfoLength(*info);
    EXPECT_GE(length, c.deliverable);
    EXPECT_LE(length, 60);
    EXPECT_EQ(AviInfoWidth(*info), 160);

    const QString bitmap = dir.filePath("frame.bmp");
    const QByteArray before = "the previous picture";
    int delivered = 0;
    for (int64_t n = 0; n < length; ++n) {
        ASSERT_TRUE(WriteFileBytes(bitmap, before));
        const auto extracted = ExtractFrameToFile(video, n, bitmap);
        if (extracted) {
            EXPECT_EQ(NumberedVideo::ReadNumber(QImage(bitmap)), n) << "frame " << n;
            ++delivered;
        } else {
            EXPECT_EQ(extracted.error().text, QStringLiteral("Frame %1 of this recording is damaged").arg(n));
            EXPECT_EQ(FileBytes(bitmap), before);
            EXPECT_NE(n, length - 1) << "the last frame counted must be deliverable";
        }
    }
    EXPECT_EQ(delivered, c.deliverable);
    EXPECT_FALSE(ExtractFrameToFile(video, length, bitmap).has_value());
}

INSTANTIATE_TEST_SUITE_P(Damage, DamagedRecordings, ::testing::ValuesIn(damageCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

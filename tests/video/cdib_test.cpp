#include "video/cdib.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstring>

#include <unistd.h>

namespace {

quint32 u32(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

quint16 u16(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

// A picture whose every pixel tells its place: blue = x, green = y, red = 7.
QImage placePicture(int width, int height)
{
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(7, y % 256, x % 256));
    return image;
}

struct StrideCase {
    int width;
    int bitCount;
    int stride;
};

class RowStride : public ::testing::TestWithParam<StrideCase> {};

TEST_P(RowStride, PaddedToFourBytes)
{
    EXPECT_EQ(BitmapRowStride(GetParam().width, GetParam().bitCount), GetParam().stride);
}

INSTANTIATE_TEST_SUITE_P(Widths, RowStride,
                         ::testing::Values(StrideCase{1, 24, 4}, StrideCase{2, 24, 8}, StrideCase{3, 24, 12},
                                           StrideCase{4, 24, 12}, StrideCase{320, 24, 960}, StrideCase{321, 24, 964},
                                           StrideCase{322, 24, 968}, StrideCase{323, 24, 972},
                                           StrideCase{1920, 24, 5760}, StrideCase{3, 32, 12}, StrideCase{3, 16, 8},
                                           StrideCase{9, 8, 12}, StrideCase{1, 1, 4}));

TEST(RowStride, RowsThatDoNotFit32BitsAreRefused)
{
    EXPECT_FALSE(BitmapRowStride(0, 24).has_value());
    EXPECT_FALSE(BitmapRowStride(-5, 24).has_value());
    EXPECT_FALSE(BitmapRowStride(int64_t{1} << 30, 24).has_value());
    EXPECT_EQ(BitmapRowStride(715'827'881, 24), 2'147'483'644); // the widest row that fits
    EXPECT_FALSE(BitmapRowStride(715'827'882, 24).has_value());
}

TEST(PackedDib, HeaderAndBottomUpPaddedRowsOfAWidth321Picture)
{
    const QImage picture = placePicture(321, 3);
    const auto packed = PackedDibFromImage(picture);
    ASSERT_TRUE(packed.has_value());
    const QByteArray& b = *packed;
    ASSERT_EQ(b.size(), 40 + 964 * 3);
    EXPECT_EQ(u32(b, 0), 40u);  // header size
    EXPECT_EQ(u32(b, 4), 321u); // width
    EXPECT_EQ(u32(b, 8), 3u);   // height, positive: bottom-up
    EXPECT_EQ(u16(b, 12), 1u);  // planes
    EXPECT_EQ(u16(b, 14), 24u); // bit count
    EXPECT_EQ(u32(b, 16), 0u);  // no compression
    EXPECT_EQ(u32(b, 20), 964u * 3); // image size
    for (int at = 24; at < 40; at += 4)
        EXPECT_EQ(u32(b, at), 0u) << at;
    for (int row = 0; row < 3; ++row) {
        const int y = 2 - row; // the first stored row is the picture's last
        const char* r = b.constData() + 40 + row * 964;
        EXPECT_EQ(static_cast<uchar>(r[0]), 0);  // blue = x = 0
        EXPECT_EQ(static_cast<uchar>(r[1]), y);  // green = y
        EXPECT_EQ(static_cast<uchar>(r[2]), 7);  // red
        EXPECT_EQ(static_cast<uchar>(r[320 * 3]), 320 % 256);
        EXPECT_EQ(static_cast<uchar>(r[963]), 0) << "padding byte of row " << row;
    }
}

TEST(PackedDib, EmptyPictureGivesNothing)
{
    EXPECT_FALSE(PackedDibFromImage(QImage()).has_value());
}

TEST(CreateFromPackedDIBPointer, TakesA24BitDibAndBuildsThe54ByteFileHeader)
{
    const auto packed = PackedDibFromImage(placePicture(321, 2));
    ASSERT_TRUE(packed.has_value());
    cDIB dib;
    ASSERT_TRUE(dib.CreateFromPackedDIBPointer(*packed));
    EXPECT_EQ(dib.FileType(), 0x4D42);
    EXPECT_EQ(dib.SizeFileHeader(), 54 + 964 * 2);
    EXPECT_EQ(dib.BitOffset(), 54);
    EXPECT_EQ(dib.BitCount(), 24);
    EXPECT_EQ(dib.Width(), 321);
    EXPECT_EQ(dib.Height(), 2);
    EXPECT_EQ(dib.Planes(), 1);
    EXPECT_EQ(dib.SizeInfoHeader(), 40);
    EXPECT_EQ(dib.SizeImage(), 964 * 2);
    EXPECT_EQ(dib.Compression(), 0);
    EXPECT_EQ(dib.XPPM(), 0);
    EXPECT_EQ(dib.YPPM(), 0);
    EXPECT_EQ(dib.ClrUsed(), 0);
    EXPECT_EQ(dib.ClrImportant(), 0);
    EXPECT_EQ(dib.SizeBitmapInfo(), 40);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(dib.PointerToBitmapInfo()), 40), packed->left(40));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(dib.PointerToBits()), 964 * 2), packed->mid(40));

    const QByteArray file = dib.FileBytes();
    ASSERT_EQ(file.size(), 54 + 964 * 2);
    EXPECT_EQ(file.left(2), QByteArray("BM"));
    EXPECT_EQ(u32(file, 2), 54u + 964 * 2);
    EXPECT_EQ(u16(file, 6), 0u);
    EXPECT_EQ(u16(file, 8), 0u);
    EXPECT_EQ(u32(file, 10), 54u);
    EXPECT_EQ(file.mid(14), *packed);
}

QByteArray infoHeader(int width, int height, int bitCount, int imageSize)
{
    BitmapInfoHeader h;
    h.headerSize = 40;
    h.width = width;
    h.height = height;
    h.planes = 1;
    h.bitCount = static_cast<int16_t>(bitCount);
    h.imageSize = imageSize;
    return h.bytes();
}

TEST(CreateFromPackedDIBPointer, RefusesPalettesMissingSizesAndShortData)
{
    cDIB dib;
    QByteArray eightBit = infoHeader(4, 4, 8, 16) + QByteArray(16, '\1');
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(eightBit));
    EXPECT_EQ(dib.BitCount(), 8); // the copied header stays
    QByteArray fifteen = infoHeader(2, 2, 15, 8) + QByteArray(8, '\1');
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(fifteen));
    QByteArray noSize = infoHeader(2, 2, 24, 0) + QByteArray(16, '\1');
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(noSize));
    QByteArray shortPixels = infoHeader(2, 2, 24, 16) + QByteArray(15, '\1');
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(shortPixels));
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(QByteArray(39, '\0')));
    QByteArray sixteen = infoHeader(2, 2, 16, 8) + QByteArray(8, '\1');
    EXPECT_TRUE(dib.CreateFromPackedDIBPointer(sixteen));
}

TEST(Create24Bit, HeadersOfAPackedDibAndZeroedPadding)
{
    cDIB dib;
    ASSERT_TRUE(dib.Create24Bit(321, 2));
    for (int row = 0; row < 2; ++row)
        std::memset(dib.Bits() + row * 964, 0xAB, 963);
    const auto packed = PackedDibFromImage(placePicture(321, 2));
    ASSERT_TRUE(packed.has_value());
    cDIB fromPacked;
    ASSERT_TRUE(fromPacked.CreateFromPackedDIBPointer(*packed));
    const QByteArray file = dib.FileBytes();
    ASSERT_EQ(file.size(), 54 + 964 * 2);
    EXPECT_EQ(file.left(54), fromPacked.FileBytes().left(54));
    EXPECT_EQ(file.at(54 + 963), '\0');
    EXPECT_EQ(file.at(54 + 964 + 963), '\0');
    EXPECT_EQ(static_cast<uchar>(file.at(54 + 962)), 0xAB);

    EXPECT_FALSE(dib.Create24Bit(0, 5));
    EXPECT_FALSE(dib.Create24Bit(5, 0));
    EXPECT_FALSE(dib.Create24Bit(40000, 40000)); // 4.8 GB of pixels
}

class BitmapFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
};

TEST_F(BitmapFiles, WriteThenReadGivesTheSameBytes)
{
    const auto packed = PackedDibFromImage(placePicture(321, 5));
    ASSERT_TRUE(packed.has_value());
    cDIB written;
    ASSERT_TRUE(written.CreateFromPackedDIBPointer(*packed));
    ASSERT_TRUE(written.WriteToFile(path("a.bmp")).has_value());

    QFile f(path("a.bmp"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), written.FileBytes());

    cDIB read;
    ASSERT_TRUE(read.CreateFromFile(path("a.bmp")).has_value());
    EXPECT_EQ(read.FileBytes(), written.FileBytes());
    EXPECT_EQ(read.Width(), 321);
    EXPECT_EQ(QImage(path("a.bmp")), placePicture(321, 5).convertToFormat(QImage(path("a.bmp")).format()));
}

TEST_F(BitmapFiles, WritingReplacesALongerFileWhole)
{
    write("b.bmp", QByteArray(100000, 'x'));
    const auto packed = PackedDibFromImage(placePicture(3, 3));
    cDIB dib;
    ASSERT_TRUE(dib.CreateFromPackedDIBPointer(*packed));
    ASSERT_TRUE(dib.WriteToFile(path("b.bmp")).has_value());
    EXPECT_EQ(QFile(path("b.bmp")).size(), 54 + 12 * 3);
}

TEST_F(BitmapFiles, WritingIntoAMissingFolderReportsFailure)
{
    const auto packed = PackedDibFromImage(placePicture(3, 3));
    cDIB dib;
    ASSERT_TRUE(dib.CreateFromPackedDIBPointer(*packed));
    const auto result = dib.WriteToFile(path("missing/c.bmp"));
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().path, path("missing/c.bmp"));
    EXPECT_FALSE(result.error().reason.isEmpty());
}

TEST_F(BitmapFiles, MissingFileIsReportedWithItsPath)
{
    cDIB dib;
    const auto result = dib.CreateFromFile(path("none.bmp"));
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().text, "File does not exist:\r\n" + path("none.bmp"));
    EXPECT_EQ(result.error().icon, OperatorDialogs::Icon::Critical);
}

TEST_F(BitmapFiles, ForeignShortAndCutFilesAreNotSupportedBitmaps)
{
    const auto packed = PackedDibFromImage(placePicture(4, 4));
    cDIB dib;
    ASSERT_TRUE(dib.CreateFromPackedDIBPointer(*packed));
    const QByteArray whole = dib.FileBytes();

    QByteArray jpegLike = whole;
    jpegLike[0] = '\xFF';
    jpegLike[1] = '\xD8';
    write("foreign.bmp", jpegLike);
    write("short.bmp", whole.left(20));
    write("cut.bmp", whole.left(whole.size() - 1));
    QByteArray lowOffset = whole;
    qToLittleEndian<quint32>(20, lowOffset.data() + 10);
    write("offset.bmp", lowOffset);

    for (const QString name : {"foreign.bmp", "short.bmp", "cut.bmp", "offset.bmp"}) {
        cDIB read;
        const auto result = read.CreateFromFile(path(name));
        ASSERT_FALSE(result.has_value()) << name.toStdString();
        EXPECT_EQ(result.error().text, "File is not a supported bitmap format:\r\n" + path(name));
        EXPECT_EQ(result.error().icon, OperatorDialogs::Icon::Information);
    }
}

TEST_F(BitmapFiles, ImageSizeZeroIsComputedForUncompressedBitmaps)
{
    const auto packed = PackedDibFromImage(placePicture(5, 2));
    cDIB dib;
    ASSERT_TRUE(dib.CreateFromPackedDIBPointer(*packed));
    QByteArray bytes = dib.FileBytes();
    qToLittleEndian<quint32>(0, bytes.data() + 14 + 20);
    write("nosize.bmp", bytes);
    cDIB read;
    ASSERT_TRUE(read.CreateFromFile(path("nosize.bmp")).has_value());
    EXPECT_EQ(read.SizeImage(), 16 * 2);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(read.PointerToBits()), 32), bytes.mid(54));
}

TEST_F(BitmapFiles, UnreadableFileIsLocked)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser reads any file";
    write("locked.bmp", QByteArray("BM"));
    QFile::setPermissions(path("locked.bmp"), QFileDevice::WriteOwner);
    cDIB dib;
    const auto result = dib.CreateFromFile(path("locked.bmp"));
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().text, "File is locked - cannot access:\r\n" + path("locked.bmp"));
    EXPECT_EQ(result.error().icon, OperatorDialogs::Icon::Critical);
}

} // namespace

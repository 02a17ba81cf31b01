#pragma once

#include "common/textfile.h"
#include "video/videoerror.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

#include <cstdint>
#include <expected>
#include <optional>

// The 40-byte BITMAPINFOHEADER, little-endian on disk.
struct BitmapInfoHeader {
    static constexpr int size = 40;
    int32_t headerSize = 0;
    int32_t width = 0;
    int32_t height = 0; // positive: rows stored bottom-up
    int16_t planes = 0;
    int16_t bitCount = 0;
    int32_t compression = 0;
    int32_t imageSize = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    int32_t clrUsed = 0;
    int32_t clrImportant = 0;

    // Reads the first 40 bytes (the caller checks there are 40).
    static BitmapInfoHeader read(const char* bytes);
    QByteArray bytes() const;
};

// The 14-byte BITMAPFILEHEADER, packed without padding.
struct BitmapFileHeader {
    static constexpr int size = 14;
    static constexpr uint16_t bitmapType = 0x4D42; // "BM"
    uint16_t type = 0;
    uint32_t fileSize = 0;
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
    uint32_t bitsOffset = 0;

    static BitmapFileHeader read(const char* bytes);
    QByteArray bytes() const;
};

// A bitmap held as its file header, its bitmap information bytes (the info
// header and any colour table) and its pixel bytes: the picture that frame
// extraction writes as currentcapture.bmp. The three parts lie one after the
// other in one buffer laid out as the file, so writing copies nothing.
class cDIB {
public:
    // Takes a packed DIB: a 40-byte info header directly followed by the
    // pixel bytes. Only bitmaps of 16 bits or more per pixel that state their
    // image size are taken; the file header is then "BM", 54 + image size,
    // pixels at offset 54. Returns false otherwise, and also when the data is
    // shorter than the header says (the info header keeps the copied values
    // as long as 40 bytes were there).
    bool CreateFromPackedDIBPointer(QByteArrayView packed);

    // An uncompressed 24-bit bitmap of the given size, rows bottom-up, with
    // the headers of a packed DIB's file (no resolution, no colour table) and
    // zeroed row padding; the caller fills the pixels through Bits(). Returns
    // false when the size is not positive or the file would not fit 32 bits.
    bool Create24Bit(int32_t width, int32_t height);

    // Reads a bitmap file. Fails with "File does not exist:", "File is
    // locked - cannot access:" (error icon) or "File is not a supported bitmap
    // format:" (information icon), each followed by CR LF and the path, or
    // with the system's own description of another open failure. A file whose
    // header is not "BM", whose pixels lie beyond its end or whose sizes do not
    // fit 32 bits is not a supported bitmap. An image size of 0 in an
    // uncompressed bitmap is computed from width, height and bit count.
    std::expected<void, VideoError> CreateFromFile(const QString& fileName);

    // Writes file header, bitmap information and pixel bytes, replacing any
    // file of that name whole. Fails (nothing replaced) when the file cannot
    // be written: missing directory, no permission, disk full.
    std::expected<void, FileError> WriteToFile(const QString& fileName) const;

    // The bytes WriteToFile writes.
    QByteArray FileBytes() const { return m_fileImage; }

    int32_t BitCount() const { return m_info.bitCount; }
    int32_t Height() const { return m_info.height; }
    int32_t Width() const { return m_info.width; }
    int32_t Compression() const { return m_info.compression; }
    int32_t SizeInfoHeader() const { return m_info.headerSize; }
    int32_t SizeImage() const { return m_info.imageSize; }
    int32_t Planes() const { return m_info.planes; }
    int32_t ClrImportant() const { return m_info.clrImportant; }
    int32_t ClrUsed() const { return m_info.clrUsed; }
    int32_t XPPM() const { return m_info.xPelsPerMeter; }
    int32_t YPPM() const { return m_info.yPelsPerMeter; }
    int32_t FileType() const { return m_file.type; }
    int32_t SizeFileHeader() const { return static_cast<int32_t>(m_file.fileSize); }
    int32_t BitOffset() const { return static_cast<int32_t>(m_file.bitsOffset); }
    const uchar* PointerToBits() const { return bytesAt(m_file.bitsOffset); }
    const uchar* PointerToBitmapInfo() const { return bytesAt(BitmapFileHeader::size); }
    int32_t SizeBitmapInfo() const;
    // The pixel bytes, for filling a bitmap made by Create24Bit.
    uchar* Bits();

private:
    const uchar* bytesAt(qsizetype offset) const;

    BitmapInfoHeader m_info;
    BitmapFileHeader m_file;
    QByteArray m_fileImage; // file header, bitmap information, pixels
};

// Bytes per row of an uncompressed bitmap, padded to 4 bytes, or nothing
// when the row does not fit 32 bits.
std::optional<int32_t> BitmapRowStride(int64_t width, int bitCount);

// The packed DIB of a picture as a 24-bit uncompressed bitmap: the 40-byte
// info header (width, positive height, 1 plane, 24 bits, no compression,
// image size = row stride x height, no resolution, no colour table) and the
// rows bottom-up, each padded to a multiple of 4 bytes. Nothing when the
// picture is empty or its image size does not fit 32 bits.
std::optional<QByteArray> PackedDibFromImage(const QImage& image);

// Copies the rows of a 24-bit picture (QImage::Format_BGR888) into bitmap
// rows of the given stride, bottom-up, clearing each row's padding.
void CopyRowsBottomUp(const QImage& image, uchar* bits, int32_t stride);

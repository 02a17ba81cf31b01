#include "video/cdib.h"

#include "common/paths.h"

#include <QFile>
#include <QtEndian>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

template <typename T>
T readLittle(const char* bytes, int offset)
{
    return qFromLittleEndian<T>(bytes + offset);
}

template <typename T>
void appendLittle(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian<T>(value, bytes);
    out.append(bytes, sizeof(T));
}

constexpr int64_t largest32 = std::numeric_limits<int32_t>::max();

} // namespace

BitmapInfoHeader BitmapInfoHeader::read(const char* b)
{
    BitmapInfoHeader h;
    h.headerSize = readLittle<int32_t>(b, 0);
    h.width = readLittle<int32_t>(b, 4);
    h.height = readLittle<int32_t>(b, 8);
    h.planes = readLittle<int16_t>(b, 12);
    h.bitCount = readLittle<int16_t>(b, 14);
    h.compression = readLittle<int32_t>(b, 16);
    h.imageSize = readLittle<int32_t>(b, 20);
    h.xPelsPerMeter = readLittle<int32_t>(b, 24);
    h.yPelsPerMeter = readLittle<int32_t>(b, 28);
    h.clrUsed = readLittle<int32_t>(b, 32);
    h.clrImportant = readLittle<int32_t>(b, 36);
    return h;
}

QByteArray BitmapInfoHeader::bytes() const
{
    QByteArray out;
    out.reserve(size);
    appendLittle(out, headerSize);
    appendLittle(out, width);
    appendLittle(out, height);
    appendLittle(out, planes);
    appendLittle(out, bitCount);
    appendLittle(out, compression);
    appendLittle(out, imageSize);
    appendLittle(out, xPelsPerMeter);
    appendLittle(out, yPelsPerMeter);
    appendLittle(out, clrUsed);
    appendLittle(out, clrImportant);
    return out;
}

BitmapFileHeader BitmapFileHeader::read(const char* b)
{
    BitmapFileHeader h;
    h.type = readLittle<uint16_t>(b, 0);
    h.fileSize = readLittle<uint32_t>(b, 2);
    h.reserved1 = readLittle<uint16_t>(b, 6);
    h.reserved2 = readLittle<uint16_t>(b, 8);
    h.bitsOffset = readLittle<uint32_t>(b, 10);
    return h;
}

QByteArray BitmapFileHeader::bytes() const
{
    QByteArray out;
    out.reserve(size);
    appendLittle(out, type);
    appendLittle(out, fileSize);
    appendLittle(out, reserved1);
    appendLittle(out, reserved2);
    appendLittle(out, bitsOffset);
    return out;
}

bool cDIB::CreateFromPackedDIBPointer(QByteArrayView packed)
{
    if (packed.size() < BitmapInfoHeader::size)
        return false;
    m_info = BitmapInfoHeader::read(packed.data());
    if (m_info.bitCount <= 15 || m_info.imageSize <= 0)
        return false;
    const int64_t total = int64_t{BitmapFileHeader::size} + BitmapInfoHeader::size + m_info.imageSize;
    if (packed.size() - BitmapInfoHeader::size < m_info.imageSize || total > largest32)
        return false;
    m_file = BitmapFileHeader{};
    m_file.type = BitmapFileHeader::bitmapType;
    m_file.fileSize = static_cast<uint32_t>(total);
    m_file.bitsOffset = BitmapFileHeader::size + BitmapInfoHeader::size;
    m_fileImage = QByteArray(total, Qt::Uninitialized);
    const QByteArray fileHeader = m_file.bytes();
    std::memcpy(m_fileImage.data(), fileHeader.constData(), BitmapFileHeader::size);
    std::memcpy(m_fileImage.data() + BitmapFileHeader::size, packed.data(),
                static_cast<size_t>(BitmapInfoHeader::size + m_info.imageSize));
    return true;
}

bool cDIB::Create24Bit(int32_t width, int32_t height)
{
    const auto stride = BitmapRowStride(width, 24);
    if (!stride || height <= 0)
        return false;
    const int64_t imageSize = int64_t{*stride} * height;
    const int64_t total = int64_t{BitmapFileHeader::size} + BitmapInfoHeader::size + imageSize;
    if (total > largest32)
        return false;
    m_info = BitmapInfoHeader{};
    m_info.headerSize = BitmapInfoHeader::size;
    m_info.width = width;
    m_info.height = height;
    m_info.planes = 1;
    m_info.bitCount = 24;
    m_info.imageSize = static_cast<int32_t>(imageSize);
    m_file = BitmapFileHeader{};
    m_file.type = BitmapFileHeader::bitmapType;
    m_file.fileSize = static_cast<uint32_t>(total);
    m_file.bitsOffset = BitmapFileHeader::size + BitmapInfoHeader::size;

    // Pixels are left for the caller; only the padding is cleared, so that a
    // large picture's pages are touched once, by the pixels themselves.
    m_fileImage = QByteArray(total, Qt::Uninitialized);
    const QByteArray headers = m_file.bytes() + m_info.bytes();
    std::memcpy(m_fileImage.data(), headers.constData(), static_cast<size_t>(headers.size()));
    const int64_t rowBytes = int64_t{width} * 3;
    if (rowBytes < *stride) {
        char* bits = m_fileImage.data() + m_file.bitsOffset;
        for (int32_t row = 0; row < height; ++row)
            std::memset(bits + int64_t{row} * *stride + rowBytes, 0, static_cast<size_t>(*stride - rowBytes));
    }
    return true;
}

uchar* cDIB::Bits()
{
    if (m_fileImage.isEmpty())
        return nullptr;
    return reinterpret_cast<uchar*>(m_fileImage.data()) + m_file.bitsOffset;
}

const uchar* cDIB::bytesAt(qsizetype offset) const
{
    if (offset >= m_fileImage.size())
        return nullptr;
    return reinterpret_cast<const uchar*>(m_fileImage.constData()) + offset;
}

int32_t cDIB::SizeBitmapInfo() const
{
    if (m_fileImage.isEmpty())
        return 0;
    return static_cast<int32_t>(m_file.bitsOffset) - BitmapFileHeader::size;
}

std::expected<void, VideoError> cDIB::CreateFromFile(const QString& fileName)
{
    using namespace VideoMessages;
    if (!PathExistsByKind(fileName, 0))
        return std::unexpected(VideoError{WithPath(fileDoesNotExist, fileName), OperatorDialogs::Icon::Critical});
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.error() == QFileDevice::PermissionsError)
            return std::unexpected(VideoError{WithPath(fileLocked, fileName), OperatorDialogs::Icon::Critical});
        return std::unexpected(VideoError{file.errorString(), OperatorDialogs::Icon::Information});
    }
    const VideoError notSupported{WithPath(notABitmap, fileName), OperatorDialogs::Icon::Information};
    const QByteArray fileHeaderBytes = file.read(BitmapFileHeader::size);
    if (fileHeaderBytes.size() < BitmapFileHeader::size)
        return std::unexpected(notSupported);
    const BitmapFileHeader fileHeader = BitmapFileHeader::read(fileHeaderBytes.constData());
    if (fileHeader.type != BitmapFileHeader::bitmapType)
        return std::unexpected(notSupported);
    const QByteArray infoBytes = file.read(BitmapInfoHeader::size);
    if (infoBytes.size() < BitmapInfoHeader::size)
        return std::unexpected(notSupported);
    const BitmapInfoHeader info = BitmapInfoHeader::read(infoBytes.constData());

    int64_t imageSize = info.imageSize;
    if (imageSize == 0 && (info.compression == 0 || info.compression == 3)) {
        // Uncompressed bitmaps may leave the image size to be computed.
        const auto stride = BitmapRowStride(info.width, info.bitCount);
        if (!stride)
            return std::unexpected(notSupported);
        imageSize = int64_t{*stride} * std::abs(int64_t{info.height});
    }
    const int64_t offset = fileHeader.bitsOffset;
    if (imageSize <= 0 || imageSize > largest32 || offset < BitmapFileHeader::size + BitmapInfoHeader::size
        || offset + imageSize > file.size())
        return std::unexpected(notSupported);

    // Header, bitmap information and pixels lie one after the other in the
    // file: the first offset + image size bytes are the whole bitmap.
    if (!file.seek(0))
        return std::unexpected(notSupported);
    QByteArray image = file.read(offset + imageSize);
    if (image.size() != offset + imageSize)
        return std::unexpected(notSupported);

    m_file = fileHeader;
    m_info = info;
    m_info.imageSize = static_cast<int32_t>(imageSize);
    m_fileImage = std::move(image);
    return {};
}

std::expected<void, FileError> cDIB::WriteToFile(const QString& fileName) const
{
    return ReplaceFile(fileName, m_fileImage);
}

std::optional<int32_t> BitmapRowStride(int64_t width, int bitCount)
{
    if (width <= 0 || bitCount <= 0)
        return std::nullopt;
    const int64_t stride = (width * bitCount + 31) / 32 * 4;
    if (stride > largest32)
        return std::nullopt;
    return static_cast<int32_t>(stride);
}

std::optional<QByteArray> PackedDibFromImage(const QImage& picture)
{
    if (picture.isNull())
        return std::nullopt;
    const QImage image = picture.format() == QImage::Format_BGR888
        ? picture
        : picture.convertToFormat(QImage::Format_BGR888);
    const auto stride = BitmapRowStride(image.width(), 24);
    if (!stride)
        return std::nullopt;
    const int64_t imageSize = int64_t{*stride} * image.height();
    if (imageSize + BitmapFileHeader::size + BitmapInfoHeader::size > largest32)
        return std::nullopt;

    BitmapInfoHeader info;
    info.headerSize = BitmapInfoHeader::size;
    info.width = image.width();
    info.height = image.height();
    info.planes = 1;
    info.bitCount = 24;
    info.compression = 0;
    info.imageSize = static_cast<int32_t>(imageSize);

    QByteArray packed(BitmapInfoHeader::size + imageSize, Qt::Uninitialized);
    const QByteArray header = info.bytes();
    std::memcpy(packed.data(), header.constData(), BitmapInfoHeader::size);
    CopyRowsBottomUp(image, reinterpret_cast<uchar*>(packed.data()) + BitmapInfoHeader::size, *stride);
    return packed;
}

void CopyRowsBottomUp(const QImage& image, uchar* bits, int32_t stride)
{
    const size_t rowBytes = static_cast<size_t>(image.width()) * 3;
    for (int y = 0; y < image.height(); ++y) {
        // Bottom-up: the last picture row is the first bitmap row.
        uchar* row = bits + int64_t{image.height() - 1 - y} * stride;
        std::memcpy(row, image.constScanLine(y), rowBytes);
        std::memset(row + rowBytes, 0, static_cast<size_t>(stride) - rowBytes);
    }
}

#include "video/frameextract.h"

#include "common/paths.h"
#include "video/cdib.h"
#include "video/framedecoder.h"
#include "video/pictureconverter.h"

namespace {

VideoError workingError(const QString& path)
{
    return {VideoMessages::WithPath(VideoMessages::errorWorkingWithFile, path), OperatorDialogs::Icon::Information};
}

VideoError writeError(const QString& bitmapPath, const FileError& error)
{
    return {VideoMessages::WithPath(VideoMessages::cannotWriteBitmap, bitmapPath) + QStringLiteral("\r\n")
                + error.reason,
            OperatorDialogs::Icon::Critical};
}

} // namespace

std::expected<void, VideoError> ExtractFrameToFile(const QString& fileName, int64_t frame, const QString& bitmapPath)
{
    auto decoder = FrameDecoder::open(fileName, FrameDecoder::singleFrame());
    if (!decoder)
        return std::unexpected(decoder.error());
    const auto picture = (*decoder)->picture(frame);
    if (!picture)
        return std::unexpected(picture.error());
    const AVFrame& p = **picture;

    // The decoder's picture goes straight into the bitmap's rows, bottom-up.
    cDIB dib;
    if (!dib.Create24Bit(p.width, p.height))
        return std::unexpected(workingError(fileName));
    const int32_t stride = dib.SizeImage() / dib.Height();
    PictureConverter converter;
    if (!converter.convertInto(p, dib.Bits() + int64_t{p.height - 1} * stride, -stride))
        return std::unexpected(workingError(fileName));
    if (auto written = dib.WriteToFile(bitmapPath); !written)
        return std::unexpected(writeError(bitmapPath, written.error()));
    return {};
}

std::expected<void, VideoError> ExtractFrameToBitmap(const QString& fileName, int64_t frame,
                                                     const QString& applicationDirectory)
{
    return ExtractFrameToFile(fileName, frame, JoinPath(applicationDirectory, currentCaptureFileName));
}

std::expected<void, VideoError> WriteFrameBitmap(const QImage& picture, const QString& bitmapPath)
{
    const QImage image = picture.format() == QImage::Format_BGR888 ? picture
                                                                   : picture.convertToFormat(QImage::Format_BGR888);
    cDIB dib;
    if (image.isNull() || !dib.Create24Bit(image.width(), image.height()))
        return std::unexpected(workingError(bitmapPath));
    CopyRowsBottomUp(image, dib.Bits(), dib.SizeImage() / dib.Height());
    if (auto written = dib.WriteToFile(bitmapPath); !written)
        return std::unexpected(writeError(bitmapPath, written.error()));
    return {};
}

#include "video/frameextract.h"

#include "common/paths.h"
#include "video/cdib.h"
#include "video/framedecoder.h"

namespace {

VideoError workingError(const QString& path)
{
    return {VideoMessages::WithPath(VideoMessages::errorWorkingWithFile, path), OperatorDialogs::Icon::Information};
}

std::expected<void, VideoError> writePicture(const QImage& picture, const QString& bitmapPath,
                                             const QString& videoPath)
{
    const auto packed = PackedDibFromImage(picture);
    cDIB dib;
    if (!packed || !dib.CreateFromPackedDIBPointer(*packed))
        return std::unexpected(workingError(videoPath));
    if (auto written = dib.WriteToFile(bitmapPath); !written)
        return std::unexpected(
            VideoError{VideoMessages::WithPath(VideoMessages::cannotWriteBitmap, bitmapPath) + QStringLiteral("\r\n")
                           + written.error().reason,
                       OperatorDialogs::Icon::Critical});
    return {};
}

} // namespace

std::expected<void, VideoError> ExtractFrameToFile(const QString& fileName, int64_t frame, const QString& bitmapPath)
{
    auto decoder = FrameDecoder::open(fileName, FrameDecoder::singleFrame());
    if (!decoder)
        return std::unexpected(decoder.error());
    const auto picture = (*decoder)->frame(frame);
    if (!picture)
        return std::unexpected(picture.error());
    return writePicture(*picture, bitmapPath, fileName);
}

std::expected<void, VideoError> ExtractFrameToBitmap(const QString& fileName, int64_t frame,
                                                     const QString& applicationDirectory)
{
    return ExtractFrameToFile(fileName, frame, JoinPath(applicationDirectory, currentCaptureFileName));
}

std::expected<void, VideoError> WriteFrameBitmap(const QImage& picture, const QString& bitmapPath)
{
    return writePicture(picture, bitmapPath, bitmapPath);
}

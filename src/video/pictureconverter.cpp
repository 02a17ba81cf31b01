#include "video/pictureconverter.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace {

// The "J" formats of Motion JPEG are the plain ones in full range; naming
// them so keeps the scaler from warning and picks the right levels.
AVPixelFormat withoutFullRangeAlias(AVPixelFormat format, bool& fullRange)
{
    switch (format) {
    case AV_PIX_FMT_YUVJ420P:
        fullRange = true;
        return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
        fullRange = true;
        return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
        fullRange = true;
        return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
        fullRange = true;
        return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P:
        fullRange = true;
        return AV_PIX_FMT_YUV411P;
    default:
        return format;
    }
}

} // namespace

QImage PictureConverter::toBgr(const AVFrame& picture)
{
    if (picture.width <= 0 || picture.height <= 0)
        return {};
    QImage image(picture.width, picture.height, QImage::Format_BGR888);
    if (image.isNull() || !convertInto(picture, image.bits(), static_cast<int>(image.bytesPerLine())))
        return {};
    return image;
}

bool PictureConverter::convertInto(const AVFrame& picture, uint8_t* destination, int stride)
{
    const int width = picture.width;
    const int height = picture.height;
    if (width <= 0 || height <= 0 || !destination)
        return false;
    bool fullRange = picture.color_range == AVCOL_RANGE_JPEG;
    const AVPixelFormat source = withoutFullRangeAlias(static_cast<AVPixelFormat>(picture.format), fullRange);
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(source);
    if (!descriptor)
        return false;
    const bool isRgb = (descriptor->flags & AV_PIX_FMT_FLAG_RGB) != 0;
    const int matrix = picture.colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
    const Setup setup{width, height, source, fullRange, matrix};
    if (!m_scaler || !(setup == m_setup)) {
        m_scaler.reset(sws_getContext(width, height, source, width, height, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr,
                                      nullptr, nullptr));
        if (!m_scaler)
            return false;
        if (!isRgb)
            sws_setColorspaceDetails(m_scaler.get(), sws_getCoefficients(matrix), fullRange ? 1 : 0,
                                     sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
        m_setup = setup;
    }
    uint8_t* planes[4] = {destination, nullptr, nullptr, nullptr};
    int strides[4] = {stride, 0, 0, 0};
    return sws_scale(m_scaler.get(), picture.data, picture.linesize, 0, height, planes, strides) == height;
}

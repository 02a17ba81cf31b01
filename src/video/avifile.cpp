#include "video/avifile.h"

#include "common/paths.h"
#include "video/ffmpeghandles.h"
#include "video/decodesession.h"
#include "video/frameindex.h"
#include "video/recordingformat.h"

#include <QFile>
#include <QtEndian>

#include <cmath>
#include <limits>

namespace {

using namespace VideoMessages;

// The fields of the AVI main header ("avih" inside the "hdrl" list) that
// the information block carries and the demuxer does not report.
struct MainHeader {
    uint32_t maxBytesPerSecond = 0;
    uint32_t flags = 0;
    uint32_t suggestedBufferSize = 0;
};

uint32_t little32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<uint32_t>(bytes.constData() + at);
}

// Walks the chunks at the head of the file; headers are at most a few
// kilobytes into it. A file laid out otherwise reports zeros.
MainHeader readMainHeader(const QString& fileName)
{
    MainHeader header;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return header;
    const QByteArray head = file.read(1 << 16);
    qsizetype at = 12;
    for (int guard = 0; guard < 64 && at + 12 <= head.size(); ++guard) {
        const QByteArray id = head.mid(at, 4);
        const qint64 size = little32(head, at + 4);
        if (id == "LIST" && head.mid(at + 8, 4) == "hdrl") {
            qsizetype sub = at + 12;
            const qsizetype end = std::min<qint64>(head.size(), at + 8 + size);
            for (int inner = 0; inner < 64 && sub + 8 <= end; ++inner) {
                const qint64 subSize = little32(head, sub + 4);
                if (head.mid(sub, 4) == "avih" && subSize >= 40 && sub + 8 + 40 <= head.size()) {
                    const qsizetype fields = sub + 8;
                    header.maxBytesPerSecond = little32(head, fields + 4);
                    header.flags = little32(head, fields + 12);
                    header.suggestedBufferSize = little32(head, fields + 28);
                    return header;
                }
                sub += 8 + subSize + (subSize & 1);
            }
            return header;
        }
        at += 8 + size + (size & 1);
    }
    return header;
}

struct StreamCount {
    int64_t frames = 0;
    bool allKey = true;
    FrameIndex::Timing timing; // files other than AVI
};

// Frames of the video stream and whether each is a key frame: the count the
// player and the extraction number frames by, empty slots included and
// damaged frames at the end left out, so the length shown is the length that
// can be stepped and its last frame can be taken out. Without a decoder for
// the stream, the count its frame index gives.
std::expected<StreamCount, QString> countFrames(const QString& fileName, AVFormatContext* format, int streamIndex)
{
    if (auto session = DecodeSession::open(fileName)) {
        const FrameIndex& index = (*session)->index();
        return StreamCount{index.frameCount(), index.allKeyFrames(), index.timing()};
    } else if (session.error().text != VideoMessages::noDecompressor) {
        return std::unexpected(session.error().text);
    }
    auto index = FrameIndex::build(format, streamIndex);
    if (!index)
        return std::unexpected(index.error());
    return StreamCount{index->frameCount(), index->allKeyFrames(), index->timing()};
}

QString trueFalse(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// A file flag's value, or that the file has no place for it.
QString fileFlag(const AviFileInfo& info, bool value)
{
    return info.aviHeader ? trueFalse(value) : QStringLiteral("not stored in this file");
}

template <typename Result>
Result fromFile(const QString& fileName, Result (*field)(const AviFileInfo&))
{
    const auto info = ReadAviFileInfo(fileName);
    return info ? field(*info) : Result{};
}

} // namespace

std::expected<bool, VideoError> IsAviFile(const QString& fileName)
{
    if (!PathExistsByKind(fileName, 0))
        return std::unexpected(VideoError{WithPath(fileDoesNotExist, fileName), OperatorDialogs::Icon::Critical});
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.error() == QFileDevice::PermissionsError)
            return std::unexpected(VideoError{WithPath(fileLocked, fileName), OperatorDialogs::Icon::Critical});
        return std::unexpected(VideoError{file.errorString(), OperatorDialogs::Icon::Information});
    }
    const QByteArray head = file.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "AVI ";
}

std::expected<bool, VideoError> IsVideoRecording(const QString& fileName)
{
    const auto avi = IsAviFile(fileName);
    if (!avi || *avi)
        return avi;
    const FormatContextPtr format = OpenRecording(fileName);
    return format && FirstVideoStream(format.get()) >= 0;
}

std::expected<AviFileInfo, VideoError> ReadAviFileInfo(const QString& fileName)
{
    const VideoError cannotOpen{WithPath(unableToOpen, fileName), OperatorDialogs::Icon::Critical};
    const VideoError cannotRead{WithPath(unableToReadInfo, fileName), OperatorDialogs::Icon::Critical};

    FormatContextPtr format = OpenRecording(fileName);
    if (!format)
        return std::unexpected(cannotOpen);
    const bool avi = IsAviRecording(format.get());

    AviFileInfo info;
    info.streams = format->nb_streams;
    // Capabilities: the file is opened for reading only, so it can be read
    // and not written; "all key frames" when every indexed frame of the video
    // stream is a key frame or the codec has only key frames; "no compression"
    // for uncompressed pictures (the raw video codec).
    info.capabilities = AviFileInfo::canRead;

    bool video = false;
    if (const int i = FirstVideoStream(format.get()); i >= 0) {
        const AVStream* stream = format->streams[i];
        const auto count = countFrames(fileName, format.get(), i);
        // A stream without a frame to show or without a picture size is
        // nothing to measure on.
        if (!count || count->frames <= 0 || stream->codecpar->width <= 0 || stream->codecpar->height <= 0)
            return std::unexpected(cannotRead);
        info.width = static_cast<uint32_t>(std::max(0, stream->codecpar->width));
        info.height = static_cast<uint32_t>(std::max(0, stream->codecpar->height));
        // The demuxer's time base is an AVI stream's scale / rate (reduced);
        // other files count time in ticks of their own, so their pictures'
        // times give the rate.
        const AVRational perFrame = avi ? stream->time_base : av_inv_q(count->timing.averageRate);
        info.scale = static_cast<uint32_t>(std::max(0, perFrame.num));
        info.rate = static_cast<uint32_t>(std::max(0, perFrame.den));
        info.variableRate = !avi && count->timing.variable;
        info.length = static_cast<uint32_t>(std::min<int64_t>(count->frames, std::numeric_limits<uint32_t>::max()));
        if (count->allKey)
            info.capabilities |= AviFileInfo::allKeyFrames;
        if (stream->codecpar->codec_id == AV_CODEC_ID_RAWVIDEO)
            info.capabilities |= AviFileInfo::noCompression;
        video = true;
    }
    if (!video)
        return std::unexpected(cannotRead);

    // File flags, the largest data rate and the suggested buffer size are
    // those the writer put in the main header; only the five flags of the
    // information block are passed on.
    info.aviHeader = avi;
    const MainHeader header = avi ? readMainHeader(fileName) : MainHeader{};
    info.maxBytesPerSecond = header.maxBytesPerSecond;
    info.suggestedBufferSize = header.suggestedBufferSize;
    info.fileFlags = header.flags
        & (AviFileInfo::hasIndex | AviFileInfo::mustUseIndex | AviFileInfo::isInterleaved
           | AviFileInfo::wasCaptureFile | AviFileInfo::rightsFlag);
    info.editCount = 0; // a file opened for reading has not been edited

    // The file type text is the demuxer's name for the format.
    info.fileType = QByteArray(format->iformat->long_name ? format->iformat->long_name : "").left(63);
    info.fileType.append(QByteArray(64 - info.fileType.size(), '\0'));
    return info;
}

int64_t AviInfoWidth(const AviFileInfo& info)
{
    return info.width;
}

int64_t AviInfoHeight(const AviFileInfo& info)
{
    return info.height;
}

int64_t AviInfoLength(const AviFileInfo& info)
{
    return info.length;
}

int32_t AviInfoFrameRate(const AviFileInfo& info)
{
    if (info.scale == 0)
        return 0;
    // The default rounding mode goes to the even neighbour at halves.
    const double rounded = std::nearbyint(static_cast<double>(info.rate) / info.scale);
    if (rounded > std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int32_t>(rounded);
}

QString AviInfoFileType(const AviFileInfo& info)
{
    const qsizetype end = info.fileType.indexOf('\0');
    if (end < 0)
        return {};
    return QString::fromLatin1(info.fileType.left(end));
}

bool AviInfoCapsCompressed(const AviFileInfo& info)
{
    return (info.capabilities & AviFileInfo::noCompression) == 0;
}

bool AviInfoCapsAllKeyFrames(const AviFileInfo& info)
{
    return (info.capabilities & AviFileInfo::allKeyFrames) != 0;
}

bool AviInfoCapsCanRead(const AviFileInfo& info)
{
    return (info.capabilities & AviFileInfo::canRead) != 0;
}

bool AviInfoCapsCanWrite(const AviFileInfo& info)
{
    return (info.capabilities & AviFileInfo::canWrite) != 0;
}

bool AviInfoHasIndex(const AviFileInfo& info)
{
    return (info.fileFlags & AviFileInfo::hasIndex) != 0;
}

bool AviInfoMustUseIndex(const AviFileInfo& info)
{
    return (info.fileFlags & AviFileInfo::mustUseIndex) != 0;
}

bool AviInfoIsInterleaved(const AviFileInfo& info)
{
    return (info.fileFlags & AviFileInfo::isInterleaved) != 0;
}

bool AviInfoWasCaptureFile(const AviFileInfo& info)
{
    return (info.fileFlags & AviFileInfo::wasCaptureFile) != 0;
}

bool AviInfoRightsFlag(const AviFileInfo& info)
{
    return (info.fileFlags & AviFileInfo::rightsFlag) != 0;
}

int64_t AviInfoWidth(const QString& f) { return fromFile<int64_t>(f, AviInfoWidth); }
int64_t AviInfoHeight(const QString& f) { return fromFile<int64_t>(f, AviInfoHeight); }
int64_t AviInfoLength(const QString& f) { return fromFile<int64_t>(f, AviInfoLength); }
int32_t AviInfoFrameRate(const QString& f) { return fromFile<int32_t>(f, AviInfoFrameRate); }
QString AviInfoFileType(const QString& f) { return fromFile<QString>(f, AviInfoFileType); }
bool AviInfoCapsCompressed(const QString& f) { return fromFile<bool>(f, AviInfoCapsCompressed); }
bool AviInfoCapsAllKeyFrames(const QString& f) { return fromFile<bool>(f, AviInfoCapsAllKeyFrames); }
bool AviInfoCapsCanRead(const QString& f) { return fromFile<bool>(f, AviInfoCapsCanRead); }
bool AviInfoCapsCanWrite(const QString& f) { return fromFile<bool>(f, AviInfoCapsCanWrite); }
bool AviInfoHasIndex(const QString& f) { return fromFile<bool>(f, AviInfoHasIndex); }
bool AviInfoMustUseIndex(const QString& f) { return fromFile<bool>(f, AviInfoMustUseIndex); }
bool AviInfoIsInterleaved(const QString& f) { return fromFile<bool>(f, AviInfoIsInterleaved); }
bool AviInfoWasCaptureFile(const QString& f) { return fromFile<bool>(f, AviInfoWasCaptureFile); }
bool AviInfoRightsFlag(const QString& f) { return fromFile<bool>(f, AviInfoRightsFlag); }

QStringList AviFileInfoLines(const QString& fileName, const AviFileInfo& info)
{
    QStringList lines{
        QStringLiteral("Filename: ") + fileName,
        QStringLiteral("File Type: ") + AviInfoFileType(info),
        QStringLiteral("Height: ") + QString::number(AviInfoHeight(info)),
        QStringLiteral("Width: ") + QString::number(AviInfoWidth(info)),
        QStringLiteral("Length: ") + QString::number(AviInfoLength(info)) + QStringLiteral(" frames"),
        QStringLiteral("Rate: ") + QString::number(AviInfoFrameRate(info)) + QStringLiteral("fps"),
        QStringLiteral("=== dwCaps ==="),
        QStringLiteral("Compressed: ") + trueFalse(AviInfoCapsCompressed(info)),
        QStringLiteral("All Key Frames: ") + trueFalse(AviInfoCapsAllKeyFrames(info)),
        QStringLiteral("Can Read: ") + trueFalse(AviInfoCapsCanRead(info)),
        QStringLiteral("Can Write: ") + trueFalse(AviInfoCapsCanWrite(info)),
        QStringLiteral("=== dwFlags ==="),
        QStringLiteral("Contains Copyright Info: ") + fileFlag(info, AviInfoRightsFlag(info)),
        QStringLiteral("Capture File: ") + fileFlag(info, AviInfoWasCaptureFile(info)),
        QStringLiteral("Has Index: ") + fileFlag(info, AviInfoHasIndex(info)),
        QStringLiteral("Must Use Index: ") + fileFlag(info, AviInfoMustUseIndex(info)),
        QStringLiteral("Interleaved: ") + fileFlag(info, AviInfoIsInterleaved(info)),
    };
    if (info.variableRate)
        lines.insert(6, QStringLiteral("Warning: the frame rate varies; replay windows are computed from the "
                                       "average rate"));
    return lines;
}

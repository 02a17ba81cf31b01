#include "testvideos.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

namespace TestVideos {

namespace {

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

NumberedVideo::Codec codecOf(Kind kind)
{
    switch (kind) {
    case Kind::Mjpeg:
    case Kind::MjpegLateStart:
    case Kind::MjpegDroppedFrames:
        return NumberedVideo::Codec::Mjpeg;
    case Kind::Raw:
        return NumberedVideo::Codec::Raw;
    case Kind::H264:
    case Kind::H264LateStart:
    case Kind::MkvLateStart:
    case Kind::Mp4VariableRate:
        return NumberedVideo::Codec::H264;
    case Kind::MovHevc:
        return NumberedVideo::Codec::Hevc;
    case Kind::H264OpenGop:
    case Kind::Mp4H264:
        return NumberedVideo::Codec::H264OpenGop;
    case Kind::Mpeg4:
        return NumberedVideo::Codec::Mpeg4;
    case Kind::Mpeg4OpenGop:
        return NumberedVideo::Codec::Mpeg4OpenGop;
    case Kind::Mpeg2:
        return NumberedVideo::Codec::Mpeg2;
    case Kind::Xvid:
    case Kind::XvidHeadersAtStart:
        return NumberedVideo::Codec::Xvid;
    }
    return NumberedVideo::Codec::Mjpeg;
}

} // namespace

QString EncoderOf(Kind kind)
{
    switch (codecOf(kind)) {
    case NumberedVideo::Codec::Mjpeg:
        return QStringLiteral("mjpeg");
    case NumberedVideo::Codec::Raw:
        return QStringLiteral("rawvideo");
    case NumberedVideo::Codec::Mpeg4:
    case NumberedVideo::Codec::Mpeg4OpenGop:
        return QStringLiteral("mpeg4");
    case NumberedVideo::Codec::Mpeg2:
        return QStringLiteral("mpeg2video");
    case NumberedVideo::Codec::Xvid:
        return QStringLiteral("libxvid");
    case NumberedVideo::Codec::Hevc:
        return QStringLiteral("libx265");
    default:
        return QStringLiteral("libx264");
    }
}

QString ScratchDirectory()
{
    return scratch().path();
}

namespace {

QString extensionOf(Kind kind)
{
    switch (kind) {
    case Kind::Mp4H264:
    case Kind::Mp4VariableRate:
        return QStringLiteral("mp4");
    case Kind::MovHevc:
        return QStringLiteral("mov");
    case Kind::MkvLateStart:
        return QStringLiteral("mkv");
    default:
        return QStringLiteral("avi");
    }
}

// Where the video of a kind lives in the build tree.
QString cachedPath(Kind kind, NumberedVideo::Recipe& recipe, bool& lateStart)
{
    recipe.codec = codecOf(kind);
    recipe.frames = frames;
    lateStart = kind == Kind::MjpegLateStart || kind == Kind::H264LateStart;
    if (kind == Kind::MjpegDroppedFrames)
        recipe.droppedFrames = std::pair{4, 17};
    if (kind == Kind::MkvLateStart)
        recipe.startSeconds = 7.5;
    recipe.variableRate = kind == Kind::Mp4VariableRate;
    const QString extension = extensionOf(kind);
    QStringList arguments = NumberedVideo::Arguments(recipe, QStringLiteral("out.") + extension);
    if (lateStart)
        arguments << QStringLiteral("start=7");
    const QString digest = QString::fromLatin1(
        QCryptographicHash::hash(arguments.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    const QDir cache(QStringLiteral(RAMPSCOPE_TEST_VIDEO_DIR));
    return cache.filePath(QStringLiteral("video%1-%2.%3").arg(static_cast<int>(kind)).arg(digest, extension));
}

} // namespace

bool Available(Kind kind)
{
    NumberedVideo::Recipe recipe;
    bool lateStart = false;
    if (QFileInfo::exists(cachedPath(kind, recipe, lateStart)))
        return true;
    static std::map<QString, bool> known;
    const QString encoder = EncoderOf(kind);
    auto it = known.find(encoder);
    if (it == known.end())
        it = known.emplace(encoder, NumberedVideo::HasEncoder(encoder)).first;
    return it->second;
}

QString Path(Kind kind)
{
    // Made once per build tree: every test runs in a process of its own, and
    // making the videos again for each would make the suite slow. The name
    // carries a digest of the ffmpeg arguments, so a changed recipe makes a
    // new file.
    NumberedVideo::Recipe recipe;
    bool lateStart = false;
    const QString path = cachedPath(kind, recipe, lateStart);
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).path());
        // Written under a name of this process's own, then renamed: tests
        // running side by side may make the same video at the same time.
        const QString part
            = path + QStringLiteral(".part%1.").arg(QCoreApplication::applicationPid()) + QFileInfo(path).suffix();
        if (const auto failure = NumberedVideo::Make(recipe, part)) {
            ADD_FAILURE() << "ffmpeg could not make the test video: " << failure->toStdString();
            return {};
        }
        if (kind == Kind::XvidHeadersAtStart && !KeepStreamHeadersOnlyAtStart(part)) {
            ADD_FAILURE() << "no stream headers in " << part.toStdString();
            return {};
        }
        if (lateStart && !SetStreamStart(part, 7)) {
            ADD_FAILURE() << "no stream header in " << part.toStdString();
            return {};
        }
        // A plain rename swaps the whole file in at once, also over one
        // another test made meanwhile; a test that copies the video then
        // always reads a complete file. (QFile::rename would refuse an
        // existing name, and where the system refuses, copy over it in
        // place, which another test could read half written.)
        std::error_code failed;
        std::filesystem::rename(std::filesystem::path(QFile::encodeName(part).toStdString()),
                                std::filesystem::path(QFile::encodeName(path).toStdString()), failed);
        if (failed)
            QFile::remove(part);
    }
    return path;
}

QString TruncatedCopy(const QString& path, qint64 bytes, const QString& name)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QString target = scratch().filePath(name);
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(in.read(bytes)) < 0)
        return {};
    return target;
}

bool KeepStreamHeadersOnlyAtStart(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    const QByteArray sequenceStart("\x00\x00\x01\xb0", 4);
    const QByteArray pictureStart("\x00\x00\x01\xb6", 4);
    qsizetype at = bytes.indexOf(sequenceStart);
    if (at < 0)
        return false;
    int blanked = 0;
    for (at = bytes.indexOf(sequenceStart, bytes.indexOf(pictureStart, at)); at >= 0;
         at = bytes.indexOf(sequenceStart, at)) {
        const qsizetype picture = bytes.indexOf(pictureStart, at);
        if (picture < 0)
            break;
        std::fill(bytes.begin() + at, bytes.begin() + picture, '\0');
        at = picture;
        ++blanked;
    }
    return blanked > 0 && file.seek(0) && file.write(bytes) == bytes.size();
}

bool SetStreamStart(const QString& path, quint32 start)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray head = file.read(1 << 16);
    const qsizetype at = head.indexOf("strh");
    if (at < 0)
        return false;
    // strh data: type, handler, flags, priority + language, initial frames,
    // scale, rate, start.
    char value[4];
    qToLittleEndian<quint32>(start, value);
    return file.seek(at + 8 + 28) && file.write(value, 4) == 4;
}

AviLayout LayoutOf(const QByteArray& avi)
{
    AviLayout layout;
    qsizetype at = avi.indexOf("movi") + 4;
    while (at > 3 && at + 8 <= avi.size()) {
        const QByteArray id = avi.mid(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(avi.constData() + at + 4);
        if (id == "idx1") {
            layout.index = at;
            break;
        }
        if (id == "00dc" || id == "00db")
            layout.chunks.push_back(at);
        at += 8 + size + (size & 1);
    }
    return layout;
}

bool DamageFrame(const QString& path, int frame)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    const AviLayout layout = LayoutOf(bytes);
    if (frame >= static_cast<int>(layout.chunks.size()) || layout.index < 0)
        return false;
    const qsizetype chunkSize = layout.chunks[frame] + 4;
    const qsizetype entrySize = layout.index + 8 + 16 * frame + 12;
    const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + chunkSize);
    qToLittleEndian<quint32>(size + 100, bytes.data() + chunkSize);
    qToLittleEndian<quint32>(size / 2, bytes.data() + entrySize);
    return file.seek(0) && file.write(bytes) == bytes.size();
}

} // namespace TestVideos

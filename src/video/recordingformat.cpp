#include "video/recordingformat.h"

#include <QByteArray>
#include <QFile>

#include <cstring>

FormatContextPtr OpenRecording(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, name.constData(), av_find_input_format("avi"), nullptr) >= 0)
        return FormatContextPtr(raw);
    raw = nullptr;
    if (avformat_open_input(&raw, name.constData(), nullptr, nullptr) < 0)
        return nullptr;
    FormatContextPtr format(raw);
    // Only the containers of cameras and phones: whatever else the probe
    // recognises is no recording.
    const char* found = format->iformat ? format->iformat->name : "";
    if (std::strcmp(found, "mov,mp4,m4a,3gp,3g2,mj2") != 0 && std::strcmp(found, "matroska,webm") != 0)
        return nullptr;
    return format;
}

bool IsAviRecording(const AVFormatContext* format)
{
    return format && format->iformat && std::strcmp(format->iformat->name, "avi") == 0;
}

int FirstVideoStream(const AVFormatContext* format)
{
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return static_cast<int>(i);
    }
    return -1;
}

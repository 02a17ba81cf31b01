#include "video/recordingformat.h"

extern "C" {
#include <libavutil/dict.h>
}

#include <QByteArray>
#include <QFile>

#include <cstring>

FormatContextPtr OpenRecording(const QString& path)
{
    // Always a file on this computer: a name is never taken for a network
    // address or another of FFmpeg's protocols, and nothing a file names
    // (a playlist's entries, say) is opened.
    const QByteArray name = QByteArrayLiteral("file:") + QFile::encodeName(path);
    const auto open = [&name](const AVInputFormat* reader, const char* readers) {
        AVDictionary* options = nullptr;
        av_dict_set(&options, "protocol_whitelist", "file", 0);
        if (readers)
            av_dict_set(&options, "format_whitelist", readers, 0);
        AVFormatContext* raw = nullptr;
        const int opened = avformat_open_input(&raw, name.constData(), reader, &options);
        av_dict_free(&options);
        return opened >= 0 ? FormatContextPtr(raw) : nullptr;
    };
    if (FormatContextPtr avi = open(av_find_input_format("avi"), nullptr))
        return avi;
    // Only the containers of cameras and phones, chosen before any reader
    // looks past the file's first bytes: whatever else the probe
    // recognises is no recording.
    return open(nullptr, "mov,mp4,m4a,3gp,3g2,mj2,matroska,webm");
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

#pragma once

extern "C" {
#include <libavutil/error.h>
}

#include <QString>

// FFmpeg's text for an error number, for the operator's message.
inline QString FfmpegErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

#pragma once

#include "video/ffmpeghandles.h"

#include <QString>

// The files a recording is read from: AVI, as the station's recorder and
// older capture programs write it, and MP4, MOV and Matroska, as phones and
// action cameras write them.

// Opens the file for reading: by the AVI reader whenever that takes it, so
// an AVI file is read as it always was, otherwise as MP4/MOV or Matroska.
// Returns null when the file opens as none of them.
FormatContextPtr OpenRecording(const QString& path);

// True when the file was opened by the AVI reader.
bool IsAviRecording(const AVFormatContext* format);

// The first video stream of the file (a cover picture is none), -1 when it
// has none.
int FirstVideoStream(const AVFormatContext* format);

#pragma once

#include "video/ffmpeghandles.h"

#include <cstdint>

// One picture as a camera delivered it, on its way to the preview and the
// recorder. A camera that sends JPEG pictures hands them over as they came,
// so a recording stores them without re-encoding; any other camera hands
// over the decoded picture.
struct CapturedFrame {
    // When the camera took the picture, in microseconds on the steady clock
    // of its source; only differences between frames of one source matter.
    int64_t timeUs = 0;
    FramePtr picture; // a decoded picture in any pixel format, or
    PacketPtr jpeg;   // one JPEG picture
    int width = 0;    // of the JPEG picture
    int height = 0;
    // The first picture after the camera's scene started over (see
    // FrameSource::restartScene).
    bool sceneStart = false;
};

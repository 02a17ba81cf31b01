#pragma once

extern "C" {
#include <libavdevice/avdevice.h>
#include <libavformat/avformat.h>
}

#include <atomic>
#include <mutex>

// FFmpeg's device layers (Video4Linux2, ALSA, lavfi), registered once.
inline void RegisterLibavDevices()
{
    static std::once_flag once;
    std::call_once(once, [] { avdevice_register_all(); });
}

// Lets a blocking read of a device give up as soon as `stopping` is set.
inline AVIOInterruptCB InterruptWhen(std::atomic<bool>& stopping)
{
    return {[](void* flag) { return static_cast<std::atomic<bool>*>(flag)->load() ? 1 : 0; }, &stopping};
}

#include "capture/soundtrack.h"

#include <algorithm>
#include <cmath>

SoundTrack::SoundTrack(const AudioFormat& format) : format_(format) {}

void SoundTrack::setStart(int64_t startUs)
{
    startUs_ = startUs;
    startKnown_ = true;
}

void SoundTrack::add(const SoundBlock& block)
{
    if (!startKnown_)
        return;
    const int frameBytes = 2 * format_.channels;
    const int64_t samples = block.samples.size() / frameBytes;
    if (samples == 0)
        return;
    if (placed_) {
        pending_.append(block.samples.constData(), samples * frameBytes);
        return;
    }
    // Where the block's first sample falls on the file's timeline.
    const double firstUs = double(block.arrivalUs) - double(samples) * 1e6 / format_.sampleRate;
    const int64_t first = std::llround((firstUs - double(startUs_)) * format_.sampleRate / 1e6);
    if (first + samples <= 0)
        return; // heard before the first frame
    placed_ = true;
    if (first > 0)
        pending_.fill('\0', first * frameBytes); // the sound input started late: silence
    const int64_t skipped = std::max<int64_t>(0, -first);
    pending_.append(block.samples.constData() + skipped * frameBytes, (samples - skipped) * frameBytes);
}

QByteArray SoundTrack::take(int64_t until)
{
    const int frameBytes = 2 * format_.channels;
    const int64_t count = std::clamp<int64_t>(until - taken_, 0, pending_.size() / frameBytes);
    const QByteArray taken = pending_.left(count * frameBytes);
    pending_.remove(0, count * frameBytes);
    taken_ += count;
    if (format_.bits == 16)
        return taken;
    // 8-bit sound is unsigned: the top byte of each sample, shifted to 128.
    QByteArray bytes(count * format_.channels, Qt::Uninitialized);
    const auto* samples = reinterpret_cast<const int16_t*>(taken.constData());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(uint8_t((samples[i] >> 8) + 128));
    return bytes;
}

#pragma once

#include "video/frameindex.h"

#include <QString>

#include <cstdint>
#include <expected>
#include <vector>

struct AVFormatContext;

// Indexes a video stream of an MP4, MOV or Matroska file by reading each of
// its packets once: frame n is the nth picture in order of presentation
// time, so a first time that is not 0 shifts no number. The read position
// is left at an unspecified place. Fails when the stream holds no picture,
// more than a 32-bit count of them, or one without any timestamp.
std::expected<FrameIndex, QString> BuildPresentationIndex(AVFormatContext* format, int streamIndex);

// The rate and spacing of pictures shown at the given times (ascending, in
// timeBase units): frames per second from the first picture to the last,
// or the declared rate where the spacing is even and agrees with it within
// a hundredth (a time base of whole milliseconds cannot hold 1/30 s exactly).
// The spacing varies when a step is more than a tenth away from the mean
// step. Fewer than two pictures: the declared rate.
FrameIndex::Timing PresentationTiming(const std::vector<int64_t>& shownTimes, AVRational timeBase,
                                      AVRational declared);

#pragma once

#include "video/videoerror.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <expected>

// The picture the measurement screen loads, in the application directory.
inline const QString currentCaptureFileName = QStringLiteral("currentcapture.bmp");

// Decodes frame `frame` (0-based as the stream counts it, not offset by the
// stream's start) of the first video stream of fileName and writes it as
// currentcapture.bmp in applicationDirectory, replacing the previous one.
// Fails, writing nothing, with:
// - "There was an error working with the file:" + CR LF + fileName when the
//   file does not open as AVI, has no video stream or the frame cannot be
//   decoded;
// - "No suitable decompressor found for this video stream!";
// - FrameOutsideStream + CR LF + fileName when the stream has no such frame;
// - "The picture could not be written to the file:" + CR LF + the bitmap's
//   path + CR LF + the reason, when writing fails (error icon).
std::expected<void, VideoError> ExtractFrameToBitmap(const QString& fileName, int64_t frame,
                                                     const QString& applicationDirectory);

// The same, written to bitmapPath.
std::expected<void, VideoError> ExtractFrameToFile(const QString& fileName, int64_t frame, const QString& bitmapPath);

// Writes an already decoded picture the same way (the frame player's frame
// on screen): a 24-bit bitmap with a 54-byte header. Fails as above when the
// picture is empty or too large for a bitmap, or when writing fails.
std::expected<void, VideoError> WriteFrameBitmap(const QImage& picture, const QString& bitmapPath);

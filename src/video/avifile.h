#pragma once

#include "video/videoerror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <expected>

// The information block of an AVI file, as the file-level services report it.
struct AviFileInfo {
    // File flags (from the file's main header).
    static constexpr uint32_t hasIndex = 0x10;
    static constexpr uint32_t mustUseIndex = 0x20;
    static constexpr uint32_t isInterleaved = 0x100;
    static constexpr uint32_t wasCaptureFile = 0x10000;
    static constexpr uint32_t rightsFlag = 0x20000;
    // Capability flags.
    static constexpr uint32_t canRead = 0x01;
    static constexpr uint32_t canWrite = 0x02;
    static constexpr uint32_t allKeyFrames = 0x10;
    static constexpr uint32_t noCompression = 0x20;

    uint32_t maxBytesPerSecond = 0;
    uint32_t fileFlags = 0;
    uint32_t capabilities = 0;
    uint32_t streams = 0;
    uint32_t suggestedBufferSize = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t scale = 0;
    uint32_t rate = 0;
    uint32_t length = 0; // frames of the first video stream
    uint32_t editCount = 0;
    QByteArray fileType; // 64 bytes, zero-terminated when the text is shorter
    // False for MP4, MOV and Matroska files: they have no AVI main header,
    // so its file flags are not stored in them.
    bool aviHeader = true;
    // The pictures are not evenly spaced in time (phones): rate / scale is
    // their average rate.
    bool variableRate = false;
};

// True when the file begins with "RIFF" and holds "AVI " at byte 8. A file
// that cannot be looked at fails: "File does not exist:" or "File is locked -
// cannot access:" (error icon, CR LF and the path), or the system's own
// description of another open failure (information icon).
std::expected<bool, VideoError> IsAviFile(const QString& fileName);

// True when the file is an AVI file (IsAviFile) or an MP4, MOV or Matroska
// file that holds a video stream; fails as IsAviFile does.
std::expected<bool, VideoError> IsVideoRecording(const QString& fileName);

// Opens the file as AVI (or MP4, MOV or Matroska) and reads its information
// block; for the latter rate / scale is the average rate of the pictures.
// Fails with "Unable to open file:" when it opens as none of them and with
// "Unable to read AVI file info from:" when its video stream cannot be read
// (error icon, CR LF and the path).
std::expected<AviFileInfo, VideoError> ReadAviFileInfo(const QString& fileName);

// Fields of a block read by ReadAviFileInfo.
int64_t AviInfoWidth(const AviFileInfo& info);
int64_t AviInfoHeight(const AviFileInfo& info);
int64_t AviInfoLength(const AviFileInfo& info);
// rate / scale rounded half to even; 0 when scale is 0 or the result does not
// fit 32 bits.
int32_t AviInfoFrameRate(const AviFileInfo& info);
// The file type text up to its first zero; empty when it has none.
QString AviInfoFileType(const AviFileInfo& info);
bool AviInfoCapsCompressed(const AviFileInfo& info);
bool AviInfoCapsAllKeyFrames(const AviFileInfo& info);
bool AviInfoCapsCanRead(const AviFileInfo& info);
bool AviInfoCapsCanWrite(const AviFileInfo& info);
bool AviInfoHasIndex(const AviFileInfo& info);
bool AviInfoMustUseIndex(const AviFileInfo& info);
bool AviInfoIsInterleaved(const AviFileInfo& info);
bool AviInfoWasCaptureFile(const AviFileInfo& info);
bool AviInfoRightsFlag(const AviFileInfo& info);

// The same, each reading the file afresh; 0, an empty text or false when it
// cannot be read (no message: callers that tell the operator read the block
// once with ReadAviFileInfo).
int64_t AviInfoWidth(const QString& fileName);
int64_t AviInfoHeight(const QString& fileName);
int64_t AviInfoLength(const QString& fileName);
int32_t AviInfoFrameRate(const QString& fileName);
QString AviInfoFileType(const QString& fileName);
bool AviInfoCapsCompressed(const QString& fileName);
bool AviInfoCapsAllKeyFrames(const QString& fileName);
bool AviInfoCapsCanRead(const QString& fileName);
bool AviInfoCapsCanWrite(const QString& fileName);
bool AviInfoHasIndex(const QString& fileName);
bool AviInfoMustUseIndex(const QString& fileName);
bool AviInfoIsInterleaved(const QString& fileName);
bool AviInfoWasCaptureFile(const QString& fileName);
bool AviInfoRightsFlag(const QString& fileName);

// The lines the frame selection screen lists for an opened file: file name,
// type, height, width, length, rate (followed by a warning when the rate
// varies), then the capability and file flags as "True" or "False"; the file
// flags "not stored in this file" when it has no AVI main header.
QStringList AviFileInfoLines(const QString& fileName, const AviFileInfo& info);

#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <expected>

// A device operation that failed: the error number and its description, as
// the capture panel reports them.
struct CaptureFailure {
    enum Code : uint32_t {
        notConnected = 0x101,   // no camera connected
        cameraRefused = 0x102,  // the camera would not start or change format
        fileFailed = 0x103,     // the picture or recording file could not be written
        notAvailable = 0x104,   // the station has no such device, format or feature
        busy = 0x105,           // a recording is under way
    };
    uint32_t code = 0;
    QString description;
};
using CaptureResult = std::expected<void, CaptureFailure>;

struct AudioFormat {
    int sampleRate = 0; // Hz
    int channels = 0;
    int bits = 0;
    bool operator==(const AudioFormat&) const = default;
};

struct CaptureStatistics {
    int64_t framesCaptured = 0; // frames holding a picture
    int64_t framesDropped = 0;  // frames left empty (each shows the picture before it)
    int64_t samples = 0;        // audio samples
    int64_t timeMs = 0;
};

// How a single picture is taken from the panel.
struct FrameCaptureOptions {
    QString fileName;
    bool progressive = false;
    bool autoIncrement = false; // each picture gets the next number in its file name
    int quality = 75;           // JPEG quality, 1 to 100
    QString caption;            // written onto the picture at (captionLeft, captionTop)
    int captionLeft = 0;
    int captionTop = 0;
};

// The capture control the capture panel and the capture screen drive: the
// cameras of the station, the connected one's formats, preview, single
// pictures, recordings to AVI and their figures. The screens know nothing
// else of cameras.
class CaptureDevice : public QObject {
    Q_OBJECT

public:
    enum class Category { Video, Audio };
    enum class Change { Added = 0, Removed = 1 };

    // The codes of statusChanged: a recording ended by itself (time limit,
    // full disk) and new figures of the recording under way.
    static constexpr int streamEndedStatus = 301;
    static constexpr int statisticsStatus = 510;

    using QObject::QObject;

    // Devices.
    virtual QStringList videoDevices() const = 0;
    virtual int videoDeviceIndex() const = 0;
    virtual void setVideoDeviceIndex(int index) = 0;
    virtual CaptureResult connectDevice(int index) = 0;
    virtual void disconnectDevice() = 0;
    virtual bool isConnected() const = 0;

    // The connected camera's formats; the lists are empty when disconnected.
    virtual QStringList resolutions() const = 0;
    virtual int resolutionIndex() const = 0;
    virtual CaptureResult setResolutionIndex(int index) = 0;
    virtual QStringList colourFormats() const = 0;
    virtual int colourFormatIndex() const = 0;
    virtual CaptureResult setColourFormatIndex(int index) = 0;
    virtual QStringList inputs() const = 0;
    virtual int inputIndex() const = 0;
    virtual CaptureResult setInputIndex(int index) = 0;
    virtual bool hasTuner() const = 0;
    virtual int channelMinimum() const = 0;
    virtual int channelMaximum() const = 0;
    virtual int channel() const = 0;
    virtual CaptureResult setChannel(int channel) = 0;
    // A device with a settings dialog of its own.
    virtual bool hasVideoDialog() const = 0;
    virtual CaptureResult showVideoDialog() = 0;

    virtual int frameRate() const = 0;
    virtual void setFrameRate(int framesPerSecond) = 0;
    virtual int timeLimit() const = 0; // seconds; 0 records until stopped
    virtual void setTimeLimit(int seconds) = 0;

    virtual QStringList videoCompressors() const = 0;
    virtual int videoCompressorIndex() const = 0;
    virtual CaptureResult setVideoCompressor(int index) = 0;
    virtual bool videoCompressorHasDialog() const = 0;
    virtual QStringList audioCompressors() const = 0;
    virtual CaptureResult setAudioCompressor(int index) = 0;

    // Sound.
    virtual QStringList audioDevices() const = 0;
    virtual int audioDeviceIndex() const = 0;
    virtual void setAudioDeviceIndex(int index) = 0;
    virtual AudioFormat audioFormat() const = 0;
    virtual void setAudioFormat(const AudioFormat& format) = 0;
    // Listening to the sound input through the station's speakers, where
    // the device offers it.
    virtual bool canListen() const = 0;
    virtual void setListen(bool on) = 0;

    // Effects by name; addEffect answers a negative number when there is no
    // effect of that name.
    virtual QStringList effects() const = 0;
    virtual int addEffect(const QString& name, const QString& slot) = 0;
    virtual CaptureResult setEffect(int effect) = 0;
    virtual void removeEffect() = 0;

    // Preview pictures arrive through previewFrame while preview is on.
    virtual CaptureResult setPreview(bool on) = 0;
    virtual bool preview() const = 0;

    // One picture to a file (JPEG, or BMP by the name's extension).
    virtual CaptureResult captureFrame(const FrameCaptureOptions& options) = 0;
    // A recording to an AVI file, until stopStream or the time limit.
    virtual CaptureResult startStream(const QString& aviFile) = 0;
    virtual void stopStream() = 0;
    virtual bool isRecording() const = 0;
    // The figures of the file under way or last written, pre-roll included.
    virtual CaptureStatistics statistics() const = 0;

    // Pre-roll: while the camera runs, its last `seconds` (0 to
    // maxPrerollSeconds) of pictures are kept, and a recording's file starts
    // with them, so a Start pressed a moment late still holds the take-off.
    // 0 keeps nothing and the file starts at Start.
    static constexpr int maxPrerollSeconds = 3;
    virtual void setPrerollSeconds(int seconds) = 0;
    virtual int prerollSeconds() const = 0;
    // The frames of the file under way or last written that come before the
    // moment its recording was started.
    virtual int64_t prerollFrames() const = 0;

Q_SIGNALS:
    void previewFrame(const QImage& picture);
    void statusChanged(int code, const QString& text);
    // Something the operator must read, e.g. a recording cut short by a
    // full disk.
    void warning(const QString& text);
    void deviceChanged(CaptureDevice::Category category, CaptureDevice::Change change, int index,
                       const QString& name);
};

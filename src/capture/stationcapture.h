#pragma once

#include "capture/avirecorder.h"
#include "capture/capturedevice.h"
#include "capture/framesource.h"
#include "capture/soundsource.h"
#include "capture/stationcameras.h"
#include "capture/v4l2devices.h"

#include <QFileSystemWatcher>
#include <QTimer>

#include <functional>
#include <memory>

// The station's capture control: the Video4Linux2 cameras the system has,
// then "Rampscope Virtual Camera", always last. The connected camera runs
// while it is previewed, recorded or asked for a picture; its pictures go to
// the preview and the recorder on the camera's own thread, and reach the
// screen through queued signals only.
class StationCapture final : public CaptureDevice {
    Q_OBJECT

public:
    using CameraFinder = std::function<QList<V4l2Device>()>;

    // A sound input: its name in the list, FFmpeg's device layer and the
    // device's name there.
    struct SoundInput {
        QString name;
        QByteArray layer;
        QByteArray url;
    };
    static constexpr const char* testToneName = "Rampscope Test Tone";

    // Cameras come from `findCameras`; `deviceDirectory` is watched for
    // cameras plugged in or pulled out.
    explicit StationCapture(QObject* parent = nullptr);
    StationCapture(CameraFinder findCameras, const QString& deviceDirectory, QObject* parent = nullptr);
    ~StationCapture() override;

    QStringList videoDevices() const override;
    int videoDeviceIndex() const override { return deviceIndex_; }
    void setVideoDeviceIndex(int index) override;
    CaptureResult connectDevice(int index) override;
    void disconnectDevice() override;
    bool isConnected() const override { return source_ != nullptr; }

    QStringList resolutions() const override;
    int resolutionIndex() const override { return resolutionIndex_; }
    CaptureResult setResolutionIndex(int index) override;
    QStringList colourFormats() const override;
    int colourFormatIndex() const override { return colourFormatIndex_; }
    CaptureResult setColourFormatIndex(int index) override;
    QStringList inputs() const override;
    int inputIndex() const override { return inputIndex_; }
    CaptureResult setInputIndex(int index) override;
    bool hasTuner() const override { return false; }
    int channelMinimum() const override { return 0; }
    int channelMaximum() const override { return 0; }
    int channel() const override { return 0; }
    CaptureResult setChannel(int channel) override;
    bool hasVideoDialog() const override { return false; }
    CaptureResult showVideoDialog() override;

    int frameRate() const override { return frameRate_; }
    void setFrameRate(int framesPerSecond) override;
    int timeLimit() const override { return timeLimit_; }
    void setTimeLimit(int seconds) override;

    QStringList videoCompressors() const override;
    int videoCompressorIndex() const override { return compressorIndex_; }
    CaptureResult setVideoCompressor(int index) override;
    bool videoCompressorHasDialog() const override { return false; }
    QStringList audioCompressors() const override { return {}; }
    CaptureResult setAudioCompressor(int index) override;

    QStringList audioDevices() const override;
    int audioDeviceIndex() const override { return audioDeviceIndex_; }
    void setAudioDeviceIndex(int index) override { audioDeviceIndex_ = index; }
    AudioFormat audioFormat() const override { return audioFormat_; }
    void setAudioFormat(const AudioFormat& format) override { audioFormat_ = format; }
    bool canListen() const override { return false; }
    void setListen(bool) override {}

    QStringList effects() const override { return {}; }
    int addEffect(const QString& name, const QString& slot) override;
    CaptureResult setEffect(int effect) override;
    void removeEffect() override {}

    CaptureResult setPreview(bool on) override;
    bool preview() const override { return preview_; }

    CaptureResult captureFrame(const FrameCaptureOptions& options) override;
    CaptureResult startStream(const QString& aviFile) override;
    void stopStream() override;
    bool isRecording() const override { return recorder_ != nullptr; }
    CaptureStatistics statistics() const override;
    void setPrerollSeconds(int seconds) override;
    int prerollSeconds() const override { return prerollSeconds_; }
    int64_t prerollFrames() const override;

    // What the pre-roll holds now: JPEG bytes and pictures.
    int64_t prerollBytesKept() const;
    int prerollPicturesKept() const;

private:
    struct Feed;

    void rescanCameras();
    FrameSource::Format chosenFormat() const;
    // A resolution, colour format or input chosen from the `offered` ones.
    CaptureResult chooseFormat(int& chosen, int index, qsizetype offered, const QString& what);
    CaptureResult runCamera(bool wanted);
    CaptureResult restartCamera();
    void endRecording(bool byItself);
    void resetPreroll(bool cameraRuns);

    CameraFinder findCameras_;
    QList<StationCamera> cameras_;
    QList<SoundInput> soundInputs_;
    std::unique_ptr<SoundSource> sound_; // while a recording with sound runs
    int deviceIndex_ = 0;
    int connectedIndex_ = -1;
    std::unique_ptr<FrameSource> source_;
    QList<QSize> sizes_;
    QStringList pixelFormats_;
    int resolutionIndex_ = -1;
    int colourFormatIndex_ = -1;
    int inputIndex_ = 0;
    int frameRate_ = 30;
    int timeLimit_ = 0;
    int compressorIndex_ = 0;
    int audioDeviceIndex_ = -1;
    AudioFormat audioFormat_{44100, 2, 16};
    bool preview_ = false;
    std::shared_ptr<Feed> feed_;
    std::unique_ptr<AviRecorder> recorder_;
    QString recordingPath_;
    CaptureStatistics lastStatistics_;
    int prerollSeconds_ = 0;
    int64_t lastPrerollFrames_ = 0;
    int pictureNumber_ = 0;
    QFileSystemWatcher deviceWatcher_;
    QTimer statisticsTimer_;
};

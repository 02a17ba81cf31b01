#pragma once

#include "capture/capturedevice.h"

// A capture control for screen tests: its lists and current values are
// whatever the test puts in them, and every change a screen asks for is
// kept so the test can check it. Operations answer `failure` when set.
class ScriptedCapture final : public CaptureDevice {
public:
    QStringList devices{QStringLiteral("Cam A"), QStringLiteral("Cam B")};
    QStringList resolutionNames{QStringLiteral("640 x 480"), QStringLiteral("1280 x 720"), QStringLiteral("1920 x 1080")};
    QStringList colourNames{QStringLiteral("MJPG"), QStringLiteral("YUYV")};
    QStringList inputNames{QStringLiteral("Camera")};
    QStringList sound{QStringLiteral("Mic")};
    int device = 0;
    bool connected = false;
    int resolution = 1;
    int colour = 0;
    int input = 0;
    int rate = 25;
    int limit = 0;
    int sampleRate = 22050;
    int soundDevice = -1;
    AudioFormat format{22050, 1, 16};
    bool previewOn = false;
    std::optional<CaptureFailure> failure;
    QString streamFile;
    bool recordingNow = false;
    int64_t framesCapturedNow = 180;
    int64_t framesDroppedNow = 2;
    int preroll = 0;
    bool listenOffered = true;
    int64_t prerollFramesNow = 0;

    QStringList videoDevices() const override { return devices; }
    int videoDeviceIndex() const override { return device; }
    void setVideoDeviceIndex(int index) override { device = index; }
    CaptureResult connectDevice(int index) override { return answer([&] { device = index, connected = true; }); }
    void disconnectDevice() override { connected = false; }
    bool isConnected() const override { return connected; }
    QStringList resolutions() const override { return resolutionNames; }
    int resolutionIndex() const override { return resolution; }
    CaptureResult setResolutionIndex(int i) override { return answer([&] { resolution = i; }); }
    QStringList colourFormats() const override { return colourNames; }
    int colourFormatIndex() const override { return colour; }
    CaptureResult setColourFormatIndex(int i) override { return answer([&] { colour = i; }); }
    QStringList inputs() const override { return inputNames; }
    int inputIndex() const override { return input; }
    CaptureResult setInputIndex(int i) override { return answer([&] { input = i; }); }
    bool hasTuner() const override { return false; }
    int channelMinimum() const override { return 0; }
    int channelMaximum() const override { return 0; }
    int channel() const override { return 0; }
    CaptureResult setChannel(int) override { return answer([] {}); }
    bool hasVideoDialog() const override { return false; }
    CaptureResult showVideoDialog() override { return answer([] {}); }
    int frameRate() const override { return rate; }
    void setFrameRate(int r) override { rate = r; }
    int timeLimit() const override { return limit; }
    void setTimeLimit(int s) override { limit = s; }
    QStringList videoCompressors() const override { return {QStringLiteral("MJPEG")}; }
    int videoCompressorIndex() const override { return 0; }
    CaptureResult setVideoCompressor(int) override { return answer([] {}); }
    bool videoCompressorHasDialog() const override { return false; }
    QStringList audioCompressors() const override { return {}; }
    CaptureResult setAudioCompressor(int) override { return answer([] {}); }
    QStringList audioDevices() const override { return sound; }
    int audioDeviceIndex() const override { return soundDevice; }
    void setAudioDeviceIndex(int i) override { soundDevice = i; }
    AudioFormat audioFormat() const override { return format; }
    void setAudioFormat(const AudioFormat& f) override { format = f; }
    bool canListen() const override { return listenOffered; }
    void setListen(bool) override {}
    QStringList effects() const override { return {QStringLiteral("Mirror")}; }
    int addEffect(const QString&, const QString&) override { return -1; }
    CaptureResult setEffect(int) override { return answer([] {}); }
    void removeEffect() override {}
    CaptureResult setPreview(bool on) override { return answer([&] { previewOn = on; }); }
    bool preview() const override { return previewOn; }
    CaptureResult captureFrame(const FrameCaptureOptions&) override { return answer([] {}); }
    CaptureResult startStream(const QString& file) override
    {
        return answer([&] { streamFile = file, recordingNow = true; });
    }
    void stopStream() override { recordingNow = false; }
    bool isRecording() const override { return recordingNow; }
    CaptureStatistics statistics() const override { return {framesCapturedNow, framesDroppedNow, 0, 6000}; }
    void setPrerollSeconds(int seconds) override { preroll = seconds; }
    int prerollSeconds() const override { return preroll; }
    int64_t prerollFrames() const override { return prerollFramesNow; }

    void announce(Category category, Change change, int index, const QString& name)
    {
        Q_EMIT deviceChanged(category, change, index, name);
    }

private:
    template <typename Apply> CaptureResult answer(Apply apply)
    {
        if (failure)
            return std::unexpected(*failure);
        apply();
        return {};
    }
};

#include "capture/stationcapture.h"

#include "capture/prerollbuffer.h"
#include "capture/previewpicture.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>

#include <condition_variable>
#include <mutex>

namespace {

constexpr int noPictureWaitMs = 3000;

CaptureResult Fail(uint32_t code, const QString& description)
{
    return std::unexpected(CaptureFailure{code, description});
}

CaptureResult NotConnected()
{
    return Fail(CaptureFailure::notConnected, QStringLiteral("No capture device is connected"));
}

QString SizeName(QSize size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

// The sound inputs of the station: the ALSA devices that capture ("plug"
// devices, which convert to the rate and channels a recording asks for),
// and a test tone, always last, to try recording sound without a sound card.
QList<StationCapture::SoundInput> SoundInputs()
{
    QList<StationCapture::SoundInput> inputs;
    QFile pcm(QStringLiteral("/proc/asound/pcm"));
    if (pcm.open(QIODevice::ReadOnly | QIODevice::Text)) {
        // "00-01: ALC3246 Analog : ALC3246 Analog : playback 1 : capture 1"
        for (const QByteArray& line : pcm.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(':');
            const QList<QByteArray> cardAndDevice = fields.value(0).trimmed().split('-');
            if (fields.size() < 3 || !line.contains("capture") || cardAndDevice.size() != 2)
                continue;
            const QByteArray url = "plughw:" + QByteArray::number(cardAndDevice[0].toInt()) + ','
                + QByteArray::number(cardAndDevice[1].toInt());
            inputs.append({QString::fromUtf8(fields[1].trimmed()), "alsa", url});
        }
    }
    inputs.append({QString::fromLatin1(StationCapture::testToneName), "lavfi", "sine=frequency=440:beep_factor=4"});
    return inputs;
}

// The file name of the nth picture when each picture gets the next number:
// "shot.jpg" becomes "shot1.jpg", "shot2.jpg" and so on.
QString NumberedFileName(const QString& fileName, int number)
{
    const QFileInfo info(fileName);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return fileName.left(fileName.size() - suffix.size()) + QString::number(number) + suffix;
}

} // namespace

// What the camera's thread and the screen's thread share: where pictures go.
struct StationCapture::Feed {
    std::mutex mutex;
    std::condition_variable pictureTaken;
    AviRecorder* recorder = nullptr;
    bool waitingForSceneStart = false; // the recording begins with the scene
    bool prerollDue = false;           // the recording's first picture has not come yet
    PrerollBuffer preroll;             // pictures of the seconds before a recording
    bool previewWanted = false;
    bool previewShown = true; // the screen has taken the last preview picture
    bool pictureWanted = false;
    QImage picture;
    PreviewPicture converter; // camera thread only
};

StationCapture::StationCapture(QObject* parent)
    : StationCapture([] { return FindV4l2Devices(); }, QStringLiteral("/dev"), parent)
{
}

StationCapture::StationCapture(CameraFinder findCameras, const QString& deviceDirectory, QObject* parent)
    : CaptureDevice(parent), findCameras_(std::move(findCameras)), feed_(std::make_shared<Feed>())
{
    cameras_ = StationCameras(findCameras_());
    soundInputs_ = SoundInputs();
    if (!deviceDirectory.isEmpty())
        deviceWatcher_.addPath(deviceDirectory);
    connect(&deviceWatcher_, &QFileSystemWatcher::directoryChanged, this, &StationCapture::rescanCameras);
    statisticsTimer_.setInterval(500);
    connect(&statisticsTimer_, &QTimer::timeout, this, [this] {
        const CaptureStatistics s = statistics();
        Q_EMIT statusChanged(statisticsStatus, QStringLiteral("Recording: %1 frames captured, %2 dropped")
                                                   .arg(s.framesCaptured)
                                                   .arg(s.framesDropped));
    });
}

StationCapture::~StationCapture()
{
    if (recorder_)
        endRecording(false);
    if (source_)
        source_->stop();
}

QStringList StationCapture::videoDevices() const
{
    QStringList names;
    for (const StationCamera& camera : cameras_)
        names.append(camera.name);
    return names;
}

void StationCapture::setVideoDeviceIndex(int index)
{
    if (index >= 0 && index < cameras_.size())
        deviceIndex_ = index;
}

void StationCapture::rescanCameras()
{
    const QList<StationCamera> now = StationCameras(findCameras_());
    // Removed first, from the end, so each index is the one the list had.
    for (qsizetype i = cameras_.size() - 1; i >= 0; --i) {
        if (now.contains(cameras_[i]))
            continue;
        const StationCamera gone = cameras_.takeAt(i);
        if (connectedIndex_ == i)
            disconnectDevice();
        else if (connectedIndex_ > i)
            --connectedIndex_;
        if (deviceIndex_ >= cameras_.size())
            deviceIndex_ = int(cameras_.size()) - 1;
        Q_EMIT deviceChanged(Category::Video, Change::Removed, int(i), gone.name);
    }
    for (qsizetype i = 0; i < now.size(); ++i) {
        if (i < cameras_.size() && now[i] == cameras_[i])
            continue;
        cameras_.insert(i, now[i]);
        if (connectedIndex_ >= i)
            ++connectedIndex_;
        Q_EMIT deviceChanged(Category::Video, Change::Added, int(i), now[i].name);
    }
}

CaptureResult StationCapture::connectDevice(int index)
{
    if (index < 0 || index >= cameras_.size())
        return Fail(CaptureFailure::notAvailable, QStringLiteral("There is no capture device %1").arg(index));
    if (recorder_)
        return Fail(CaptureFailure::busy, QStringLiteral("A recording is under way"));
    disconnectDevice();
    const StationCamera& camera = cameras_[index];
    source_ = camera.open();
    deviceIndex_ = index;
    connectedIndex_ = index;
    sizes_.clear();
    pixelFormats_.clear();
    for (const FrameSource::Format& format : camera.formats) {
        if (!sizes_.contains(format.size))
            sizes_.append(format.size);
        if (!pixelFormats_.contains(format.pixelFormat))
            pixelFormats_.append(format.pixelFormat);
    }
    // A camera starts at 1280 x 720 when it offers it, else at its first size.
    resolutionIndex_ = sizes_.isEmpty() ? -1 : std::max(0, int(sizes_.indexOf(QSize(1280, 720))));
    colourFormatIndex_ = pixelFormats_.isEmpty() ? -1 : 0;
    inputIndex_ = 0;
    return {};
}

void StationCapture::disconnectDevice()
{
    if (recorder_)
        endRecording(false);
    if (source_)
        source_->stop();
    source_.reset();
    resetPreroll(false);
    connectedIndex_ = -1;
    preview_ = false;
    {
        std::lock_guard lock(feed_->mutex);
        feed_->previewWanted = false;
    }
    sizes_.clear();
    pixelFormats_.clear();
    resolutionIndex_ = colourFormatIndex_ = -1;
}

QStringList StationCapture::resolutions() const
{
    QStringList names;
    for (const QSize size : sizes_)
        names.append(SizeName(size));
    return names;
}

QStringList StationCapture::colourFormats() const
{
    return pixelFormats_;
}

QStringList StationCapture::inputs() const
{
    return source_ ? source_->inputs() : QStringList();
}

CaptureResult StationCapture::chooseFormat(int& chosen, int index, qsizetype offered, const QString& what)
{
    if (!source_)
        return NotConnected();
    if (index < 0 || index >= offered)
        return Fail(CaptureFailure::notAvailable, QStringLiteral("The camera has no %1 %2").arg(what).arg(index));
    chosen = index;
    return restartCamera();
}

CaptureResult StationCapture::setResolutionIndex(int index)
{
    return chooseFormat(resolutionIndex_, index, sizes_.size(), QStringLiteral("resolution"));
}

CaptureResult StationCapture::setColourFormatIndex(int index)
{
    return chooseFormat(colourFormatIndex_, index, pixelFormats_.size(), QStringLiteral("colour format"));
}

CaptureResult StationCapture::setInputIndex(int index)
{
    return chooseFormat(inputIndex_, index, source_ ? source_->inputs().size() : 0, QStringLiteral("input"));
}

CaptureResult StationCapture::setChannel(int)
{
    return Fail(CaptureFailure::notAvailable, QStringLiteral("The camera has no tuner"));
}

CaptureResult StationCapture::showVideoDialog()
{
    return Fail(CaptureFailure::notAvailable, QStringLiteral("The camera has no settings dialog of its own"));
}

void StationCapture::setFrameRate(int framesPerSecond)
{
    if (framesPerSecond <= 0 || framesPerSecond == frameRate_)
        return;
    frameRate_ = framesPerSecond;
    if (source_ && !recorder_)
        (void)restartCamera();
}

void StationCapture::setTimeLimit(int seconds)
{
    timeLimit_ = std::max(0, seconds);
}

QStringList StationCapture::videoCompressors() const
{
    return {QStringLiteral("MJPEG")};
}

CaptureResult StationCapture::setVideoCompressor(int index)
{
    if (index != 0)
        return Fail(CaptureFailure::notAvailable, QStringLiteral("There is no compressor %1").arg(index));
    compressorIndex_ = index;
    return {};
}

CaptureResult StationCapture::setAudioCompressor(int)
{
    return Fail(CaptureFailure::notAvailable, QStringLiteral("Sound is not recorded on this station"));
}

int StationCapture::addEffect(const QString&, const QString&)
{
    return -1;
}

CaptureResult StationCapture::setEffect(int)
{
    return Fail(CaptureFailure::notAvailable, QStringLiteral("There are no video effects on this station"));
}

FrameSource::Format StationCapture::chosenFormat() const
{
    return ChooseFormat(cameras_[connectedIndex_].formats, sizes_.value(resolutionIndex_),
                        pixelFormats_.value(colourFormatIndex_));
}

CaptureResult StationCapture::runCamera(bool wanted)
{
    if (!source_)
        return NotConnected();
    if (!wanted) {
        source_->stop();
        resetPreroll(false);
        return {};
    }
    if (source_->running())
        return {};
    // The camera's thread reaches the screen only through queued calls on
    // this object, which Qt drops once the object is gone.
    std::weak_ptr<Feed> weakFeed = feed_;
    auto sink = [this, weakFeed](CapturedFrame frame) {
        const std::shared_ptr<Feed> feed = weakFeed.lock();
        if (!feed)
            return;
        std::unique_lock lock(feed->mutex);
        const bool forPreview = feed->previewWanted && feed->previewShown;
        if (forPreview || feed->pictureWanted) {
            QImage image = feed->converter.toImage(frame);
            if (feed->pictureWanted) {
                feed->picture = image;
                feed->pictureWanted = false;
                feed->pictureTaken.notify_all();
            }
            if (forPreview && !image.isNull()) {
                feed->previewShown = false;
                QMetaObject::invokeMethod(
                    this,
                    [this, image] {
                        {
                            std::lock_guard relock(feed_->mutex);
                            feed_->previewShown = true;
                        }
                        Q_EMIT previewFrame(image);
                    },
                    Qt::QueuedConnection);
            }
        }
        // Until the recording's first picture, pictures go to the pre-roll:
        // the virtual camera's pictures before its scene starts over show
        // the lake as the preview did, and come first in the file.
        if (!feed->recorder || (feed->waitingForSceneStart && !frame.sceneStart)) {
            feed->preroll.add(std::move(frame));
            return;
        }
        feed->waitingForSceneStart = false;
        if (feed->prerollDue) {
            feed->prerollDue = false;
            feed->recorder->submitPreroll(feed->preroll.take(frame.timeUs));
        }
        feed->recorder->submit(std::move(frame));
    };
    resetPreroll(true);
    if (auto started = source_->start(chosenFormat(), frameRate_, inputIndex_, sink); !started) {
        resetPreroll(false);
        return Fail(CaptureFailure::cameraRefused, started.error());
    }
    return {};
}

CaptureResult StationCapture::restartCamera()
{
    if (!source_ || !source_->running())
        return {};
    if (recorder_)
        return Fail(CaptureFailure::busy, QStringLiteral("A recording is under way"));
    source_->stop();
    return runCamera(true);
}

CaptureResult StationCapture::setPreview(bool on)
{
    if (on && !source_)
        return NotConnected();
    {
        std::lock_guard lock(feed_->mutex);
        feed_->previewWanted = on;
        feed_->previewShown = true;
    }
    preview_ = on;
    if (!source_)
        return {};
    return runCamera(on || recorder_);
}

CaptureResult StationCapture::captureFrame(const FrameCaptureOptions& options)
{
    if (!source_)
        return NotConnected();
    const bool wasRunning = source_->running();
    if (auto running = runCamera(true); !running)
        return running;
    QImage picture;
    {
        std::unique_lock lock(feed_->mutex);
        feed_->pictureWanted = true;
        feed_->pictureTaken.wait_for(lock, std::chrono::milliseconds(noPictureWaitMs),
                                     [&] { return !feed_->pictureWanted; });
        feed_->pictureWanted = false;
        picture = std::move(feed_->picture);
        feed_->picture = QImage();
    }
    if (!wasRunning)
        (void)runCamera(false);
    if (picture.isNull())
        return Fail(CaptureFailure::cameraRefused, QStringLiteral("The camera delivered no picture"));
    if (!options.caption.isEmpty()) {
        QPainter painter(&picture);
        painter.setPen(Qt::white);
        painter.drawText(QPoint(options.captionLeft, options.captionTop + painter.fontMetrics().ascent()),
                         options.caption);
    }
    const QString fileName = options.autoIncrement ? NumberedFileName(options.fileName, ++pictureNumber_)
                                                   : options.fileName;
    QImageWriter writer(fileName);
    if (writer.format().isEmpty())
        writer.setFormat("jpg");
    writer.setQuality(std::clamp(options.quality, 1, 100));
    writer.setProgressiveScanWrite(options.progressive);
    if (!writer.write(picture))
        return Fail(CaptureFailure::fileFailed, writer.errorString() + QStringLiteral(": ") + fileName);
    return {};
}

CaptureResult StationCapture::startStream(const QString& aviFile)
{
    if (!source_)
        return NotConnected();
    if (recorder_)
        return Fail(CaptureFailure::busy, QStringLiteral("A recording is under way"));
    const QSize size = sizes_.value(resolutionIndex_);
    AviRecorder::Settings settings{aviFile, size.width(), size.height(), frameRate_, timeLimit_, 3, {}};
    // Sound goes to the recorder once it runs; a sound input that cannot be
    // opened leaves a recording of pictures, and the operator is told.
    std::unique_ptr<SoundSource> sound;
    if (audioDeviceIndex_ >= 0 && audioDeviceIndex_ < soundInputs_.size()) {
        const SoundInput& input = soundInputs_[audioDeviceIndex_];
        std::weak_ptr<Feed> weakFeed = feed_;
        auto started = SoundSource::start(input.layer, input.url, audioFormat_, [weakFeed](SoundBlock block) {
            if (const std::shared_ptr<Feed> feed = weakFeed.lock()) {
                std::lock_guard lock(feed->mutex);
                if (feed->recorder)
                    feed->recorder->submitSound(std::move(block));
            }
        });
        if (started) {
            sound = std::move(*started);
            settings.sound = audioFormat_;
        } else {
            Q_EMIT warning(QStringLiteral("The sound input %1 cannot be used (%2); the recording holds pictures only")
                               .arg(input.name, started.error()));
        }
    }
    auto recorder = AviRecorder::start(settings);
    if (!recorder)
        return Fail(CaptureFailure::fileFailed, recorder.error() + QStringLiteral(": ") + aviFile);
    recorder_ = std::move(*recorder);
    sound_ = std::move(sound);
    recordingPath_ = aviFile;
    recorder_->setEndedHandler([this] { QMetaObject::invokeMethod(this, [this] { endRecording(true); }); });
    // The virtual camera's jump starts over with the recording's first frame.
    const bool sceneStarts = source_->restartsScene();
    {
        std::lock_guard lock(feed_->mutex);
        feed_->recorder = recorder_.get();
        feed_->waitingForSceneStart = sceneStarts;
        feed_->prerollDue = true;
    }
    lastPrerollFrames_ = 0;
    if (auto running = runCamera(true); !running) {
        endRecording(false);
        return running;
    }
    if (sceneStarts)
        source_->restartScene();
    statisticsTimer_.start();
    Q_EMIT statusChanged(0, QStringLiteral("Recording to ") + aviFile);
    return {};
}

void StationCapture::stopStream()
{
    if (recorder_)
        endRecording(false);
}

void StationCapture::endRecording(bool byItself)
{
    if (!recorder_)
        return;
    {
        std::lock_guard lock(feed_->mutex);
        feed_->recorder = nullptr;
        feed_->waitingForSceneStart = false;
        feed_->prerollDue = false;
    }
    sound_.reset();
    const AviRecorder::Statistics figures = recorder_->stop();
    lastPrerollFrames_ = recorder_->prerollFrames();
    const QString failure = recorder_->failure();
    recorder_.reset();
    statisticsTimer_.stop();
    lastStatistics_ = {figures.framesCaptured, figures.framesDropped, figures.samples, figures.timeMs};
    if (source_ && !preview_)
        source_->stop();
    resetPreroll(source_ && source_->running()); // a length changed while recording applies now
    QString text = QStringLiteral("Recording ended: %1 frames captured, %2 dropped")
                       .arg(figures.framesCaptured)
                       .arg(figures.framesDropped);
    if (!failure.isEmpty())
        text = QStringLiteral("Recording stopped (%1); the %2 frames captured are kept in %3")
                   .arg(failure)
                   .arg(figures.framesCaptured)
                   .arg(recordingPath_);
    Q_EMIT statusChanged(byItself ? streamEndedStatus : statisticsStatus, text);
    if (!failure.isEmpty())
        Q_EMIT warning(text);
}

QStringList StationCapture::audioDevices() const
{
    QStringList names;
    for (const SoundInput& input : soundInputs_)
        names.append(input.name);
    return names;
}

CaptureStatistics StationCapture::statistics() const
{
    if (!recorder_)
        return lastStatistics_;
    const AviRecorder::Statistics s = recorder_->statistics();
    return {s.framesCaptured, s.framesDropped, s.samples, s.timeMs};
}

void StationCapture::setPrerollSeconds(int seconds)
{
    prerollSeconds_ = std::clamp(seconds, 0, maxPrerollSeconds);
    if (!recorder_)
        resetPreroll(source_ && source_->running());
}

void StationCapture::resetPreroll(bool cameraRuns)
{
    // Only a running camera keeps pictures, at the size and rate a
    // recording would take them.
    const QSize size = sizes_.value(resolutionIndex_);
    feed_->preroll.configure(cameraRuns ? prerollSeconds_ : 0, size.width(), size.height(), frameRate_);
}

int64_t StationCapture::prerollFrames() const
{
    return recorder_ ? recorder_->prerollFrames() : lastPrerollFrames_;
}

int64_t StationCapture::prerollBytesKept() const
{
    return feed_->preroll.bytesKept();
}

int StationCapture::prerollPicturesKept() const
{
    return feed_->preroll.picturesKept();
}

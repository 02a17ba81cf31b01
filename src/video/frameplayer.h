#pragma once

#include "video/videoerror.h"

#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <expected>
#include <memory>

class FrameDecoder;
class QSlider;
class QTimer;

// The player of the frame selection screen, driven in frames. The picture on
// screen is always exactly frame position() of the file (frame n is the nth
// picture the stream shows, counted from 0), so the frame the operator
// accepts is the frame that is extracted.
//
// Playing runs the selection from its start to its end at the file's frame
// rate against the wall clock: when decoding cannot keep up, frames are
// skipped on screen rather than the replay running late. Playing stops on
// the selection's end frame.
//
// In full screen the picture fills the screen; Escape returns to normal size
// and a mouse click plays the selection again.
class FramePlayer final : public QWidget {
    Q_OBJECT

public:
    // Display sizes as the screen sets them; anything but FullScreen is shown
    // at normal size.
    static constexpr int normalSize = 0;
    static constexpr int fullScreenSize = 3;

    explicit FramePlayer(QWidget* parent = nullptr);
    ~FramePlayer() override;

    // Opens the file and shows its frame 0; the empty text closes the file
    // and clears the picture. A file that cannot be opened leaves the player
    // closed and returns the failure for the operator.
    std::expected<void, VideoError> setFileName(const QString& path);
    QString fileName() const { return m_fileName; }
    bool isOpen() const;

    // Frames in the stream and its rate (frames per second); 0 when closed.
    int64_t frameCount() const;
    double frameRate() const;

    // The frame on screen. Setting stops nothing: while playing the replay
    // carries on from the clock. A position outside the stream is held at
    // the nearest frame the stream has (0 when closed).
    int64_t position() const { return m_position; }
    void setPosition(int64_t frame);

    int64_t selectionStart() const { return m_selectionStart; }
    int64_t selectionEnd() const { return m_selectionEnd; }
    void setSelectionStart(int64_t frame);
    void setSelectionEnd(int64_t frame);

    // Plays the selection from its start (the whole file when the end is not
    // after the start).
    void play();
    void stop();
    bool isPlaying() const;

    int displaySize() const { return m_displaySize; }
    void setDisplaySize(int size);

    // The picture of the frame on screen (empty when closed), 24-bit.
    QImage currentPicture() const { return m_picture; }

    // The key code a key event gives, as the station's key handlers count
    // them (Windows virtual-key numbers: keypad 4 = 100, keypad 6 = 102,
    // left arrow 37, right arrow 39, Escape 27, letters and digits their
    // upper-case character code); 0 for a key without one.
    static int KeyCodeOf(const QKeyEvent& event);

Q_SIGNALS:
    // A key went down or up while the player had the focus.
    void keyDown(int keyCode);
    void keyUp(int keyCode);
    // The frame on screen changed (a step, the slider, or playing).
    void positionChanged(int64_t frame);
    // Playing stopped on the selection's end frame.
    void playEnded();
    // A frame could not be decoded; the previous picture stays (playing
    // stops).
    void decodeFailed(const VideoError& error);
    // The display size changed (also when Escape leaves full screen).
    void displaySizeChanged(int size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void closeFile();
    // Shows the frame; false (and decodeFailed) when it cannot be decoded.
    bool showFrame(int64_t frame);
    void advancePlayback();
    QRect pictureArea() const;
    int64_t clampToStream(int64_t frame) const;
    void enterFullScreen();
    void leaveFullScreen();

    QString m_fileName;
    std::unique_ptr<FrameDecoder> m_decoder;
    QImage m_picture;
    int64_t m_position = 0;
    int64_t m_selectionStart = 0;
    int64_t m_selectionEnd = 0;
    int m_displaySize = normalSize;
    QSlider* m_slider = nullptr;
    QTimer* m_playTimer = nullptr;
    QElapsedTimer m_playClock;
    int64_t m_playFrom = 0;
    int64_t m_playTo = 0;

    // Where the player was before full screen, to put it back exactly.
    QRect m_normalGeometry;
    QSize m_normalMinimumSize;
    QSize m_normalMaximumSize;
    bool m_normalVisible = false;
    bool m_embedded = false;
};

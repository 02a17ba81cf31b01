#pragma once

#include <QPointer>
#include <QWidget>

class PictureCanvas;

// A zoomed view of the pixels around the pointer with a cross hair, for
// placing a buoy or a landing mark on the exact pixel. It only looks: the
// canvas's clicks and the measured values are not touched.
class Magnifier final : public QWidget {
    Q_OBJECT

public:
    static constexpr int zoom = 6;
    static constexpr int sourcePixels = 31; // odd: the pointer's pixel sits in the middle

    // Follows the pointer over the canvas while switched on.
    explicit Magnifier(PictureCanvas& canvas);

    void setEnabledByOperator(bool on);
    bool isEnabledByOperator() const { return m_on; }

    // The zoomed view around a pixel of the picture, as it is drawn at 1:1.
    QImage view(QPoint centrePixel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow(QPoint pointerPixel);

    PictureCanvas& m_canvas;
    bool m_on = false;
    QPoint m_centre;
    QImage m_source;
};

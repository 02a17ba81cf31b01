#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

#include <functional>

// The frame on which buoys are placed and landings are marked. The picture is
// shown 1:1 (one image pixel on one screen pixel), and every position the
// canvas reports or accepts is in twips of the frame: 15 twips per pixel,
// origin top-left, y downwards.
class PictureCanvas final : public QWidget {
    Q_OBJECT

public:
    static constexpr double twipsPerPixel = 15.0;

    explicit PictureCanvas(QWidget* parent = nullptr);

    // The background picture; an empty image clears it.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.isNull(); }

    // What the owner draws over the picture, on a painter already in twips.
    // The overlay is redrawn whole on every repaint.
    void setOverlay(std::function<void(QPainter&)> overlay);

    // The frame with everything drawn on it, as the operator sees it (labels
    // placed on the canvas included): what a picture save writes.
    QImage composedImage();

    static QPoint toPixels(QPointF twips);
    static QPointF toTwips(QPointF pixels);

Q_SIGNALS:
    void pressed(QPointF twips, Qt::MouseButton button);
    void moved(QPointF twips);
    void released(QPointF twips);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    QSize sizeHint() const override;

private:
    QImage m_picture;
    std::function<void(QPainter&)> m_overlay;
};

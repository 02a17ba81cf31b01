#pragma once

#include "widgets/pictureviewport.h"

#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

// The frame on which buoys are placed and landings are marked, fitted to the
// space the screen gives it, zoomed with the wheel around the pointer and
// panned by dragging with the middle button. Every position the canvas
// reports or accepts is in twips of the full-size frame: 15 twips per
// picture pixel, origin top-left, y downwards, whatever the zoom.
class PictureCanvas final : public QWidget {
    Q_OBJECT

public:
    static constexpr double twipsPerPixel = PictureViewport::twipsPerPixel;

    explicit PictureCanvas(QWidget* parent = nullptr);

    // The background picture; an empty image clears it. A frame of another
    // size is fitted; one of the same size keeps the zoom and pan.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.isNull(); }

    // What the owner draws over the picture, on a painter already in twips.
    // Pens should be cosmetic: a line keeps its width on screen at any zoom.
    // The overlay is redrawn whole on every repaint.
    void setOverlay(std::function<void(QPainter&)> overlay);

    // A label lying on the frame with its top-left corner at a point of the
    // frame (twips): it follows the zoom and pan, its text keeps its size.
    // With the point it belongs to (a buoy), it keeps its 1:1 distance from
    // that point in screen pixels, so labels stacked above a buoy never run
    // into each other when the frame is shrunk.
    void placeOnPicture(QWidget* label, QPointF topLeftTwips, std::optional<QPointF> belongsToTwips = {});

    // The frame at full size with everything drawn on it, as the operator
    // sees it at 1:1 (labels lying on the frame included): what a picture
    // save writes, whatever the zoom.
    QImage composedImage() const;
    // A part of that image (picture pixels); outside the frame stays black.
    QImage composedImage(const QRect& pixels) const;

    const PictureViewport& viewport() const { return m_viewport; }
    void fit();
    void zoomOneToOne();
    // One step of the zoom ladder around a view point; the middle of the
    // view when none is given.
    void zoomIn(std::optional<QPointF> anchor = {});
    void zoomOut(std::optional<QPointF> anchor = {});
    void setPan(QPoint offset);

    // Twips of the frame for a point of the canvas (whole twips), and back.
    QPointF twipsAt(QPointF viewPixels) const { return m_viewport.toTwips(viewPixels); }
    QPointF viewAt(QPointF twips) const { return m_viewport.toView(twips); }

    static QPoint toPixels(QPointF twips);
    static QPointF toTwips(QPointF pixels);

Q_SIGNALS:
    void pressed(QPointF twips, Qt::MouseButton button);
    void moved(QPointF twips);
    void released(QPointF twips);
    // The scale or the pan changed.
    void viewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    QSize sizeHint() const override;

private:
    struct PlacedLabel {
        QPointer<QWidget> label;
        QPointF topLeftTwips;
        QPointF belongsToTwips;
    };

    QPoint labelPosition(const PlacedLabel& placed) const;

    void viewUpdated();
    void placeLabels();
    void paintPicture(QPainter& painter, const QRect& exposed);
    const QImage& shrunkPicture();
    QSize shrunkSize() const;

    QImage m_picture;
    std::function<void(QPainter&)> m_overlay;
    PictureViewport m_viewport;
    std::vector<PlacedLabel> m_labels;
    // A frame shrunk to fit is smoothed once per scale, not on every repaint.
    QImage m_shrunk;
    double m_shrunkScale = 0.0;
    bool m_shrunkSmooth = false;
    // Middle-button pan: where the drag started and the pan then.
    std::optional<QPointF> m_panFrom;
    QPoint m_panStart;
    int m_wheelAngle = 0;
    // Wheel steps with the pointer still keep zooming on the picture point
    // first under it, even where a step could not pan to keep it there (a
    // frame still shorter than the view).
    std::optional<QPointF> m_wheelAt;
    QPointF m_wheelPicturePoint;
};

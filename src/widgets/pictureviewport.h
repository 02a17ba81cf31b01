#pragma once

#include <QPoint>
#include <QPointF>
#include <QSize>

#include <optional>

// How a frame lies in the space a screen gives it: the scale (screen pixels
// per picture pixel) and how far the scaled picture is panned. Positions
// outside the view are always in twips of the full-size frame (15 twips per
// picture pixel), so nothing measured depends on the zoom.
//
// "Fit" is the largest scale, never above 1:1, at which the whole frame
// shows: a small frame stays pixel for pixel at the top-left corner, a large
// one is shrunk. Zooming keeps the picture point under the pointer in place.
class PictureViewport {
public:
    static constexpr double twipsPerPixel = 15.0;
    static constexpr double minimumScale = 0.125;
    static constexpr double maximumScale = 8.0;

    // A frame of another size goes back to fit; the same size keeps the
    // operator's zoom and pan.
    void setPictureSize(QSize picture);
    void setViewSize(QSize view);
    QSize pictureSize() const { return m_picture; }
    QSize viewSize() const { return m_view; }

    double scale() const { return m_scale; }
    bool fitted() const { return m_fit; }
    double fitScale() const;
    // Pan, in screen pixels of the scaled picture: the scaled picture's
    // point shown at the view's top-left corner.
    QPoint offset() const { return m_offset; }
    // How far the pan can go each way (0 when the scaled picture fits).
    QSize panRange() const;

    void fit();
    // A new scale, the picture point under `anchor` (view pixels) staying
    // where it is; or, given, that picture point (picture pixels) brought
    // under the anchor as far as the pan allows.
    void zoomTo(double scale, QPointF anchor, std::optional<QPointF> picturePoint = {});
    // One step up or down the zoom ladder (1:8 ... 1:1 ... 8:1).
    void zoomIn(QPointF anchor, std::optional<QPointF> picturePoint = {});
    void zoomOut(QPointF anchor, std::optional<QPointF> picturePoint = {});
    // The picture point (picture pixels, fractions kept) under a view point.
    QPointF pictureAt(QPointF viewPixels) const;
    void setOffset(QPoint offset);

    // A view position to twips of the frame, in whole twips: at 4x a click
    // lands on a quarter pixel (3.75 twips, rounded to the nearest twip).
    QPointF toTwips(QPointF viewPixels) const;
    // Twips of the frame to the view (fractions kept).
    QPointF toView(QPointF twips) const;

    static double nextScaleUp(double scale);
    static double nextScaleDown(double scale);

private:
    void clampOffset();

    QSize m_picture{640, 480};
    QSize m_view{640, 480};
    double m_scale = 1.0;
    bool m_fit = true;
    QPoint m_offset;
};

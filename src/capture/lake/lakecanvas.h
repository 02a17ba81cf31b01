#pragma once

#include <QRgb>

class QImage;

// Antialiased discs, round-ended strokes and ellipses painted straight into
// the pixels of a Format_RGB32 picture, without allocating: the skier and the
// splash are drawn anew on every frame. Positions are picture pixels with the
// centre of pixel (i, j) at (i, j); a pixel is covered as far as it lies
// within half a pixel of the shape's edge, so a disc's colour is centred
// exactly on its centre.
class LakeCanvas {
public:
    // The picture must stay alive and unshared while the canvas is used.
    explicit LakeCanvas(QImage& picture);

    void disc(double cx, double cy, double radius, QRgb colour, double opacity = 1.0);
    // A stroke of the given half-width from a to b with round ends.
    void stroke(double ax, double ay, double bx, double by, double halfWidth, QRgb colour, double opacity = 1.0);
    void ellipse(double cx, double cy, double rx, double ry, QRgb colour, double opacity = 1.0);

private:
    template <typename Coverage>
    void fill(double left, double top, double right, double bottom, QRgb colour, double opacity,
              Coverage coverage);

    unsigned char* m_bits;
    qsizetype m_bytesPerLine;
    int m_width;
    int m_height;
};

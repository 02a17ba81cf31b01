#include "widgets/magnifier.h"
#include "widgets/picturecanvas.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

#include <gtest/gtest.h>

namespace {

QImage checkerPicture()
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(QColor(10, 20, 30));
    image.setPixel(100, 50, qRgb(200, 0, 0));
    return image;
}

TEST(PictureCanvas, ClicksArriveInTwipsOfTheFrame)
{
    PictureCanvas canvas;
    canvas.setPicture(checkerPicture());
    canvas.show();
    QSignalSpy spy(&canvas, &PictureCanvas::pressed);
    QTest::mouseClick(&canvas, Qt::RightButton, {}, QPoint(408, 227));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toPointF(), QPointF(6120, 3405));
    EXPECT_EQ(spy.at(0).at(1).value<Qt::MouseButton>(), Qt::RightButton);
}

TEST(PictureCanvas, ShowsThePictureOneToOneWithTheOverlayInTwips)
{
    PictureCanvas canvas;
    canvas.setPicture(checkerPicture());
    // A line 150 twips (10 pixels) long from pixel (20, 30).
    canvas.setOverlay([](QPainter& p) {
        p.setPen(QPen(Qt::white, 15));
        p.drawLine(QPointF(300, 450), QPointF(450, 450));
    });
    canvas.resize(640, 480);
    const QImage shown = canvas.composedImage();
    ASSERT_EQ(shown.size(), QSize(640, 480));
    EXPECT_EQ(shown.pixel(100, 50), qRgb(200, 0, 0));
    EXPECT_EQ(shown.pixel(25, 30), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(25, 40), qRgb(10, 20, 30));
    EXPECT_EQ(shown.pixel(40, 30), qRgb(10, 20, 30));
}

// The same point of a 1920 x 1080 frame clicked fitted (about 0.52), at 1:1
// and at 4x: the twips agree within what one screen pixel covers at that
// scale, and a 4x click lands on a quarter pixel.
TEST(PictureCanvas, ClicksMapThroughTheZoomToTheSameTwips)
{
    PictureCanvas canvas;
    QImage frame(1920, 1080, QImage::Format_RGB32);
    frame.fill(Qt::darkBlue);
    canvas.setPicture(frame);
    canvas.resize(1000, 600);
    canvas.show();
    ASSERT_TRUE(canvas.viewport().fitted());
    ASSERT_NEAR(canvas.viewport().scale(), 1000.0 / 1920, 1e-9);

    struct Case {
        const char* view;
        double scale;
    };
    const Case cases[] = {{"fit", 0.0}, {"1:1", 1.0}, {"4x", 4.0}};
    const QPointF points[] = {{150, 90}, {12345.0, 6789.0}, {28785.0, 16185.0}, {14400.0, 8107.0}};
    QSignalSpy spy(&canvas, &PictureCanvas::pressed);
    for (const Case& c : cases) {
        if (c.scale == 0.0)
            canvas.fit();
        else
            canvas.zoomOneToOne();
        while (canvas.viewport().scale() < c.scale)
            canvas.zoomIn();
        ASSERT_EQ(canvas.viewport().scale(), c.scale == 0.0 ? 1000.0 / 1920 : c.scale) << c.view;
        const double scale = canvas.viewport().scale();
        for (const QPointF twips : points) {
            // Pan so the point is in view, then click the screen pixel on it.
            canvas.setPan((twips / 15 * scale - QPointF(500, 300)).toPoint());
            const QPointF view = canvas.viewAt(twips);
            const QPoint at(static_cast<int>(std::floor(view.x())), static_cast<int>(std::floor(view.y())));
            ASSERT_TRUE(canvas.rect().contains(at)) << c.view;
            spy.clear();
            QTest::mouseClick(&canvas, Qt::LeftButton, {}, at);
            ASSERT_EQ(spy.count(), 1);
            const QPointF got = spy.at(0).at(0).toPointF();
            const double resolution = 15.0 / scale; // twips under one screen pixel
            EXPECT_LE(std::abs(got.x() - twips.x()), resolution + 0.5) << c.view << " x " << twips.x();
            EXPECT_LE(std::abs(got.y() - twips.y()), resolution + 0.5) << c.view << " y " << twips.y();
            EXPECT_EQ(got.x(), std::round(got.x()));
            if (c.scale == 4.0) {
                EXPECT_EQ(got, QPointF(std::round((at.x() + canvas.viewport().offset().x()) * 3.75),
                                       std::round((at.y() + canvas.viewport().offset().y()) * 3.75)));
            }
        }
    }
}

// The wheel zooms around the pointer: the frame's point under it stays.
TEST(PictureCanvas, WheelZoomKeepsThePointUnderThePointer)
{
    PictureCanvas canvas;
    QImage frame(1920, 1080, QImage::Format_RGB32);
    frame.fill(Qt::darkBlue);
    canvas.setPicture(frame);
    canvas.resize(960, 540);
    canvas.show();
    const QPointF pointer(700, 130);
    const QPointF before = canvas.twipsAt(pointer);
    for (int notch = 0; notch < 4; ++notch) {
        QWheelEvent wheel(pointer, pointer, {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(&canvas, &wheel);
    }
    EXPECT_EQ(canvas.viewport().scale(), 2.0); // 0.5 fitted, then 2/3, 1, 1.5, 2
    EXPECT_LE((canvas.twipsAt(pointer) - before).manhattanLength(), 2 * 15.0 / 2.0);
    // The composed picture stays the full frame at 1:1 whatever the zoom.
    EXPECT_EQ(canvas.composedImage().size(), QSize(1920, 1080));
}

TEST(Magnifier, ZoomsThePointersPixelIntoTheMiddle)
{
    PictureCanvas canvas;
    canvas.setPicture(checkerPicture());
    canvas.resize(640, 480);
    Magnifier magnifier(canvas);
    const QImage view = magnifier.view(QPoint(100, 50));
    const int middle = Magnifier::sourcePixels / 2 * Magnifier::zoom + Magnifier::zoom / 2;
    EXPECT_EQ(view.pixel(middle, middle), qRgb(200, 0, 0));
    EXPECT_EQ(view.pixel(2, 2), qRgb(10, 20, 30));
    // At the picture's corner the outside stays black.
    const QImage corner = magnifier.view(QPoint(0, 0));
    EXPECT_EQ(corner.pixel(1, 1), qRgb(0, 0, 0));
}

TEST(Magnifier, FollowsThePointerWithoutTakingTheClick)
{
    PictureCanvas canvas;
    canvas.setPicture(checkerPicture());
    canvas.show();
    Magnifier magnifier(canvas);
    magnifier.setEnabledByOperator(true);
    QTest::mouseMove(&canvas, QPoint(100, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 50), QPointF(100, 50), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &move);
    EXPECT_TRUE(magnifier.isVisible());

    QSignalSpy spy(&canvas, &PictureCanvas::pressed);
    // Click where the magnifier sits: the canvas still gets it.
    const QPoint onMagnifier = magnifier.geometry().center();
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, onMagnifier);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toPointF(), PictureCanvas::toTwips(onMagnifier));

    magnifier.setEnabledByOperator(false);
    EXPECT_FALSE(magnifier.isVisible());
}

} // namespace

#include "widgets/magnifier.h"
#include "widgets/picturecanvas.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

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

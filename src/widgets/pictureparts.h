#pragma once

#include "widgets/named.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

class Magnifier;
class PictureCanvas;
class QLabel;
class QPointF;
class QSize;
class QScrollBar;
class QToolButton;
class QWidget;

// The parts the screens that show a frame build alike: the picture area with
// its canvas, scroll bars, zoom buttons, status line and magnifier, the
// labels that lie on the frame, the handles of the draggable groups, the
// micro-adjust arrows and the marker-size bar.

struct PictureArea {
    QWidget* area = nullptr;          // objectName "pictureArea"
    PictureCanvas* canvas = nullptr;  // objectName "picture": the frame, fitted, zoomed and panned
    Magnifier* magnifier = nullptr;
    QScrollBar* panX = nullptr;       // "pictureScrollX"
    QScrollBar* panY = nullptr;       // "pictureScrollY"
    QWidget* band = nullptr;          // "pictureBand": room under the frame for the draggable groups
    QToolButton* zoomOut = nullptr;   // "zoomOut", "-"
    QToolButton* zoomIn = nullptr;    // "zoomIn", "+"
    QToolButton* zoomFit = nullptr;   // "zoomFit", "Fit"
    QToolButton* zoomOneToOne = nullptr; // "zoomOneToOne", "1:1"
    QLabel* status = nullptr;         // "pictureStatus": pointer, survey position, zoom
};
// The picture area; the screen sets the band's height for its groups. The
// keys + and - zoom too, except while a box takes the typing.
PictureArea BuildPictureArea(QWidget* parent, QColor background);

// What the status line says of the pointer's point when a grid is live
// (survey position and distance); nothing without one.
using GridReadout = std::function<std::optional<QString>(QPointF twips)>;
void ConnectPictureStatus(const PictureArea& parts, GridReadout gridReadout);

// The status line's text: the picture pixel under the pointer, the grid's
// part when there is one, and the zoom.
QString PictureStatusText(std::optional<QPointF> pointerTwips, const std::optional<QString>& gridPart,
                          double scale);

// Runs `placed` whenever the widget is resized (the draggable groups go back
// to their places in the band).
void OnResize(QWidget* widget, std::function<void()> placed);

// A label lying on the frame: bold and never in the way of a click on the
// picture below it.
QLabel* OnPictureLabel(QWidget* parent, const QString& name, const QString& caption = {});

// The handle of a draggable group: white text on black, so it reads on any
// frame.
QLabel* DragHandleLabel(QWidget* parent, const char* name, const QString& caption);

// A micro-adjust arrow. It never takes the focus: the arrow keys must keep
// moving the mark, not a focused button.
QToolButton* MicroAdjustButton(QWidget* parent, const char* name, Qt::ArrowType arrow);

// The marker-size bar: whole pixels only, 15 twips a step from 15 to 105,
// starting at 90.
QScrollBar* MarkerSizeBar(QWidget* parent, const char* name, int width);

// The band's height for the micro-adjust group: its handle over three rows
// of arrows.
int MicroAdjustBandHeight(const QLabel* adjustLabel, const QToolButton* adjustArrow, int margin);

// The micro-adjust group in the band's bottom-left corner: its handle, and
// the four arrows as a cross under it.
void PlaceMicroAdjust(QLabel* label, QToolButton* up, QToolButton* down, QToolButton* left, QToolButton* right,
                      QRect band, int margin);

// The marker-size group in the band's bottom-right corner: its handle above
// the bar.
void PlaceMarkerSizeBar(QLabel* label, QScrollBar* bar, QRect band, int margin);

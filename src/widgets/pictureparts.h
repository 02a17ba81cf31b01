#pragma once

#include "widgets/named.h"

#include <QColor>
#include <QString>

class Magnifier;
class PictureCanvas;
class QLabel;
class QSize;
class QScrollBar;
class QToolButton;
class QWidget;

// The parts the screens that show a frame build alike: the picture area with
// its canvas and magnifier, the labels that lie on the frame, the handles of
// the draggable groups, the micro-adjust arrows and the marker-size bar.

struct PictureArea {
    QWidget* area = nullptr;        // holds the frame at its top-left corner, 1:1
    PictureCanvas* canvas = nullptr; // objectName "picture"
    Magnifier* magnifier = nullptr;
};
PictureArea BuildPictureArea(QWidget* parent, QColor background);

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

// Gives the picture area room for the frame (at least 640 x 480, shown 1:1)
// and, below it, a band tall enough for the micro-adjust arrows; returns the
// area's size.
QSize FitPictureArea(QWidget* area, PictureCanvas* canvas, QSize frameSize, const QLabel* adjustLabel,
                     const QToolButton* adjustArrow, int margin);

// The micro-adjust group in the band's bottom-left corner: its handle, and
// the four arrows as a cross under it.
void PlaceMicroAdjust(QLabel* label, QToolButton* up, QToolButton* down, QToolButton* left, QToolButton* right,
                      QSize area, int margin);

// The marker-size group in the band's bottom-right corner: its handle above
// the bar.
void PlaceMarkerSizeBar(QLabel* label, QScrollBar* bar, QSize area, int margin);

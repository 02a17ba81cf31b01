#pragma once

#include "widgets/named.h"

#include <QColor>
#include <QString>

class Magnifier;
class PictureCanvas;
class QLabel;
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

#include "widgets/pictureparts.h"

#include "widgets/magnifier.h"
#include "widgets/picturecanvas.h"

#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

PictureArea BuildPictureArea(QWidget* parent, QColor background)
{
    PictureArea parts;
    parts.area = Named(new QWidget(parent), "pictureArea");
    parts.area->setAutoFillBackground(true);
    QPalette palette = parts.area->palette();
    palette.setColor(QPalette::Window, background);
    parts.area->setPalette(palette);
    parts.canvas = Named(new PictureCanvas(parts.area), "picture");
    parts.canvas->move(0, 0);
    parts.magnifier = new Magnifier(*parts.canvas);
    return parts;
}

QLabel* OnPictureLabel(QWidget* parent, const QString& name, const QString& caption)
{
    auto* label = Named(new QLabel(caption, parent), name);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* DragHandleLabel(QWidget* parent, const char* name, const QString& caption)
{
    auto* label = Named(new QLabel(caption, parent), name);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setContentsMargins(4, 2, 4, 2);
    label->setCursor(Qt::SizeAllCursor);
    label->adjustSize();
    return label;
}

QToolButton* MicroAdjustButton(QWidget* parent, const char* name, Qt::ArrowType arrow)
{
    auto* button = Named(new QToolButton(parent), name);
    button->setArrowType(arrow);
    button->setFixedSize(28, 28);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QScrollBar* MarkerSizeBar(QWidget* parent, const char* name, int width)
{
    auto* bar = Named(new QScrollBar(Qt::Horizontal, parent), name);
    bar->setRange(15, 105);
    bar->setSingleStep(15);
    bar->setPageStep(15);
    bar->setValue(90);
    bar->resize(width, 18);
    bar->setFocusPolicy(Qt::NoFocus);
    return bar;
}

QSize FitPictureArea(QWidget* area, PictureCanvas* canvas, QSize frameSize, const QLabel* adjustLabel,
                     const QToolButton* adjustArrow, int margin)
{
    const QSize frame = frameSize.expandedTo(QSize(640, 480));
    const int band = adjustLabel->height() + 3 * adjustArrow->height() + 2 * margin;
    canvas->resize(frame);
    area->setFixedSize(frame.width(), frame.height() + band);
    return area->size();
}

void PlaceMicroAdjust(QLabel* label, QToolButton* up, QToolButton* down, QToolButton* left, QToolButton* right,
                      QSize area, int margin)
{
    const int step = up->width();
    const int top = area.height() - margin - 3 * step - label->height();
    label->move(margin, top);
    const int crossLeft = margin + (label->width() - 3 * step) / 2;
    const int crossTop = top + label->height();
    up->move(crossLeft + step, crossTop);
    left->move(crossLeft, crossTop + step);
    right->move(crossLeft + 2 * step, crossTop + step);
    down->move(crossLeft + step, crossTop + 2 * step);
}

void PlaceMarkerSizeBar(QLabel* label, QScrollBar* bar, QSize area, int margin)
{
    label->move(area.width() - label->width() - margin, area.height() - margin - bar->height() - label->height());
    bar->move(label->x(), label->y() + label->height());
}

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

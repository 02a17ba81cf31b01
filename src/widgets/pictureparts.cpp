#include "widgets/pictureparts.h"

#include "widgets/magnifier.h"
#include "widgets/picturecanvas.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>

#include <cmath>

namespace {

QToolButton* zoomButton(QWidget* parent, const char* name, const QString& caption, const QString& tip)
{
    auto* button = Named(new QToolButton(parent), name);
    button->setText(caption);
    button->setToolTip(tip);
    button->setMinimumWidth(36);
    // Like the arrows: the arrow keys stay with the mark.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// Window-wide keys: a box being typed in claims its printable keys first,
// so a minus typed into a survey box stays a minus.
void zoomKeys(QWidget* area, std::initializer_list<int> keys, const std::function<void()>& zoom)
{
    for (const int key : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), area);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, area, zoom);
    }
}

// The scroll bars follow the canvas's pan; moving them pans the canvas.
void followPan(const PictureArea& parts)
{
    const auto sync = [canvas = parts.canvas, panX = parts.panX, panY = parts.panY] {
        const PictureViewport& view = canvas->viewport();
        const QSize range = view.panRange();
        const QSize page = view.viewSize();
        for (auto [bar, max, step, value] : {std::tuple{panX, range.width(), page.width(), view.offset().x()},
                                             std::tuple{panY, range.height(), page.height(), view.offset().y()}}) {
            const QSignalBlocker blocker(bar);
            bar->setRange(0, max);
            bar->setPageStep(step);
            bar->setSingleStep(std::max(1, step / 20));
            bar->setValue(value);
            // Shown only while there is somewhere to pan: a fitted frame
            // gets the room.
            bar->setVisible(max > 0);
        }
    };
    QObject::connect(parts.canvas, &PictureCanvas::viewChanged, parts.area, sync);
    QObject::connect(parts.panX, &QScrollBar::valueChanged, parts.area, [canvas = parts.canvas](int x) {
        canvas->setPan({x, canvas->viewport().offset().y()});
    });
    QObject::connect(parts.panY, &QScrollBar::valueChanged, parts.area, [canvas = parts.canvas](int y) {
        canvas->setPan({canvas->viewport().offset().x(), y});
    });
    sync();
}

class ResizeWatch final : public QObject {
public:
    ResizeWatch(QWidget* widget, std::function<void()> placed)
        : QObject(widget)
        , m_placed(std::move(placed))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            m_placed();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_placed;
};

} // namespace

PictureArea BuildPictureArea(QWidget* parent, QColor background)
{
    PictureArea parts;
    parts.area = Named(new QWidget(parent), "pictureArea");
    parts.area->setAutoFillBackground(true);
    QPalette palette = parts.area->palette();
    palette.setColor(QPalette::Window, background);
    parts.area->setPalette(palette);

    auto* grid = new QGridLayout(parts.area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    parts.canvas = Named(new PictureCanvas(parts.area), "picture");
    parts.panX = Named(new QScrollBar(Qt::Horizontal, parts.area), "pictureScrollX");
    parts.panY = Named(new QScrollBar(Qt::Vertical, parts.area), "pictureScrollY");
    for (QScrollBar* bar : {parts.panX, parts.panY})
        bar->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(parts.canvas, 0, 0);
    grid->addWidget(parts.panY, 0, 1);
    grid->addWidget(parts.panX, 1, 0);

    parts.band = Named(new QWidget(parts.area), "pictureBand");
    auto* zoomRow = new QHBoxLayout(parts.band);
    zoomRow->setContentsMargins(0, 0, 0, 0);
    zoomRow->addStretch(1);
    parts.zoomOut = zoomButton(parts.band, "zoomOut", QStringLiteral("-"), QStringLiteral("Zoom out (-)"));
    parts.zoomIn = zoomButton(parts.band, "zoomIn", QStringLiteral("+"), QStringLiteral("Zoom in (+)"));
    parts.zoomFit = zoomButton(parts.band, "zoomFit", QStringLiteral("Fit"), QStringLiteral("Whole frame"));
    parts.zoomOneToOne
        = zoomButton(parts.band, "zoomOneToOne", QStringLiteral("1:1"), QStringLiteral("One screen pixel a pixel"));
    for (QToolButton* button : {parts.zoomOut, parts.zoomIn, parts.zoomFit, parts.zoomOneToOne})
        zoomRow->addWidget(button, 0, Qt::AlignTop);
    zoomRow->addStretch(1);
    grid->addWidget(parts.band, 2, 0, 1, 2);

    parts.status = Named(new QLabel(parts.area), "pictureStatus");
    parts.status->setContentsMargins(6, 2, 6, 2);
    // A long readout is cut, never a reason for a wider window.
    parts.status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QPalette statusPalette = parts.status->palette();
    statusPalette.setColor(QPalette::WindowText, Qt::white);
    parts.status->setPalette(statusPalette);
    grid->addWidget(parts.status, 3, 0, 1, 2);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(0, 1);

    parts.magnifier = new Magnifier(*parts.canvas);

    PictureCanvas* canvas = parts.canvas;
    QObject::connect(parts.zoomIn, &QToolButton::clicked, canvas, [canvas] { canvas->zoomIn(); });
    QObject::connect(parts.zoomOut, &QToolButton::clicked, canvas, [canvas] { canvas->zoomOut(); });
    QObject::connect(parts.zoomFit, &QToolButton::clicked, canvas, &PictureCanvas::fit);
    QObject::connect(parts.zoomOneToOne, &QToolButton::clicked, canvas, &PictureCanvas::zoomOneToOne);
    zoomKeys(parts.area, {Qt::Key_Plus, Qt::Key_Equal}, [canvas] { canvas->zoomIn(); });
    zoomKeys(parts.area, {Qt::Key_Minus}, [canvas] { canvas->zoomOut(); });
    followPan(parts);
    ConnectPictureStatus(parts, {});
    return parts;
}

void ConnectPictureStatus(const PictureArea& parts, GridReadout gridReadout)
{
    // One connection at a time: a screen's grid readout replaces the plain one.
    QObject::disconnect(parts.canvas, &PictureCanvas::moved, parts.status, nullptr);
    QObject::disconnect(parts.canvas, &PictureCanvas::viewChanged, parts.status, nullptr);
    struct Pointer {
        std::optional<QPointF> twips;
    };
    auto pointer = std::make_shared<Pointer>();
    const auto show = [canvas = parts.canvas, status = parts.status, pointer, gridReadout] {
        const std::optional<QString> gridPart
            = pointer->twips && gridReadout ? gridReadout(*pointer->twips) : std::nullopt;
        status->setText(PictureStatusText(pointer->twips, gridPart, canvas->viewport().scale()));
    };
    QObject::connect(parts.canvas, &PictureCanvas::moved, parts.status, [pointer, show](QPointF twips) {
        pointer->twips = twips;
        show();
    });
    QObject::connect(parts.canvas, &PictureCanvas::viewChanged, parts.status, show);
    show();
}

QString PictureStatusText(std::optional<QPointF> pointerTwips, const std::optional<QString>& gridPart, double scale)
{
    QStringList parts;
    if (pointerTwips) {
        const auto pixel = [](double twips) {
            return QString::number(static_cast<long long>(std::floor(twips / PictureCanvas::twipsPerPixel)));
        };
        parts << QStringLiteral("Pixel %1, %2").arg(pixel(pointerTwips->x()), pixel(pointerTwips->y()));
        if (gridPart)
            parts << *gridPart;
    }
    parts << QStringLiteral("Zoom %1%").arg(std::lround(scale * 100));
    return parts.join(QStringLiteral("   "));
}

void OnResize(QWidget* widget, std::function<void()> placed)
{
    new ResizeWatch(widget, std::move(placed));
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

int MicroAdjustBandHeight(const QLabel* adjustLabel, const QToolButton* adjustArrow, int margin)
{
    return adjustLabel->height() + 3 * adjustArrow->height() + 2 * margin;
}

void PlaceMicroAdjust(QLabel* label, QToolButton* up, QToolButton* down, QToolButton* left, QToolButton* right,
                      QRect band, int margin)
{
    const int step = up->width();
    const int top = band.bottom() + 1 - margin - 3 * step - label->height();
    label->move(band.left() + margin, top);
    const int crossLeft = label->x() + (label->width() - 3 * step) / 2;
    const int crossTop = top + label->height();
    up->move(crossLeft + step, crossTop);
    left->move(crossLeft, crossTop + step);
    right->move(crossLeft + 2 * step, crossTop + step);
    down->move(crossLeft + step, crossTop + 2 * step);
}

void PlaceMarkerSizeBar(QLabel* label, QScrollBar* bar, QRect band, int margin)
{
    label->move(band.right() + 1 - label->width() - margin,
                band.bottom() + 1 - margin - bar->height() - label->height());
    bar->move(label->x(), label->y() + label->height());
}

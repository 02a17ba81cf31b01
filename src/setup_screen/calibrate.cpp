#include "setup_screen/calibrate.h"

#include "common/operatordialogs.h"
#include "grid/calibrationstate.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLineEdit* coordinateBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

Calibrate::Calibrate(Environment environment, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_env(environment)
{
    setObjectName(QStringLiteral("Calibrate"));
    setWindowTitle(QStringLiteral("Calibration Assistant"));

    m_unitsSelect = button("CalibrationLineUnitsSelect", calibrationUnitsActual, this);
    auto* actualLabel = new QLabel(QStringLiteral("Actual"), this);
    actualLabel->setObjectName(QStringLiteral("CalibrationLineActualLabel"));
    auto* screenLabel = new QLabel(QStringLiteral("Screen"), this);
    screenLabel->setObjectName(QStringLiteral("CalibrationLineScreenLabel"));

    m_xActual = coordinateBox("CalibrationLineXActual", this);
    m_yActual = coordinateBox("CalibrationLineYActual", this);
    m_xActual2 = coordinateBox("CalibrationLineXActual2", this);
    m_yActual2 = coordinateBox("CalibrationLineYActual2", this);
    m_xTwips = coordinateBox("CalibrationLineXTwips", this);
    m_yTwips = coordinateBox("CalibrationLineYTwips", this);
    m_xTwips2 = coordinateBox("CalibrationLineXTwips2", this);
    m_yTwips2 = coordinateBox("CalibrationLineYTwips2", this);

    auto* draw = button("CalibrateLineDrawCommand", QStringLiteral("Draw"), this);
    auto* erase = button("CalibrationLineErase", QStringLiteral("Erase"), this);
    auto* exit = button("formexit", QStringLiteral("E&xit"), this);

    // Two columns of point pairs: survey metres on the left, twips on the
    // right; point 1 above point 2.
    auto* grid = new QGridLayout;
    grid->addWidget(actualLabel, 0, 0, 1, 2, Qt::AlignCenter);
    grid->addWidget(screenLabel, 0, 2, 1, 2, Qt::AlignCenter);
    grid->addWidget(m_xActual, 1, 0);
    grid->addWidget(m_yActual, 1, 1);
    grid->addWidget(m_xTwips, 1, 2);
    grid->addWidget(m_yTwips, 1, 3);
    grid->addWidget(m_xActual2, 2, 0);
    grid->addWidget(m_yActual2, 2, 1);
    grid->addWidget(m_xTwips2, 2, 2);
    grid->addWidget(m_yTwips2, 2, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_unitsSelect);
    buttons->addWidget(draw);
    buttons->addWidget(erase);
    buttons->addStretch();
    buttons->addWidget(exit);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttons);

    connect(m_unitsSelect, &QPushButton::clicked, this, &Calibrate::toggleUnits);
    connect(draw, &QPushButton::clicked, this, &Calibrate::drawLine);
    connect(erase, &QPushButton::clicked, this, &Calibrate::eraseLine);
    connect(exit, &QPushButton::clicked, this, &QWidget::hide);
}

Calibrate::~Calibrate() = default;

void Calibrate::addSurface(LineDrawingSurface* surface)
{
    if (surface && std::find(m_surfaces.begin(), m_surfaces.end(), surface) == m_surfaces.end())
        m_surfaces.push_back(surface);
}

void Calibrate::removeSurface(LineDrawingSurface* surface)
{
    m_surfaces.erase(std::remove(m_surfaces.begin(), m_surfaces.end(), surface), m_surfaces.end());
}

void Calibrate::toggleUnits()
{
    m_unitsSelect->setText(NextCalibrationUnits(m_unitsSelect->text()));
}

void Calibrate::drawLine()
{
    CalibrationLineBoxes b = boxes();
    const auto line = DrawCalibrationLine(b, m_unitsSelect->text(), m_env.calibration.coefficients, m_env.lastLine,
                                          m_surfaces);
    if (!line) {
        m_env.dialogs.message(line.error().message(), QStringLiteral("Error Message"), OperatorDialogs::Icon::Warning);
        return;
    }
    setBoxes(b);
}

void Calibrate::eraseLine()
{
    EraseCalibrationLine(m_env.lastLine, m_surfaces);
}

CalibrationLineBoxes Calibrate::boxes() const
{
    return {m_xActual->text(), m_yActual->text(), m_xActual2->text(), m_yActual2->text(),
            m_xTwips->text(),  m_yTwips->text(),  m_xTwips2->text(),  m_yTwips2->text()};
}

void Calibrate::setBoxes(const CalibrationLineBoxes& b)
{
    m_xActual->setText(b.CalibrationLineXActual);
    m_yActual->setText(b.CalibrationLineYActual);
    m_xActual2->setText(b.CalibrationLineXActual2);
    m_yActual2->setText(b.CalibrationLineYActual2);
    m_xTwips->setText(b.CalibrationLineXTwips);
    m_yTwips->setText(b.CalibrationLineYTwips);
    m_xTwips2->setText(b.CalibrationLineXTwips2);
    m_yTwips2->setText(b.CalibrationLineYTwips2);
}

#include "app/gridscreenrouter.h"

void GridScreenRouter::setMainGridPicture(int grid, bool ready)
{
    if (m_main)
        m_main->setMainGridPicture(grid, ready);
}

void GridScreenRouter::setMainGridDescription(int grid, const QString& text)
{
    if (m_main)
        m_main->setMainGridDescription(grid, text);
}

void GridScreenRouter::setSetupStatusPicture(bool ready)
{
    if (m_setup)
        m_setup->setSetupStatusPicture(ready);
}

void GridScreenRouter::setAccuracyControlsVisible(bool visible)
{
    if (m_setup)
        m_setup->setAccuracyControlsVisible(visible);
}

void GridScreenRouter::clearAccuracyIndicator()
{
    if (m_setup)
        m_setup->clearAccuracyIndicator();
}

void GridScreenRouter::clearGridLock()
{
    if (m_setup)
        m_setup->clearGridLock();
}

void GridScreenRouter::clearDrawing()
{
    if (m_setup)
        m_setup->clearDrawing();
}

void GridScreenRouter::hideCheckBuoyHint()
{
    if (m_setup)
        m_setup->hideCheckBuoyHint();
}

void GridScreenRouter::showCheckBuoyHint(ScreenPoint predicted)
{
    if (m_setup)
        m_setup->showCheckBuoyHint(predicted);
}

void GridScreenRouter::setupFieldsChanged()
{
    if (m_setup)
        m_setup->setupFieldsChanged();
}

void GridScreenRouter::setMeasureGridDescription(const QString& text)
{
    if (m_measureDescription)
        m_measureDescription(text);
}

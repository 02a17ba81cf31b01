#pragma once

#include "grid/gridscreeneffects.h"

#include <functional>

// Where the grid operations' screen effects go in the running program: the
// main screen's grid rows to the main screen, the set-up screen's controls to
// the set-up screen, the grid description to the measurement screen. A
// screen not yet attached (or a hook not set) is skipped, so the routing
// works while the screens are still being built.
class GridScreenRouter final : public GridScreenEffects {
public:
    void setMainScreen(GridScreenEffects* main) { m_main = main; }
    void setSetupScreen(GridScreenEffects* setup) { m_setup = setup; }
    void setMeasureGridDescriptionHook(std::function<void(const QString&)> hook) { m_measureDescription = std::move(hook); }

    void setMainGridPicture(int grid, bool ready) override;
    void setMainGridDescription(int grid, const QString& text) override;

    void setSetupStatusPicture(bool ready) override;
    void setAccuracyControlsVisible(bool visible) override;
    void clearAccuracyIndicator() override;
    void clearGridLock() override;
    void clearDrawing() override;
    void hideCheckBuoyHint() override;
    void showCheckBuoyHint(ScreenPoint predicted) override;
    void setupFieldsChanged() override;

    void setMeasureGridDescription(const QString& text) override;

private:
    GridScreenEffects* m_main = nullptr;
    GridScreenEffects* m_setup = nullptr;
    std::function<void(const QString&)> m_measureDescription;
};

#include "measure/measurestate.h"

#include "common/numbertext.h"
#include "common/val.h"
#include "measure/exchangedirectory.h"

void ClickStatusOption(MeasureState& state, StatusOption option)
{
    switch (option) {
    case StatusOption::optJumpOK:
        break;
    case StatusOption::Pass:
        state.Comment = QStringLiteral("Pass");
        break;
    case StatusOption::Fall:
        state.Comment = QStringLiteral("Fall");
        break;
    case StatusOption::Other_Grid:
        state.Comment = QStringLiteral("Distance from other grid");
        break;
    case StatusOption::None:
    case StatusOption::M_Reride:
    case StatusOption::O_reride:
    case StatusOption::Make_comment:
        return;
    }
    state.selectedOption = option;
}

void SkierNameChanged(MeasureState& state, const QString& skierName)
{
    state.Skier_name = skierName;
    state.Jump_no = QStringLiteral("1");
    state.distance.clear();
    state.distance_ft.clear();
}

QString ToggleVerifyMode(MeasureState& state)
{
    state.verifyMode = !state.verifyMode;
    return VerifyCaption(state);
}

QString VerifyCaption(const MeasureState& state)
{
    return state.verifyMode ? QStringLiteral("Verify off") : QStringLiteral("Verify");
}

QString NextJumpNumber(const QString& jumpNumberText)
{
    return NumberText(Val(jumpNumberText) + 1);
}

void EndJump(MeasureState& state, const ExchangeDirectory& exchange)
{
    state.distance = QStringLiteral("m");
    state.distance_ft = QStringLiteral("ft");
    state.Jump_no = NextJumpNumber(state.Jump_no);
    state.selectedOption = StatusOption::optJumpOK;
    state.Comment.clear();
    state.frameFrozen = false;
    state.markPlaced = false;
    exchange.deleteConsumedPictures();
}

#include "setup_screen/setupbuoys.h"

CornerSlot slotOf(SetupBuoy buoy)
{
    switch (buoy) {
    case SetupBuoy::UpperLeft: return CornerSlot::UpperLeft;
    case SetupBuoy::UpperRight: return CornerSlot::UpperRight;
    case SetupBuoy::LowerLeft: return CornerSlot::LowerLeft;
    case SetupBuoy::LowerRight: return CornerSlot::LowerRight;
    case SetupBuoy::Check: break;
    }
    return CornerSlot::UpperLeft; // not reached for a corner buoy
}

std::pair<QString, QString> positionBoxes(SetupBuoy buoy)
{
    switch (buoy) {
    case SetupBuoy::UpperLeft: return {QStringLiteral("upper_left_x"), QStringLiteral("upper_left_y")};
    case SetupBuoy::UpperRight: return {QStringLiteral("upper_right_x"), QStringLiteral("upper_right_y")};
    case SetupBuoy::LowerLeft: return {QStringLiteral("lower_left_x"), QStringLiteral("lower_left_y")};
    case SetupBuoy::LowerRight: return {QStringLiteral("lower_right_x"), QStringLiteral("lower_right_y")};
    case SetupBuoy::Check: break;
    }
    return {QStringLiteral("txtCheckXpix"), QStringLiteral("txtCheckYpix")};
}

std::pair<QString, QString> surveyBoxes(SetupBuoy buoy)
{
    switch (buoy) {
    case SetupBuoy::UpperLeft: return {QStringLiteral("ul_survey_x"), QStringLiteral("ul_survey_y")};
    case SetupBuoy::UpperRight: return {QStringLiteral("ur_survey_x"), QStringLiteral("ur_survey_y")};
    case SetupBuoy::LowerLeft: return {QStringLiteral("ll_survey_x"), QStringLiteral("ll_survey_y")};
    case SetupBuoy::LowerRight: return {QStringLiteral("lr_survey_x"), QStringLiteral("lr_survey_y")};
    case SetupBuoy::Check: break;
    }
    return {QStringLiteral("txtCheckX"), QStringLiteral("txtCheckY")};
}

bool holdsAuto(const QString& text)
{
    return text == QLatin1String("auto") || text == QLatin1String(" auto");
}

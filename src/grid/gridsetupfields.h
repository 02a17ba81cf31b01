#pragma once

#include <QString>
#include <QStringList>

// The texts of the grid set-up screen's boxes, as the operator sees them.
// The calibration reads them the way the screen does (placeholders mean "not
// set"; numbers are read leniently), so the core, the screen and the
// headless tool share one definition. Initial values are the screen's
// placeholder texts.
struct GridSetupFields {
    QString upper_left_x = QStringLiteral("auto");
    QString upper_left_y = QStringLiteral("auto");
    QString upper_right_x = QStringLiteral(" auto"); // written with a leading blank on the form
    QString upper_right_y = QStringLiteral("auto");
    QString lower_left_x = QStringLiteral("auto");
    QString lower_left_y = QStringLiteral("auto");
    QString lower_right_x = QStringLiteral("auto");
    QString lower_right_y = QStringLiteral("auto");

    QString ul_survey_x = QStringLiteral("input");
    QString ul_survey_y = QStringLiteral("input");
    QString ur_survey_x = QStringLiteral("input");
    QString ur_survey_y = QStringLiteral("input");
    QString ll_survey_x = QStringLiteral("input");
    QString ll_survey_y = QStringLiteral("input");
    QString lr_survey_x = QStringLiteral("input");
    QString lr_survey_y = QStringLiteral("input");

    QString jump_x = QStringLiteral("jump x");
    QString jump_y = QStringLiteral("jump y");

    QString txtCheckX = QStringLiteral("CheckX");
    QString txtCheckY = QStringLiteral("CheckY");
    QString txtCheckXpix;
    QString txtCheckYpix;

    QString txtPicWidth = QStringLiteral("Text1");
    QString txtPicHeight = QStringLiteral("Text1");

    QString ipt_file_description = QStringLiteral("No File");
    QString ipt_file_description_2;

    QString grid_select = QStringLiteral("Grid 1");

    // The field of that control name, or nullptr for an unknown name.
    QString* field(const QString& name);
    static QStringList fieldNames();

    // Grid number named by the grid_select caption ("Grid 2" -> 2); 1 for
    // anything unexpected.
    int selectedGrid() const;
};

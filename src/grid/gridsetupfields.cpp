#include "grid/gridsetupfields.h"

#include <utility>

namespace {

template <typename Visit>
void forEachField(GridSetupFields& f, Visit&& visit)
{
    visit(QStringLiteral("upper_left_x"), f.upper_left_x);
    visit(QStringLiteral("upper_left_y"), f.upper_left_y);
    visit(QStringLiteral("upper_right_x"), f.upper_right_x);
    visit(QStringLiteral("upper_right_y"), f.upper_right_y);
    visit(QStringLiteral("lower_left_x"), f.lower_left_x);
    visit(QStringLiteral("lower_left_y"), f.lower_left_y);
    visit(QStringLiteral("lower_right_x"), f.lower_right_x);
    visit(QStringLiteral("lower_right_y"), f.lower_right_y);
    visit(QStringLiteral("ul_survey_x"), f.ul_survey_x);
    visit(QStringLiteral("ul_survey_y"), f.ul_survey_y);
    visit(QStringLiteral("ur_survey_x"), f.ur_survey_x);
    visit(QStringLiteral("ur_survey_y"), f.ur_survey_y);
    visit(QStringLiteral("ll_survey_x"), f.ll_survey_x);
    visit(QStringLiteral("ll_survey_y"), f.ll_survey_y);
    visit(QStringLiteral("lr_survey_x"), f.lr_survey_x);
    visit(QStringLiteral("lr_survey_y"), f.lr_survey_y);
    visit(QStringLiteral("jump_x"), f.jump_x);
    visit(QStringLiteral("jump_y"), f.jump_y);
    visit(QStringLiteral("txtCheckX"), f.txtCheckX);
    visit(QStringLiteral("txtCheckY"), f.txtCheckY);
    visit(QStringLiteral("txtCheckXpix"), f.txtCheckXpix);
    visit(QStringLiteral("txtCheckYpix"), f.txtCheckYpix);
    visit(QStringLiteral("txtPicWidth"), f.txtPicWidth);
    visit(QStringLiteral("txtPicHeight"), f.txtPicHeight);
    visit(QStringLiteral("ipt_file_description"), f.ipt_file_description);
    visit(QStringLiteral("ipt_file_description_2"), f.ipt_file_description_2);
    visit(QStringLiteral("grid_select"), f.grid_select);
}

} // namespace

QString* GridSetupFields::field(const QString& name)
{
    QString* found = nullptr;
    forEachField(*this, [&](const QString& fieldName, QString& value) {
        if (fieldName == name)
            found = &value;
    });
    return found;
}

QStringList GridSetupFields::fieldNames()
{
    QStringList names;
    GridSetupFields scratch;
    forEachField(scratch, [&](const QString& fieldName, QString&) { names.append(fieldName); });
    return names;
}

int GridSetupFields::selectedGrid() const
{
    if (grid_select == QLatin1String("Grid 2"))
        return 2;
    if (grid_select == QLatin1String("Grid 3"))
        return 3;
    return 1;
}

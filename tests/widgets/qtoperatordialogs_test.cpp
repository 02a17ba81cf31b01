#include "common/qtoperatordialogs.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

TEST(QtOperatorDialogs, FiltersBecomeQtFilters)
{
    EXPECT_EQ(QtOperatorDialogs::qtFilters(QStringLiteral(
                  "All Files (*.*)|*.*|Text Files (*.TXT)|*.TXT|Parameter Files (*.IPT)|*.IPT|")),
              (QStringList{"All Files (*.*)", "Text Files (*.TXT)", "Parameter Files (*.IPT)"}));
    // A label whose parentheses are not its patterns gets them added, or Qt
    // would match ".cpf" literally.
    EXPECT_EQ(QtOperatorDialogs::qtFilters(QStringLiteral("CapturePro 3.0 profile (.cpf)|*.cpf|")),
              QStringList{"CapturePro 3.0 profile (.cpf) (*.cpf)"});
    EXPECT_EQ(QtOperatorDialogs::qtFilters(QStringLiteral("Jump Picture Files|*.gif;*.bmp|")),
              QStringList{"Jump Picture Files (*.gif *.bmp)"});
}

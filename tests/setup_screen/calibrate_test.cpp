#include "setup_screen/calibrate.h"

#include "grid/calibrationstate.h"
#include "support/scripteddialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct DrawnLine {
    const LineDrawingSurface* surface;
    ScreenLine line;
    QColor color;

    bool operator==(const DrawnLine&) const = default;
};

class RecordingSurface final : public LineDrawingSurface {
public:
    explicit RecordingSurface(std::vector<DrawnLine>& log) : m_log(log) {}
    void drawLineTwips(double x1, double y1, double x2, double y2, const QColor& color) override
    {
        m_log.push_back({this, {x1, y1, x2, y2}, color});
    }

private:
    std::vector<DrawnLine>& m_log;
};

const QColor magenta(255, 0, 255);
const QColor white(255, 255, 255);

class CalibrateForm : public ::testing::Test {
protected:
    CalibrationState calibration;
    ScreenLine lastLine;
    ScriptedDialogs dialogs;
    Calibrate form{{calibration, lastLine, dialogs}};
    std::vector<DrawnLine> log;
    RecordingSurface measure{log};
    RecordingSurface setup{log};

    void SetUp() override
    {
        // X = x / 128, Y = y / 128: binary fractions, so every mapping
        // below is exact.
        calibration.coefficients = {0, 1.0 / 128, 0, 0, 0, 0, 0, 1.0 / 128};
        form.addSurface(&measure);
        form.addSurface(&setup);
    }

    template <typename T>
    T* control(const char* name)
    {
        T* found = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void type(const char* name, const QString& text)
    {
        QLineEdit* box = control<QLineEdit>(name);
        box->clear();
        QTest::keyClicks(box, text);
    }

    QString text(const char* name) { return control<QLineEdit>(name)->text(); }
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
};

TEST_F(CalibrateForm, ControlsCarryTheirNamesAndCaptions)
{
    EXPECT_EQ(form.objectName(), "Calibrate");
    EXPECT_EQ(form.windowTitle(), "Calibration Assistant");
    EXPECT_EQ(control<QPushButton>("CalibrationLineUnitsSelect")->text(), "Actual");
    EXPECT_EQ(control<QPushButton>("CalibrateLineDrawCommand")->text(), "Draw");
    EXPECT_EQ(control<QPushButton>("CalibrationLineErase")->text(), "Erase");
    EXPECT_EQ(control<QPushButton>("formexit")->text(), "E&xit");
    EXPECT_EQ(control<QLabel>("CalibrationLineActualLabel")->text(), "Actual");
    EXPECT_EQ(control<QLabel>("CalibrationLineScreenLabel")->text(), "Screen");
    for (const char* name : {"CalibrationLineXActual", "CalibrationLineYActual", "CalibrationLineXActual2",
                             "CalibrationLineYActual2", "CalibrationLineXTwips", "CalibrationLineYTwips",
                             "CalibrationLineXTwips2", "CalibrationLineYTwips2"})
        control<QLineEdit>(name);
}

TEST_F(CalibrateForm, IsAModelessWindowThatExitHides)
{
    form.show();
    EXPECT_TRUE(form.isWindow());
    EXPECT_EQ(form.windowModality(), Qt::NonModal);
    type("CalibrationLineXActual", "12");
    click("formexit");
    EXPECT_FALSE(form.isVisible());
    // Hidden, not closed: the boxes keep their values for the next visit.
    form.show();
    EXPECT_EQ(text("CalibrationLineXActual"), "12");
}

TEST_F(CalibrateForm, UnitsButtonSwitchesBetweenActualAndScreen)
{
    click("CalibrationLineUnitsSelect");
    EXPECT_EQ(control<QPushButton>("CalibrationLineUnitsSelect")->text(), "Screen");
    click("CalibrationLineUnitsSelect");
    EXPECT_EQ(control<QPushButton>("CalibrationLineUnitsSelect")->text(), "Actual");
}

TEST_F(CalibrateForm, DrawFromSurveyPointsFillsTheScreenBoxesAndDrawsOnEveryScreen)
{
    type("CalibrationLineXActual", "9.64453125");
    type("CalibrationLineYActual", "-0.00390625");
    type("CalibrationLineXActual2", "31.25");
    type("CalibrationLineYActual2", "43.359375");
    click("CalibrateLineDrawCommand");
    // 1234.5 twips shows as 1235, -0.5 as 0.
    EXPECT_EQ(text("CalibrationLineXTwips"), " 1235");
    EXPECT_EQ(text("CalibrationLineYTwips"), " 0");
    EXPECT_EQ(text("CalibrationLineXTwips2"), " 4000");
    EXPECT_EQ(text("CalibrationLineYTwips2"), " 5550");
    const ScreenLine drawn{1235, 0, 4000, 5550};
    EXPECT_EQ(log, (std::vector<DrawnLine>{{&measure, {0, 0, 0, 0}, magenta},
                                           {&measure, drawn, white},
                                           {&setup, {0, 0, 0, 0}, magenta},
                                           {&setup, drawn, white}}));
    EXPECT_EQ(lastLine, drawn);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(CalibrateForm, DrawFromScreenPointsFillsTheSurveyBoxes)
{
    click("CalibrationLineUnitsSelect");
    type("CalibrationLineXTwips", "1234.6");
    type("CalibrationLineYTwips", "1234.4");
    type("CalibrationLineXTwips2", "3000");
    type("CalibrationLineYTwips2", "6000");
    click("CalibrateLineDrawCommand");
    // 9.6453125 m, 9.64375 m, 23.4375 m and 46.875 m to the centimetre.
    EXPECT_EQ(text("CalibrationLineXActual"), " 9.65");
    EXPECT_EQ(text("CalibrationLineYActual"), " 9.64");
    EXPECT_EQ(text("CalibrationLineXActual2"), " 23.44");
    EXPECT_EQ(text("CalibrationLineYActual2"), " 46.88");
    EXPECT_EQ(lastLine, (ScreenLine{1234.6, 1234.4, 3000, 6000}));
}

TEST_F(CalibrateForm, EraseTwicePaintsTheLastLineMagentaTwice)
{
    lastLine = {100, 200, 300, 400};
    click("CalibrationLineErase");
    click("CalibrationLineErase");
    const ScreenLine last{100, 200, 300, 400};
    EXPECT_EQ(log, (std::vector<DrawnLine>{{&measure, last, magenta},
                                           {&setup, last, magenta},
                                           {&measure, last, magenta},
                                           {&setup, last, magenta}}));
    EXPECT_EQ(lastLine, last);
}

TEST_F(CalibrateForm, UnmappablePointIsReportedAndNothingDrawn)
{
    calibration.coefficients = {};
    type("CalibrationLineXActual", "5");
    click("CalibrateLineDrawCommand");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.texts().at(0),
              "Calculation error (division by zero) while mapping a water point to the screen. Nothing was changed.");
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(text("CalibrationLineXTwips").isEmpty());
}

TEST_F(CalibrateForm, RemovedScreenIsNoLongerDrawnOn)
{
    form.removeSurface(&measure);
    form.addSurface(&setup); // already there: not drawn on twice
    form.eraseLine();
    EXPECT_EQ(log, (std::vector<DrawnLine>{{&setup, {0, 0, 0, 0}, magenta}}));
}

} // namespace

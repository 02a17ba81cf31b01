#pragma once

#include "grid/calibrationline.h"

#include <QWidget>

#include <vector>

class OperatorDialogs;
class QLabel;
class QLineEdit;
class QPushButton;
struct CalibrationState;

// The calibration line tool, "Calibration Assistant": two points typed on
// the water ("Actual") or on the frame ("Screen"), converted with the live
// calibration and drawn as a line on the screens that show the frame. A
// modeless window opened from the measurement and grid set-up screens;
// "E&xit" only hides it, so the boxes keep their values for the whole run.
class Calibrate final : public QWidget {
    Q_OBJECT

public:
    // What the tool works on, owned by the application object. lastLine is
    // the line drawn last, kept for the whole run (all zeros at start).
    struct Environment {
        CalibrationState& calibration;
        ScreenLine& lastLine;
        OperatorDialogs& dialogs;
    };

    explicit Calibrate(Environment environment, QWidget* parent = nullptr);
    ~Calibrate() override;

    // The screens to draw on, in drawing order: register the measurement
    // screen first, then the grid set-up screen. A surface must be removed
    // before it is destroyed.
    void addSurface(LineDrawingSurface* surface);
    void removeSurface(LineDrawingSurface* surface);
    const std::vector<LineDrawingSurface*>& surfaces() const { return m_surfaces; }

    // The buttons' steps, callable directly.
    void toggleUnits();
    void drawLine();
    void eraseLine();

    CalibrationLineBoxes boxes() const;
    void setBoxes(const CalibrationLineBoxes& boxes);

private:
    Environment m_env;
    std::vector<LineDrawingSurface*> m_surfaces;

    QPushButton* m_unitsSelect = nullptr;
    QLineEdit* m_xActual = nullptr;
    QLineEdit* m_yActual = nullptr;
    QLineEdit* m_xActual2 = nullptr;
    QLineEdit* m_yActual2 = nullptr;
    QLineEdit* m_xTwips = nullptr;
    QLineEdit* m_yTwips = nullptr;
    QLineEdit* m_xTwips2 = nullptr;
    QLineEdit* m_yTwips2 = nullptr;
};

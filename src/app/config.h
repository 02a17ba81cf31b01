#pragma once

#include "common/stationfolders.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class Clock;
class OperatorDialogs;
class QLineEdit;
class SettingsStore;
struct ConfigState;
struct ConfigUi;

// The configuration screen, "System Configuration Parameters": the
// tournament's paths and names, grid count, tournament type, jump
// direction, marker style, label colours, line control, scoring link,
// screen magnifier and what becomes of pictures and videos. Nearly every
// control writes its setting the moment it changes; leaving by "E&xit and
// Save Parameters" writes the rest and reports the new configuration in the
// results file. What it changes on other screens goes out as signals, in
// the order the steps run.
class Config final : public QMainWindow {
    Q_OBJECT

public:
    struct Environment {
        ConfigState& config;
        SettingsStore& settings;
        OperatorDialogs& dialogs;
        const Clock& clock;
        StationFolders folders;      // the find buttons open in its data folder
        QString exchangeDirectory;   // the scoring system's qxio, named by QXIOLabel
        // The main screen's txtVideoDir text, which the results file goes beside.
        std::function<QString()> videoDirectoryText;
    };

    explicit Config(Environment environment, QWidget* parent = nullptr);
    ~Config() override;

    // The load: every setting into the boxes and options and into
    // ConfigState, each option's choice run as the operator's click would,
    // the configured grids reloaded on the way. Runs once, before the screen
    // is first shown.
    void load();

    // E&xit and Save Parameters: tournament name and label colour stored,
    // the captures directory ended with a separator, the "New
    // Configuration: " line appended to the results file, the skier name
    // file read into the measurement screen's list, the main screen shown.
    void exitAndSave();

Q_SIGNALS:
    // Leaving: the capture screen offers the scoring system's skier name
    // exactly while the scoring link is ticked.
    void scoringNameOffered(bool offered);
    // Opt1Grid, Opt2grid, Opt3grid: the main screen's grid rows follow.
    void gridCountChosen(int gridCount);
    // The load's grid status on the main screen and the reload of every
    // configured grid from its set-up file.
    void gridsToReload();
    // Label colours or tournament type changed: the measurement screen's
    // labels and barefoot_indicator follow.
    void measureConfigurationChanged();
    // The load has reached the measurement and grid set-up screens: they
    // are loaded now, without being shown, unless they are already.
    void measureScreenNeeded();
    void setupScreenNeeded();
    // chkLoupe and cmdLoupe: the magnifier of the measurement and grid
    // set-up screens switched on or off.
    void magnifierChosen(bool on);
    // prerollSeconds, at the load and at every change: the seconds before
    // Start the capture control keeps for a recording.
    void prerollChosen(int seconds);
    // The skier name file read on exit: the measurement screen's Skier_name list.
    void skierNamesLoaded(const QStringList& names);
    void mainScreenRequested();

protected:
    // The window's close button leaves the screen the way its exit does, so
    // the operator is never left without a screen.
    void closeEvent(QCloseEvent* event) override;

private:
    void connectControls();
    void chooseGridCount(int gridCount);
    void chooseBarefoot(bool ticked);
    void chooseSitSki(bool ticked);
    void updateTournamentType();
    void chooseDirection(bool rightToLeft);
    void chooseMarker(bool circle);
    void chooseLabelColor(const QString& name);
    void chooseLineControl(bool ticked);
    void chooseScoringLink(bool ticked);
    void chooseLoupe(bool ticked);
    void choosePreroll(int seconds);
    void findFile(QLineEdit* box);
    void findDirectory(QLineEdit* box, const QString& title);
    void loadSkierNameFile();

    Environment m_env;
    std::unique_ptr<ConfigUi> m_ui;
};

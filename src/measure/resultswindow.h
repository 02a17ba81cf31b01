#pragma once

#include <QMainWindow>

class OperatorDialogs;
class QAction;
class QTextEdit;

// The Results window: the day's results file as it stands, for the operator
// to read beside the measurement screen. It never writes anything back.
class Results final : public QMainWindow {
    Q_OBJECT

public:
    explicit Results(OperatorDialogs& dialogs, QWidget* parent = nullptr);

    // Empties output_box, fills it with the whole file (the path with its
    // leading blanks removed), titles the window with the path and shows it
    // without blocking the screen behind. A file that cannot be read is
    // reported to the operator and the window is not shown.
    bool showResultsFile(const QString& resultsFilePath);

    // Exit_results: hides the window and empties output_box.
    void exitResults();

private:
    OperatorDialogs& m_dialogs;
    QTextEdit* m_output = nullptr;
    QAction* m_exit = nullptr;
};

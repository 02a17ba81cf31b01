#pragma once

#include <QMainWindow>
#include <QString>

class QTextBrowser;

// The manual viewer, "Rampscope 2005 Manual": the operator's manual with its
// headings, tables and pictures. Built once; "Done" hides it and brings
// back the main screen.
class frmManual final : public QMainWindow {
    Q_OBJECT

public:
    // manualPath is the shipped manual (Markdown); empty or missing shows
    // where the manual was looked for instead.
    explicit frmManual(const QString& manualPath, QWidget* parent = nullptr);

    QTextBrowser* viewer() const { return m_viewer; }

Q_SIGNALS:
    void mainScreenRequested();

protected:
    // Closing the window is "Done": the main screen comes back.
    void closeEvent(QCloseEvent* event) override;

private:
    void done();

    QTextBrowser* m_viewer = nullptr;
};

#pragma once

#include <QDialog>
#include <QString>
#include <QStringView>

class OperatorDialogs;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
struct ConfigState;

// The two viewers of the measurement log: the video log viewer reopens a
// recorded jump on the frame selection screen, the picture log viewer a
// saved picture on the measurement screen. Both list the log lines that name
// such a file, starting with today's log.
class LogViewerBase : public QDialog {
    Q_OBJECT

public:
    // The names and captions that tell the two viewers apart.
    struct Controls {
        const char* form;
        QString caption;
        const char* logBox;       // the log file's path
        const char* list;         // the listed lines
        const char* fileBox;      // the path of the selected line
        const char* selectButton; // choose another log
        QString selectCaption;
        const char* viewButton;
        QString viewCaption;
        QStringView ending;       // "avi" or "bmp"
        bool viewsWithoutPath;    // the view button acts (and closes) with an empty path too
    };

    // Lists today's log (videoDirectory + logFileName) when it is present.
    LogViewerBase(const Controls& controls, const ConfigState& config, OperatorDialogs& dialogs,
                  QWidget* parent = nullptr);

    QString logFile() const;
    QString fileToView() const;

Q_SIGNALS:
    // The view button: the path to open (empty only for a viewer that views
    // without a path). The viewer closes right after.
    void viewRequested(const QString& path);

protected:
    QLineEdit* m_logBox = nullptr;
    QListWidget* m_list = nullptr;
    QLineEdit* m_fileBox = nullptr;

private:
    // Lists the log; false when it is not present.
    bool fill(const QString& logPath);
    void selectLogFile();
    void selectLine(const QListWidgetItem* item);
    void view();

    const ConfigState& m_config;
    OperatorDialogs& m_dialogs;
    QStringView m_ending;
    bool m_viewsWithoutPath;
};

// "Log Viewer": recorded videos, reopened on the frame selection screen.
class LogView final : public LogViewerBase {
public:
    LogView(const ConfigState& config, OperatorDialogs& dialogs, QWidget* parent = nullptr);
};

// "Contact Picture Log": saved pictures, reopened on the measurement screen.
class PictureLogView final : public LogViewerBase {
public:
    PictureLogView(const ConfigState& config, OperatorDialogs& dialogs, QWidget* parent = nullptr);
};

#include "app/logviewers.h"

#include "app/configstate.h"
#include "app/logselection.h"
#include "common/operatordialogs.h"
#include "common/paths.h"
#include "widgets/named.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

LogViewerBase::LogViewerBase(const Controls& controls, const ConfigState& config, OperatorDialogs& dialogs,
                             QWidget* parent)
    : QDialog(parent)
    , m_config(config)
    , m_dialogs(dialogs)
    , m_ending(controls.ending)
    , m_viewsWithoutPath(controls.viewsWithoutPath)
{
    setObjectName(QString::fromLatin1(controls.form));
    setWindowTitle(controls.caption);
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    m_logBox = Named(new QLineEdit(this), controls.logBox);
    m_logBox->setReadOnly(true);
    m_list = Named(new QListWidget(this), controls.list);
    m_fileBox = Named(new QLineEdit(this), controls.fileBox);
    auto* select = Named(new QPushButton(controls.selectCaption, this), controls.selectButton);
    auto* viewButton = Named(new QPushButton(controls.viewCaption, this), controls.viewButton);
    layout->addWidget(m_logBox);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_fileBox);
    layout->addWidget(select);
    layout->addWidget(viewButton);

    connect(select, &QPushButton::clicked, this, &LogViewerBase::selectLogFile);
    connect(viewButton, &QPushButton::clicked, this, &LogViewerBase::view);
    connect(m_list, &QListWidget::itemClicked, this, &LogViewerBase::selectLine);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](const QListWidgetItem* item) {
        selectLine(item);
        if (!m_fileBox->text().isEmpty())
            view();
    });

    // Today's log is shown only when it is there to be listed.
    const QString todaysLog = JoinPath(m_config.videoDirectory, m_config.logFileName);
    if (fill(todaysLog))
        m_logBox->setText(todaysLog);
    resize(720, 420);
}

QString LogViewerBase::logFile() const
{
    return m_logBox->text();
}

QString LogViewerBase::fileToView() const
{
    return m_fileBox->text();
}

bool LogViewerBase::fill(const QString& logPath)
{
    m_list->clear();
    const auto lines = ListedLogLines(logPath, m_ending);
    if (lines)
        m_list->addItems(*lines);
    // Long lines scroll sideways: the list widget sizes its scroll range to
    // the longest entry itself.
    return lines.has_value();
}

void LogViewerBase::selectLogFile()
{
    const QString path = m_dialogs.openFile(m_config.videoDirectory, MeasurementLogFilter(), 1);
    m_logBox->setText(path);
    fill(path);
}

void LogViewerBase::selectLine(const QListWidgetItem* item)
{
    m_fileBox->setText(item ? PathNamedByLogLine(item->text()) : QString());
}

void LogViewerBase::view()
{
    const QString path = m_fileBox->text();
    if (path.isEmpty() && !m_viewsWithoutPath)
        return;
    Q_EMIT viewRequested(path);
    close();
}

LogView::LogView(const ConfigState& config, OperatorDialogs& dialogs, QWidget* parent)
    : LogViewerBase({"LogView", QStringLiteral("Log Viewer"), "txtLogFile", "lstLog", "txtFileToView",
                     "cmdSelectLogFile", QStringLiteral("Select Different Log File"), "cmdView",
                     QStringLiteral("View Selected File"), videoLogEnding, false},
                    config, dialogs, parent)
{
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertWidget(0, Named(new QLabel(QStringLiteral("Log File to View"), this), "Label1"));
    layout->insertWidget(
        2, Named(new QLabel(QStringLiteral("Click to Select and use View Selected File button to View or Double "
                                           "Click to view"),
                            this),
                 "Label2"));
    auto* dismiss = Named(new QPushButton(QStringLiteral("Exit Log Viewer"), this), "cmdDismiss");
    layout->addWidget(dismiss);
    connect(dismiss, &QPushButton::clicked, this, &QDialog::close);
}

PictureLogView::PictureLogView(const ConfigState& config, OperatorDialogs& dialogs, QWidget* parent)
    : LogViewerBase({"PictureLogView", QStringLiteral("Contact Picture Log"), "txtPicLogToView", "lstPicLog",
                     "txtPictureToView", "cmdSelPicLog", QStringLiteral("Select a Log File"), "cmdViewPicLog",
                     QStringLiteral("View Picture"), pictureLogEnding, true},
                    config, dialogs, parent)
{
}

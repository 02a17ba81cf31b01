#include "app/mainform.h"

#include "app/skierlist.h"
#include "common/operatordialogs.h"
#include "common/paths.h"
#include "widgets/named.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The two status pictures, drawn rather than shipped as files.
QPixmap statusPixmap(bool ready)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (ready) {
        p.setBrush(QColor(250, 210, 40));
        p.setPen(QPen(Qt::black, 1));
        p.drawEllipse(2, 2, 20, 20);
        p.setBrush(Qt::black);
        p.drawEllipse(8, 8, 2, 3);
        p.drawEllipse(14, 8, 2, 3);
        p.setBrush(Qt::NoBrush);
        p.drawArc(7, 9, 10, 8, 200 * 16, 140 * 16);
    } else {
        QPainterPath triangle;
        triangle.moveTo(12, 2);
        triangle.lineTo(22, 21);
        triangle.lineTo(2, 21);
        triangle.closeSubpath();
        p.setBrush(QColor(250, 170, 20));
        p.setPen(QPen(Qt::black, 1));
        p.drawPath(triangle);
        p.drawLine(12, 8, 12, 15);
        p.drawPoint(12, 18);
    }
    return pixmap;
}

} // namespace

MainForm::MainForm(OperatorDialogs& dialogs, QString& screenMode, StationFolders folders, QWidget* parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_screenMode(screenMode)
    , m_folders(std::move(folders))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Rampscope 2005"));

    auto* central = new QWidget(this);
    auto* halves = new QHBoxLayout(central);
    auto* outer = new QVBoxLayout;
    halves->addLayout(outer);
    auto* frame = new QGroupBox(QStringLiteral("Rampscope Controls and Configuration"), central);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_frame1 = frame;
    outer->addWidget(frame);
    auto* layout = new QGridLayout(frame);

    auto* setup = new QPushButton(QStringLiteral("Go to Setup"), frame);
    setup->setObjectName(QStringLiteral("cmdSetup"));
    auto* measure = new QPushButton(QStringLiteral("View Already Recorded Jump Pics"), frame);
    measure->setObjectName(QStringLiteral("ccmdGoToMeasure"));
    auto* frames = new QPushButton(QStringLiteral("View Already Recorded Jump Videos"), frame);
    frames->setObjectName(QStringLiteral("cmdGoTimer"));
    auto* capture = Named(new QPushButton(QStringLiteral("Proceed to Capture Video"), frame), "cmdGoCapture");
    auto* configure = Named(new QPushButton(QStringLiteral("Configure System"), frame), "cmdConfigure");
    m_cmdShowConfig = Named(new QPushButton(QStringLiteral("Show Video Configuration"), frame), "cmdShowConfig");
    auto* import = Named(new QPushButton(QStringLiteral("Import Skier Names File"), frame), "cmdImport");
    int row = 0;
    for (QWidget* button : {static_cast<QWidget*>(setup), static_cast<QWidget*>(capture),
                            static_cast<QWidget*>(frames), static_cast<QWidget*>(measure),
                            static_cast<QWidget*>(configure), static_cast<QWidget*>(m_cmdShowConfig),
                            static_cast<QWidget*>(import)})
        layout->addWidget(button, row++, 0, 1, 3);
    connect(configure, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT configureRequested();
    });
    connect(m_cmdShowConfig, &QPushButton::clicked, this, &MainForm::toggleCapturePanel);
    connect(import, &QPushButton::clicked, this, &MainForm::importSkierNames);
    connect(setup, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT setupRequested();
    });
    connect(frames, &QPushButton::clicked, this, [this] {
        if (!videoDirectoryExists())
            return;
        hide();
        Q_EMIT frameSelectionRequested();
    });
    connect(capture, &QPushButton::clicked, this, [this] {
        if (!videoDirectoryExists())
            return;
        m_screenMode = QStringLiteral("Setup");
        Q_EMIT captureRequested();
        hide();
    });
    connect(measure, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT measureRequested();
    });

    auto* label2 = new QLabel(QStringLiteral("Save Video Files in this Directory"), frame);
    label2->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(label2, row++, 0, 1, 3);
    m_txtVideoDir = new QLineEdit(frame);
    m_txtVideoDir->setObjectName(QStringLiteral("txtVideoDir"));
    layout->addWidget(m_txtVideoDir, row++, 0, 1, 3);
    m_lblVideodir = new QLabel(frame);
    m_lblVideodir->setObjectName(QStringLiteral("lblVideodir"));
    layout->addWidget(m_lblVideodir, row++, 0, 1, 3);
    auto* change = new QPushButton(QStringLiteral("Change Video File Directory"), frame);
    change->setObjectName(QStringLiteral("btnChangeDirectory"));
    layout->addWidget(change, row++, 0, 1, 3);
    m_cb15 = new QCheckBox(QStringLiteral("Enable Barefoot Timing (15 sec)"), frame);
    m_cb15->setObjectName(QStringLiteral("cb15"));
    layout->addWidget(m_cb15, row++, 0, 1, 3);
    m_lblConfig = Named(new QLabel(QStringLiteral("Currently Configured for R"), frame), "lblConfig");
    layout->addWidget(m_lblConfig, row++, 0, 1, 3);
    connect(m_cb15, &QCheckBox::clicked, this, [this](bool on) { Q_EMIT barefootTimingClicked(on); });

    const QString gridCaptions[3] = {QStringLiteral("Grid 1"), QStringLiteral("Grid 2"), QStringLiteral("Grid3")};
    for (int i = 0; i < 3; ++i) {
        m_gridLabels[i] = new QLabel(gridCaptions[i], frame);
        m_gridLabels[i]->setObjectName(QStringLiteral("lblGrid%1").arg(i + 1));
        m_gridImages[i] = new QLabel(frame);
        m_gridImages[i]->setObjectName(QStringLiteral("ImageGrid%1").arg(i + 1));
        m_gridImages[i]->setFixedSize(24, 24);
        m_gridDescriptions[i] = new QLineEdit(frame);
        m_gridDescriptions[i]->setObjectName(QStringLiteral("txtGridDescription_%1").arg(i));
        m_gridDescriptions[i]->setReadOnly(true);
        layout->addWidget(m_gridLabels[i], row + i, 0);
        layout->addWidget(m_gridImages[i], row + i, 1);
        layout->addWidget(m_gridDescriptions[i], row + i, 2);
    }
    outer->addStretch();

    // The right half: the capture device panel, hidden until asked for.
    m_capturePanel = Named(new QGroupBox(QStringLiteral("Video Configuration"), central), "capturePanel");
    auto* panel = new QVBoxLayout(m_capturePanel);
    panel->addWidget(Named(new QLabel(QStringLiteral("Select Video Pause Time"), m_capturePanel), "Label12"));
    panel->addWidget(Named(new QListWidget(m_capturePanel), "List1"));
    halves->addWidget(m_capturePanel);
    m_capturePanel->hide();
    m_cmdShowConfig->hide();
    setCentralWidget(central);

    auto* videoLog = menuBar()->addAction(QStringLiteral("&Video Log"));
    videoLog->setObjectName(QStringLiteral("mnuViewLog"));
    connect(videoLog, &QAction::triggered, this, &MainForm::videoLogRequested);
    auto* pictureLog = menuBar()->addAction(QStringLiteral("&Picture Log"));
    pictureLog->setObjectName(QStringLiteral("mnuPictureLog"));
    connect(pictureLog, &QAction::triggered, this, &MainForm::pictureLogRequested);
    auto* manual = menuBar()->addAction(QStringLiteral("View &Manual"));
    manual->setObjectName(QStringLiteral("munManual"));
    connect(manual, &QAction::triggered, this, [this] {
        hide();
        Q_EMIT manualRequested();
    });
    auto* exit = menuBar()->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    connect(change, &QPushButton::clicked, this, &MainForm::changeVideoDirectory);
    connect(m_txtVideoDir, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_videoDirectoryChanged)
            m_videoDirectoryChanged(text);
    });
    resize(520, 520);
}

MainForm::~MainForm() = default;

void MainForm::setVideoDirectoryChanged(std::function<void(const QString&)> handler)
{
    m_videoDirectoryChanged = std::move(handler);
}

void MainForm::showVideoDirectory(const QString& text)
{
    const QSignalBlocker blocker(m_txtVideoDir);
    m_txtVideoDir->setText(text);
    m_lblVideodir->setText(text);
}

void MainForm::setGridCount(int gridCount)
{
    for (int i = 0; i < 3; ++i) {
        const bool shown = i < gridCount;
        m_gridLabels[i]->setVisible(shown);
        m_gridImages[i]->setVisible(shown);
        m_gridDescriptions[i]->setVisible(shown);
    }
}

void MainForm::setMainGridPicture(int grid, bool ready)
{
    if (grid < 1 || grid > 3)
        return;
    QLabel* image = m_gridImages[grid - 1];
    image->setPixmap(statusPixmap(ready));
    image->setProperty("pictureName", QString::fromLatin1(ready ? smileyPicture : cautionPicture));
}

void MainForm::setMainGridDescription(int grid, const QString& text)
{
    if (grid >= 1 && grid <= 3)
        m_gridDescriptions[grid - 1]->setText(text);
}

void MainForm::setBarefootTiming(bool on)
{
    m_cb15->setChecked(on);
}

bool MainForm::barefootTiming() const
{
    return m_cb15->isChecked();
}

bool MainForm::videoDirectoryExists()
{
    if (PathExistsByKind(m_txtVideoDir->text(), 1))
        return true;
    m_dialogs.message(QStringLiteral("The Log File Folder you specified does not exist. ")
                          + QStringLiteral("Please change it to a Folder that does exist."),
                      QStringLiteral("Path Error"), OperatorDialogs::Icon::Warning);
    return false;
}

QString MainForm::gridPictureName(int grid) const
{
    if (grid < 1 || grid > 3)
        return {};
    return m_gridImages[grid - 1]->property("pictureName").toString();
}

void MainForm::changeVideoDirectory()
{
    const QString title = QStringLiteral("Input Save Video Files Path");
    for (;;) {
        const auto answer = m_dialogs.input(QStringLiteral("Please put in the path of the Save Video Directory here."),
                                            title);
        if (!answer || answer->isEmpty())
            return;
        if (PathExistsByKind(*answer, 1)) {
            m_txtVideoDir->setText(*answer);
            m_lblVideodir->setText(m_txtVideoDir->text());
            return;
        }
        m_dialogs.message(QStringLiteral("The folder you entered does not exist"),
                          QStringLiteral("Jump Measurement Alert"), OperatorDialogs::Icon::Warning);
    }
}

void MainForm::setConfiguredFor(const QString& text)
{
    m_lblConfig->setText(text);
}

QString MainForm::configuredFor() const
{
    return m_lblConfig->text();
}

void MainForm::setCapturePanelAvailable(bool available)
{
    m_cmdShowConfig->setVisible(available);
}

void MainForm::setCapturePanel(QWidget* panel)
{
    m_capturePanel->layout()->addWidget(panel);
    setCapturePanelAvailable(true);
}

void MainForm::toggleCapturePanel()
{
    const bool show = m_cmdShowConfig->text() == QLatin1String("Show Video Configuration");
    m_capturePanel->setVisible(show);
    if (!show) {
        findChild<QWidget*>(QStringLiteral("List1"))->hide();
        findChild<QWidget*>(QStringLiteral("Label12"))->hide();
    }
    m_cmdShowConfig->setText(show ? QStringLiteral("Hide Video Configuration")
                                  : QStringLiteral("Show Video Configuration"));
}

void MainForm::importSkierNames()
{
    const QString chosen = m_dialogs.openFile(
        m_folders.dataDirectory,
        QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|Rich Text Files (*.rtf)|*.rtf|"), 1);
    if (chosen.isEmpty())
        return;
    const auto imported = ImportSkierList(chosen, m_folders.dataFile(SkierListFileName()));
    if (!imported) {
        m_dialogs.message(QStringLiteral("Skier names not imported, the skier list is unchanged. ")
                              + imported.error().describe(QStringLiteral("Cannot use")),
                          {}, OperatorDialogs::Icon::Warning);
        return;
    }
    Q_EMIT skierListImported(*imported);
}

void MainForm::paintEvent(QPaintEvent* event)
{
    m_screenMode.clear();
    QMainWindow::paintEvent(event);
}

QString MainForm::videoDirectoryText() const
{
    return m_txtVideoDir->text();
}

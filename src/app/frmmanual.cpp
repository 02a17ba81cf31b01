#include "app/frmmanual.h"

#include "common/stationfolders.h"
#include "widgets/named.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

frmManual::frmManual(const QString& manualPath, QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmManual"));
    setWindowTitle(QStringLiteral("Rampscope 2005 Manual"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    auto* title = Named(new QLabel(QStringLiteral("Rampscope 2005 Manual"), central), "Label1");
    QFont font = title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    title->setFont(font);
    layout->addWidget(title);
    m_viewer = Named(new QTextBrowser(central), "RichTextBox1");
    m_viewer->setOpenExternalLinks(false);
    layout->addWidget(m_viewer, 1);
    auto* doneButton = Named(new QPushButton(QStringLiteral("Done"), central), "cmdDone");
    layout->addWidget(doneButton, 0, Qt::AlignRight);
    connect(doneButton, &QPushButton::clicked, this, &frmManual::done);
    resize(900, 680);

    if (!manualPath.isEmpty() && QFileInfo(manualPath).isFile()) {
        // Pictures are named relative to the manual's own folder.
        m_viewer->setSearchPaths({QFileInfo(manualPath).absolutePath()});
        m_viewer->setSource(QUrl::fromLocalFile(manualPath), QTextDocument::MarkdownResource);
    } else {
        m_viewer->setMarkdown(QStringLiteral("**The manual %1 was not found with this installation of "
                                             "Rampscope.**\n\nReinstall the program to get it back.")
                                  .arg(ManualFileName()));
    }
}

void frmManual::done()
{
    hide();
    Q_EMIT mainScreenRequested();
}

void frmManual::closeEvent(QCloseEvent* event)
{
    event->ignore();
    done();
}

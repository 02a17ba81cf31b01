#include "measure/resultswindow.h"

#include "common/operatordialogs.h"
#include "common/textfile.h"

#include <QAction>
#include <QMenuBar>
#include <QTextEdit>

Results::Results(OperatorDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent, Qt::Window)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Results"));
    m_exit = menuBar()->addAction(QStringLiteral("E&xit"));
    m_exit->setObjectName(QStringLiteral("Exit_results"));
    m_output = new QTextEdit(this);
    m_output->setObjectName(QStringLiteral("output_box"));
    // A view of the file: typing into it would suggest the file changes.
    m_output->setReadOnly(true);
    m_output->setLineWrapMode(QTextEdit::NoWrap);
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    m_output->setFont(font);
    setCentralWidget(m_output);
    resize(900, 500);
    connect(m_exit, &QAction::triggered, this, &Results::exitResults);
}

bool Results::showResultsFile(const QString& resultsFilePath)
{
    m_output->clear();
    qsizetype start = 0;
    while (start < resultsFilePath.size() && resultsFilePath.at(start) == QLatin1Char(' '))
        ++start;
    const QString path = resultsFilePath.mid(start);
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        m_dialogs.message(QStringLiteral("The results file cannot be shown. ")
                              + bytes.error().describe(QStringLiteral("Cannot read")),
                          {}, OperatorDialogs::Icon::Warning);
        return false;
    }
    // The file is single-byte text with CR LF line ends.
    QString text = QString::fromLatin1(*bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_output->setPlainText(text);
    setWindowTitle(path);
    show();
    raise();
    return true;
}

void Results::exitResults()
{
    hide();
    m_output->clear();
}

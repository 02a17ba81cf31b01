#include "cli/clidialogs.h"

#include <QTextStream>

void CliDialogs::setSaveAnswers(const QString& path, const QString& description)
{
    m_savePath = path;
    m_description = description;
}

OperatorDialogs::Answer CliDialogs::message(const QString& text, const QString& title, Icon icon,
                                            Buttons buttons, std::optional<Answer>)
{
    if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel)
        return Answer::Yes; // "Save Grid n?": the grid on the command line
    m_shown.append({text, title, icon});
    if (m_transcript)
        *m_transcript << text << '\n';
    return Answer::Ok;
}

std::optional<QString> CliDialogs::input(const QString& prompt, const QString&, const QString&, QPoint)
{
    if (prompt == QLatin1String("Enter descriptive line about grid"))
        return m_description;
    return std::nullopt; // nothing else is asked of a script
}

QString CliDialogs::openFile(const QString&, const QString&, int)
{
    return m_savePath;
}

QString CliDialogs::saveFile(const QString&, const QString&, int)
{
    return m_savePath;
}

QString CliDialogs::chooseDirectory(const QString&, const QString&)
{
    return {}; // a script names its folders on the command line
}

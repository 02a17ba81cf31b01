#include "scripteddialogs.h"

#include <gtest/gtest.h>

ScriptedDialogs& ScriptedDialogs::answer(Answer a)
{
    m_answers.push_back(a);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::type(const QString& text)
{
    m_inputs.push_back({false, text});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::cancelInput()
{
    m_inputs.push_back({true, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::chooseFile(const QString& path)
{
    m_files.push_back(path);
    return *this;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const Shown& s : m_shown)
        result.append(s.text);
    return result;
}

void ScriptedDialogs::clear()
{
    m_shown.clear();
    m_answers.clear();
    m_inputs.clear();
    m_files.clear();
}

OperatorDialogs::Answer ScriptedDialogs::message(const QString& text, const QString& title, Icon icon,
                                                 Buttons buttons, std::optional<Answer> defaultButton)
{
    m_shown.push_back({Kind::Message, text, title.isEmpty() ? applicationTitle() : title, icon, buttons,
                       defaultButton, {}, {}, 0});
    if (buttons == Buttons::Ok && (m_answers.empty() || m_answers.front() != Answer::Ok))
        return Answer::Ok; // an OK-only box needs no scripted answer
    if (m_answers.empty()) {
        ADD_FAILURE() << "Unexpected message box: " << text.toStdString();
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

std::optional<QString> ScriptedDialogs::input(const QString& prompt, const QString& title,
                                              const QString& initial, QPoint at)
{
    m_shown.push_back({Kind::Input, prompt, title.isEmpty() ? applicationTitle() : title, Icon::None,
                       Buttons::OkCancel, std::nullopt, initial, at, 0});
    if (m_inputs.empty()) {
        ADD_FAILURE() << "Unexpected input box: " << prompt.toStdString();
        return std::nullopt;
    }
    const TypedAnswer a = m_inputs.front();
    m_inputs.pop_front();
    if (a.cancelled)
        return std::nullopt;
    return a.text;
}

QString ScriptedDialogs::openFile(const QString& directory, const QString& filter, int selectedFilter)
{
    m_shown.push_back({Kind::OpenFile, filter, {}, Icon::None, Buttons::OkCancel, std::nullopt, directory,
                       {}, selectedFilter});
    if (m_files.empty()) {
        ADD_FAILURE() << "Unexpected open-file dialog";
        return {};
    }
    QString path = m_files.front();
    m_files.pop_front();
    return path;
}

QString ScriptedDialogs::saveFile(const QString& directory, const QString& filter, int selectedFilter)
{
    m_shown.push_back({Kind::SaveFile, filter, {}, Icon::None, Buttons::OkCancel, std::nullopt, directory,
                       {}, selectedFilter});
    if (m_files.empty()) {
        ADD_FAILURE() << "Unexpected save-file dialog";
        return {};
    }
    QString path = m_files.front();
    m_files.pop_front();
    return path;
}

QString ScriptedDialogs::chooseDirectory(const QString& directory, const QString& title)
{
    m_shown.push_back({Kind::ChooseDirectory, title, title, Icon::None, Buttons::OkCancel, std::nullopt,
                       directory, {}, 0});
    if (m_files.empty()) {
        ADD_FAILURE() << "Unexpected folder chooser";
        return {};
    }
    QString path = m_files.front();
    m_files.pop_front();
    return path;
}

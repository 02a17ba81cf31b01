#pragma once

#include "common/operatordialogs.h"
#include "support/qtprinters.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

// Operator dialogs for tests: records every box shown and answers from a
// queue of scripted answers. A prompt with no scripted answer left fails
// the running test (and answers as a cancel would).
class ScriptedDialogs final : public OperatorDialogs {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, ChooseDirectory };

    struct Shown {
        Kind kind;
        QString text; // message text, input prompt, the file dialog's filter or the folder chooser's title
        QString title; // as shown: an empty title becomes the application title
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        std::optional<Answer> defaultButton;
        QString initial; // input boxes: the initial text; file dialogs: the directory
        QPoint at;
        int selectedFilter = 0;
    };

    // Queue answers in the order the boxes will appear.
    ScriptedDialogs& answer(Answer a);
    ScriptedDialogs& type(const QString& text); // input box answered with text
    ScriptedDialogs& cancelInput();
    ScriptedDialogs& chooseFile(const QString& path); // empty path = cancel; folder choosers too

    const std::vector<Shown>& shown() const { return m_shown; }
    QStringList texts() const; // the text of every box shown, in order
    bool allAnswersUsed() const { return m_answers.empty() && m_inputs.empty() && m_files.empty(); }
    void clear();

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                   std::optional<Answer> defaultButton) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& initial,
                                 QPoint at) override;
    QString openFile(const QString& directory, const QString& filter, int selectedFilter) override;
    QString saveFile(const QString& directory, const QString& filter, int selectedFilter) override;
    QString chooseDirectory(const QString& directory, const QString& title) override;

private:
    std::vector<Shown> m_shown;
    std::deque<Answer> m_answers;
    struct TypedAnswer {
        bool cancelled = false;
        QString text;
    };
    std::deque<TypedAnswer> m_inputs;
    std::deque<QString> m_files;
};

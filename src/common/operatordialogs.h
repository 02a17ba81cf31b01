#pragma once

#include <QPoint>
#include <QString>

#include <optional>

// Every message box, input box and file dialog of the station goes through
// this interface, so that screens can be driven by a script in tests.
class OperatorDialogs {
public:
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    // Title of a box that has none of its own.
    static QString applicationTitle() { return QStringLiteral("Rampscope Measurement"); }

    virtual ~OperatorDialogs() = default;

    // An empty title shows applicationTitle(). defaultButton is the answer
    // that Enter gives (No for the emergency-reset questions).
    virtual Answer message(const QString& text, const QString& title = {}, Icon icon = Icon::None,
                           Buttons buttons = Buttons::Ok,
                           std::optional<Answer> defaultButton = std::nullopt)
        = 0;

    // Returns nothing when the operator cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& initial = {}, QPoint at = {})
        = 0;

    // filter uses the "Label|pattern|Label|pattern|" form; selectedFilter
    // counts from 1. An empty result means the dialog was cancelled.
    virtual QString openFile(const QString& directory, const QString& filter, int selectedFilter) = 0;
    virtual QString saveFile(const QString& directory, const QString& filter, int selectedFilter) = 0;

    // A folder chooser opened in `directory`. An empty result means the
    // dialog was cancelled.
    virtual QString chooseDirectory(const QString& directory, const QString& title) = 0;

    // An input box for a folder path: the operator types it or chooses it
    // with a folder chooser beside the box. Returns nothing when the operator
    // cancels. Answered like input() where no chooser can be shown.
    virtual std::optional<QString> inputDirectory(const QString& prompt, const QString& title,
                                                  const QString& initial = {})
    {
        return input(prompt, title, initial);
    }
};

#pragma once

#include "common/operatordialogs.h"

#include <QList>
#include <QString>

class QTextStream;

// The operator's side of the headless tool: every message box is kept, and
// printed as one line when a transcript stream is given; the questions of a
// save are answered from the command line (the file to write, the grid
// description, "yes" to saving the grid shown).
class CliDialogs final : public OperatorDialogs {
public:
    struct Shown {
        QString text;
        QString title;
        Icon icon = Icon::None;
    };

    explicit CliDialogs(QTextStream* transcript = nullptr) : m_transcript(transcript) {}

    void setSaveAnswers(const QString& path, const QString& description);

    // Every message box shown so far, in order.
    const QList<Shown>& shown() const { return m_shown; }

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                   std::optional<Answer> defaultButton) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& initial,
                                 QPoint at) override;
    QString openFile(const QString& directory, const QString& filter, int selectedFilter) override;
    QString saveFile(const QString& directory, const QString& filter, int selectedFilter) override;
    QString chooseDirectory(const QString& directory, const QString& title) override;

private:
    QTextStream* m_transcript;
    QList<Shown> m_shown;
    QString m_savePath;
    QString m_description;
};

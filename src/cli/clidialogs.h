#pragma once

#include "common/operatordialogs.h"

#include <QString>

class QTextStream;

// The operator's side of the headless tool: every message box is printed as
// one line, and the questions of a save are answered from the command line
// (the file to write, the grid description, "yes" to saving the grid shown).
class CliDialogs final : public OperatorDialogs {
public:
    explicit CliDialogs(QTextStream& out) : m_out(out) {}

    void setSaveAnswers(const QString& path, const QString& description);

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                   std::optional<Answer> defaultButton) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& initial,
                                 QPoint at) override;
    QString openFile(const QString& directory, const QString& filter, int selectedFilter) override;
    QString saveFile(const QString& directory, const QString& filter, int selectedFilter) override;
    QString chooseDirectory(const QString& directory, const QString& title) override;

private:
    QTextStream& m_out;
    QString m_savePath;
    QString m_description;
};

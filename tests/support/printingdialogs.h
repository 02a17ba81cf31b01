#pragma once

#include "common/operatordialogs.h"

#include <cstdio>

// Operator dialogs for the screenshot tools: no box is expected, and any
// that appears is printed rather than shown (an OK, a cancelled input, no
// file chosen).
class PrintingDialogs final : public OperatorDialogs {
public:
    Answer message(const QString& text, const QString&, Icon, Buttons, std::optional<Answer>) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return Answer::Ok;
    }
    std::optional<QString> input(const QString& prompt, const QString&, const QString&, QPoint) override
    {
        std::fprintf(stderr, "input: %s\n", qPrintable(prompt));
        return std::nullopt;
    }
    QString openFile(const QString&, const QString&, int) override { return {}; }
    QString saveFile(const QString&, const QString&, int) override { return {}; }
    QString chooseDirectory(const QString&, const QString&) override { return {}; }
};

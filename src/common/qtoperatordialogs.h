#pragma once

#include "common/operatordialogs.h"

#include <QStringList>

class QWidget;

// The operator dialogs as real Qt boxes, parented to the screen that asks.
class QtOperatorDialogs final : public OperatorDialogs {
public:
    explicit QtOperatorDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                   std::optional<Answer> defaultButton) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial, QPoint at) override;
    QString openFile(const QString& directory, const QString& filter, int selectedFilter) override;
    QString saveFile(const QString& directory, const QString& filter, int selectedFilter) override;
    QString chooseDirectory(const QString& directory, const QString& title) override;
    std::optional<QString> inputDirectory(const QString& prompt, const QString& title,
                                          const QString& initial) override;

    // "Label|pattern|Label|pattern|" to Qt's "Label (pattern);;..." list.
    static QStringList qtFilters(const QString& filter);

private:
    QWidget* m_parent;
};

#pragma once

#include <QDialog>
#include <QString>

class OperatorDialogs;
class QListWidget;

// The skier picker, "Select A Skier": the skier list, one name a line with
// its commas folded; a double click chooses a name, "No Selection" closes
// with nothing chosen. Made afresh at each opening.
class frmSelectSkier final : public QDialog {
    Q_OBJECT

public:
    // Reads the list at skierListPath. A list that cannot be read leaves the
    // picker empty and tells the operator how to get one.
    frmSelectSkier(const QString& skierListPath, OperatorDialogs& dialogs, QWidget* parent = nullptr);

    QListWidget* skiers() const { return m_lstSkiers; }

Q_SIGNALS:
    // A double-clicked entry, for the capture screen's txtSkierName.
    void skierChosen(const QString& name);

private:
    QListWidget* m_lstSkiers = nullptr;
};

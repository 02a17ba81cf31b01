#include "app/frmselectskier.h"

#include "app/skierlist.h"
#include "common/operatordialogs.h"
#include "widgets/named.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmSelectSkier::frmSelectSkier(const QString& skierListPath, OperatorDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSelectSkier"));
    setWindowTitle(QStringLiteral("Select A Skier"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Named(new QLabel(QStringLiteral("Double Click on Skier Name to select it"), this), "Label1"));
    m_lstSkiers = Named(new QListWidget(this), "lstSkiers");
    layout->addWidget(m_lstSkiers);
    auto* noSelect = Named(new QPushButton(QStringLiteral("No Selection"), this), "cmdNoSelect");
    layout->addWidget(noSelect);
    move(2280 / 15, 120 / 15);
    resize(320, 420);

    connect(noSelect, &QPushButton::clicked, this, &QDialog::close);
    connect(m_lstSkiers, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        Q_EMIT skierChosen(item->text());
        close();
    });

    const auto names = ReadSkierList(skierListPath);
    if (!names) {
        dialogs.message(QStringLiteral("There is no skier list to choose from (%1). Import one with "
                                       "\"Import Skier Names File\" on the main screen.")
                            .arg(names.error().describe(QStringLiteral("Cannot read"))),
                        {}, OperatorDialogs::Icon::Information);
        return;
    }
    m_lstSkiers->addItems(*names);
}

#include "common/qtoperatordialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::StandardButton toStandard(OperatorDialogs::Answer answer)
{
    switch (answer) {
    case OperatorDialogs::Answer::Ok: return QMessageBox::Ok;
    case OperatorDialogs::Answer::Cancel: return QMessageBox::Cancel;
    case OperatorDialogs::Answer::Yes: return QMessageBox::Yes;
    case OperatorDialogs::Answer::No: return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

QString selectedQtFilter(const QStringList& filters, int selectedFilter)
{
    if (selectedFilter >= 1 && selectedFilter <= filters.size())
        return filters.at(selectedFilter - 1);
    return {};
}

} // namespace

QStringList QtOperatorDialogs::qtFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& label = parts.at(i);
        const QString patterns = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (label.isEmpty())
            continue;
        // Qt takes the patterns from the label's last parentheses, so the
        // label keeps its own only when they hold exactly these patterns.
        const QString own = QLatin1Char('(') + patterns + QLatin1Char(')');
        result.append(label.endsWith(own, Qt::CaseInsensitive) ? label : label + QLatin1Char(' ') + own);
    }
    return result;
}

OperatorDialogs::Answer QtOperatorDialogs::message(const QString& text, const QString& title, Icon icon,
                                                   Buttons buttons, std::optional<Answer> defaultButton)
{
    QMessageBox box(m_parent);
    box.setText(text);
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (defaultButton)
        box.setDefaultButton(toStandard(*defaultButton));
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ok: return Answer::Ok;
    default:
        // Closing the box with Escape or the window button.
        return buttons == Buttons::Ok ? Answer::Ok : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
    }
}

std::optional<QString> QtOperatorDialogs::input(const QString& prompt, const QString& title,
                                                 const QString& initial, QPoint at)
{
    QInputDialog dialog(m_parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    dialog.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    dialog.setTextValue(initial);
    if (!at.isNull())
        dialog.move(at);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtOperatorDialogs::openFile(const QString& directory, const QString& filter, int selectedFilter)
{
    const QStringList filters = qtFilters(filter);
    QString selected = selectedQtFilter(filters, selectedFilter);
    return QFileDialog::getOpenFileName(m_parent, QString(), directory, filters.join(QStringLiteral(";;")),
                                        &selected);
}

QString QtOperatorDialogs::saveFile(const QString& directory, const QString& filter, int selectedFilter)
{
    const QStringList filters = qtFilters(filter);
    QString selected = selectedQtFilter(filters, selectedFilter);
    return QFileDialog::getSaveFileName(m_parent, QString(), directory, filters.join(QStringLiteral(";;")),
                                        &selected);
}

QString QtOperatorDialogs::chooseDirectory(const QString& directory, const QString& title)
{
    return QFileDialog::getExistingDirectory(m_parent, title, directory);
}

std::optional<QString> QtOperatorDialogs::inputDirectory(const QString& prompt, const QString& title,
                                                          const QString& initial)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    auto* layout = new QGridLayout(&dialog);
    auto* label = new QLabel(prompt, &dialog);
    label->setWordWrap(true);
    layout->addWidget(label, 0, 0, 1, 2);
    auto* path = new QLineEdit(initial, &dialog);
    path->setMinimumWidth(360);
    layout->addWidget(path, 1, 0);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), &dialog);
    layout->addWidget(browse, 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons, 2, 0, 1, 2);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
        const QString start = path->text().trimmed().isEmpty() ? QDir::homePath() : path->text().trimmed();
        const QString chosen = QFileDialog::getExistingDirectory(&dialog, title, start);
        if (!chosen.isEmpty())
            path->setText(QDir::toNativeSeparators(chosen));
    });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return path->text();
}

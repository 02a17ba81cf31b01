#include "app/rampscope.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "common/qtoperatordialogs.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rampscope Measurement"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("rampscope")));

    SettingsStore settings;
    QtOperatorDialogs dialogs;
    SystemClock clock;
    Rampscope rampscope(settings, dialogs, clock);
    // Without a save-video directory the operator has chosen to leave.
    if (!rampscope.start())
        return 0;
    return QApplication::exec();
}

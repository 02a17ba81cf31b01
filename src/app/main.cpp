#include "app/rampscope.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "common/qtoperatordialogs.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rampscope Measurement"));

    SettingsStore settings;
    QtOperatorDialogs dialogs;
    SystemClock clock;
    Rampscope rampscope(settings, dialogs, clock);
    rampscope.start();
    return QApplication::exec();
}

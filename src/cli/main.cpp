#include "cli/clicommands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
#ifdef Q_OS_WIN
    // The wide command line holds every file name exactly.
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const std::expected<QStringList, QString> args = arguments;
#else
    const auto args = CliArguments(argc, argv);
    QCoreApplication app(argc, argv);
#endif
    if (!args) {
        err << "rampscope-cli: " << args.error() << '\n';
        return 2;
    }
    int status = RunCli(*args, out, err);
    out.flush();
    // A full disk under a redirected output must not pass for a result.
    if (out.status() != QTextStream::Ok) {
        err << "rampscope-cli: the output could not be written\n";
        status = 2;
    }
    err.flush();
    return status;
}

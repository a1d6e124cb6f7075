#include "cli/calc_cli.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // No windows: painting the page and its sketches needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = vardel::RunCalcCli(args, QGuiApplication::applicationDirPath(), out, err);
    out.flush();
    err.flush();
    return status;
}

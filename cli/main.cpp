#include "cli/calc_cli.h"

#include <QApplication>

#include <cstdio>

namespace {

// Qt's own notes (a runtime directory it had to guess, a font it stood in for) mean nothing to
// the user of a command: standard error carries this program's messages and Qt's real errors.
void QtErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "vardel-calc: %s\n", qPrintable(message));
    }
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(QtErrorsOnly);
    // No windows: painting the page and its sketches needs fonts, not a display. The N-M diagram
    // is a chart on a graphics scene, which needs the widget application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = vardel::RunCalcCli(args, QApplication::applicationDirPath(), out, err);
    out.flush();
    err.flush();
    return status;
}

// Vardel: the windows. The program directory is the executable's, or a per-user data directory
// when the program is installed where the user cannot write.
#include "calc/calculate.h"
#include "state/design_case.h"
#include "ui/input_window.h"
#include "ui/program_dir.h"
#include "ui/qt_language.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vardel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vardel"));
    QApplication::setDesktopFileName(QStringLiteral("vardel"));
    QApplication::setWindowIcon(
        QIcon(QApplication::applicationDirPath() + QStringLiteral("/vardel.svg")));
    // Qt's own dialogs (files, printing, the buttons of message boxes) in the user's language:
    // "Anuluj", not "Cancel", beside the program's Polish.
    vardel::InstallQtTranslations();

    const vardel::ProgramDirChoice dir = vardel::ProgramDirForThisRun();
    if (dir.dir.isEmpty()) {
        QMessageBox::critical(nullptr, vardel::ProgramTitle(), dir.error);
        return 1;
    }
    vardel::DesignCase s;
    vardel::InputWindow window(s, dir.dir);
    if (vardel::FileResult r = window.Load()) {
        // Without its settings and texts the program has nothing to start from.
        QMessageBox::critical(nullptr, vardel::ProgramTitle(), r->message);
        return 1;
    }
    QObject::connect(&window, &vardel::InputWindow::programEnded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}

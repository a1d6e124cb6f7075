// The print program's exit statuses: how it tells the program why a job did not end well, so
// that the window can say so in its own words.
#pragma once

#include <QString>

namespace vardel {

enum class PrintExit : int {
    Done = 0,
    Failed = 1,          // the job or page files could not be read or laid out, or no screen
    Usage = 2,           // not started with one job file
    Cancelled = 3,       // the user cancelled the printer or save dialog: not a failure
    NoPrinter = 4,       // there is no default printer
    PrinterRefused = 5,  // the printer (the print server) did not take the pages
    WriteFailed = 6,     // the page picture, the saved file or the status file was not written
};

// What the program says for an exit status of the print program (empty for Done and Cancelled).
inline QString PrintExitText(int status) {
    switch (static_cast<PrintExit>(status)) {
        case PrintExit::Done:
        case PrintExit::Cancelled:
            return {};
        case PrintExit::NoPrinter:
            return QStringLiteral("Nie ma drukarki domyślnej.");
        case PrintExit::PrinterRefused:
            return QStringLiteral("Drukarka nie przyjęła wydruku.");
        case PrintExit::WriteFailed:
            return QStringLiteral("Nie można zapisać pliku.");
        case PrintExit::Usage:
        case PrintExit::Failed:
            break;
    }
    return QStringLiteral("Program drukujący zakończył się błędem (kod %1).").arg(status);
}

}  // namespace vardel

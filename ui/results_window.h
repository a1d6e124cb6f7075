// The results window: the composed report as a page picture, the verdict and the commands that
// print and save it. It is opened by the input window after a calculation without a stop.
#pragma once

#include "state/design_case.h"

#include <QMainWindow>
#include <QString>

#include <functional>

namespace vardel {

class ResultsWindow : public QMainWindow {  // object name "VardelWynOK"
    Q_OBJECT

  public:
    // `s` is the program's one design case, calculated. `programDir` is the directory the program
    // reads its files from and writes its sketches, page files and status file into.
    // `inputWindow` is hidden while this window is open and shown again by the return command.
    // `endProgram` is what the two end commands call after this window is hidden: it writes the
    // settings file from the input window's fields and ends the program.
    ResultsWindow(DesignCase& s, const QString& programDir, QWidget* inputWindow,
                  std::function<void()> endProgram);

    // The start sequence: composes the report, saves the sketches, asks for the designation,
    // renders the page picture and shows the verdict. Shows the window (not modal) and hides the
    // input window. A failure shows its message box and leaves the window usable.
    void Start();
};

}  // namespace vardel

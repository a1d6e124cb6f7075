// The run's own folder. Runs that share a program directory (two windows, parallel command
// lines) would otherwise write their sketches and page files under the same names and read back
// each other's: each run writes them where no other run writes, and only at the end of a job puts
// copies of them into the program directory, where they stay for whoever reads them next.
#pragma once

#include "print/page_files.h"

#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace vardel {

// A fresh folder readable by this user alone, removed with everything in it when the object ends.
class RunFolder {
  public:
    RunFolder();
    bool ok() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }
    // Why there is no folder, in the program's words.
    QString error() const;

  private:
    QTemporaryDir dir_;
};

// Puts what the job left in `src.runDir` into the program directory, each file replaced whole
// and the set written all or none: the pictures the run drew, the page files (naming those
// pictures in the program directory), and for a print-program job the job file and the print
// program's status file. Runs ending at the same moment take turns, so the set comes from one
// run. Nothing to do when the run works in the program directory itself.
PrintResult KeepInProgramDir(const PageSource& src, std::optional<PrintMode> job);

}  // namespace vardel

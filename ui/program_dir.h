// Where the program keeps the files it reads and writes. The program directory is the directory
// of the executable; when the program is installed where the user cannot write, a per-user data
// directory takes its place, seeded from the files shipped beside the executable.
#pragma once

#include <QString>

namespace vardel {

// True when a file can be created in `dir` (tried, not guessed from permission bits: a read-only
// mount or a full quota says no whatever the bits say).
bool IsWritableDir(const QString& dir);

struct ProgramDirChoice {
    QString dir;    // the program directory to use; empty when none could be had
    QString error;  // why not, in the program's words
};

// `exeDir` when it is writable; otherwise `userDir`, created if need be and seeded with every
// shipped file of `exeDir` that is not a program: a file the user's directory lacks is copied,
// and a shipped file newer than the user's copy replaces it, except the settings file, which
// holds the user's last design case. The print program stays beside the executable: a link to
// it is kept in `userDir`, where the core looks for it.
ProgramDirChoice ChooseProgramDir(const QString& exeDir, const QString& userDir,
                                  bool exeDirWritable);

// The choice for this run: the executable's directory and the per-user data directory.
ProgramDirChoice ProgramDirForThisRun();

}  // namespace vardel

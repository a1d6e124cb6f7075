// vardel-calc: the calculate command without windows, on a settings file.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace vardel {

// Runs the front end on `args` (without the program name). `programDir` is where the language
// files lie. Returns the exit status: 0 results, 1 a stop, 2 a wrong command line or file.
int RunCalcCli(const QStringList& args, const QString& programDir, QTextStream& out,
               QTextStream& err);

}  // namespace vardel

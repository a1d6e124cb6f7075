// The settings file VardelOK.cfg: the last design case and the user's choices, carried from one
// run of the program to the next. Line k holds setting k (1..22); the key texts after the values
// are for the human reader and are not compared on reading.
#pragma once

#include "state/design_case.h"
#include "state/prompter.h"
#include "texts/file_error.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

namespace vardel {

inline QString SettingsFileName() {
    return QStringLiteral("VardelOK.cfg");
}

constexpr int kSettingsLines = 22;

// Reads the settings into `s`, with the derived members (N_kG, M_kGm, V_kG, Rz_cm, Rw_cm, Rs_cm)
// set in the same step. On any failure `s` is left exactly as it was and the error names the
// file and the line. `fileName` is only used in messages.
[[nodiscard]] FileResult ReadSettingsBytes(DesignCase& s, const QByteArray& bytes,
                                           const QString& fileName);
[[nodiscard]] FileResult ReadSettings(DesignCase& s, const QString& path);

// The file's bytes for the state as it stands: Windows-1250 when every character has a place in
// it, else UTF-8, so that nothing typed is lost; lines end with CR LF.
QByteArray SettingsFileBytes(const DesignCase& s);

// Writes the file whole or not at all; a file already there stays intact on failure.
[[nodiscard]] FileResult SaveSettingsFile(const QString& path, const DesignCase& s);

// What the input window shows at the moment of leaving: these, not the values of the last
// calculation, are what the next run starts with.
struct SettingsWindowValues {
    QString Text3;   // outer radius of the ring, mm
    QString Text4;   // inner radius, mm
    QString Text11;  // bolt-circle radius, mm
    int cmbFi = -1;  // selected position in the diameter list, -1 for none
    QString Text12;  // number of bolts

    // The state's own values, for a caller without windows.
    static SettingsWindowValues FromState(const DesignCase& s);
};

// Leaving the program: takes the page number of the last printout from the print program's
// status file (telling the user through `prompter` when the printout ended badly), takes the
// window values (a text that is no number keeps the state's value), and writes the settings file
// in `programDir` whole. The state takes the new values only when the file was written.
[[nodiscard]] FileResult WriteSettings(DesignCase& s, const QString& programDir,
                                       const SettingsWindowValues& window, const QLocale& locale,
                                       Prompter& prompter);

// n = Es/Eb in hundredths, as line 6 stores it: n rounded to two decimals as the window shows it
// (6.61 is 661, not 660.99...; a computed 7.0689... is 707).
double HundredthsOfRatio(double n);

}  // namespace vardel

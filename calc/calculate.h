// The calculate command: takes the input window's fields into the design case, checks them,
// derives the ring and material values and solves every load case.
#pragma once

#include "calc/stop.h"
#include "state/design_case.h"

#include <QLocale>
#include <QString>

#include <array>
#include <optional>

namespace vardel {

// The texts and selections of the input window that the command reads.
struct InputFields {
    QString txtNaz_proj;
    QString txtNr_strony;
    QString Text3;   // outer radius Rz, mm
    QString Text4;   // inner radius Rw, mm
    QString Text11;  // bolt-circle radius, mm
    QString Text12;  // number of bolts
    int cmbFi = -1;  // selected diameter entry, 0-based; -1 none
    QString cmbFiText;
    int cmbStal = -1;   // selected steel entry, 0-based; -1 when a text was typed instead
    int Option1 = 1;    // foundation type: 0 plain ("Betonowa"), 1 reinforced ("Żelbetowa")
    int optHsruby = 0;  // 0: all anchors carry the shear; 1: those of the compressed zone
    std::array<QString, kMaxCases> Text6;  // N, kN, rows 0..5
    std::array<QString, kMaxCases> Text7;  // M1, kNm
    std::array<QString, kMaxCases> Text5;  // Vx, kN
};

// Start-up after the settings file has been read: the concrete modulus and class text, the
// stiffness ratio computed from the concrete unless the user gave one, no base-plate designation.
void CompleteLoadedCase(DesignCase& s);

// Fills the fields from the state as the input window shows them after start-up.
InputFields FieldsFromState(const DesignCase& s, const QLocale& locale);

// Runs the command. Without a stop the results of every case are in the state; with one, the
// state keeps what was written before it and the stop says why.
std::optional<Stop> Calculate(const InputFields& fields, DesignCase& s, const QLocale& locale);

// The exit command's reading of the fields: every field into the state as the settings file keeps
// it (project name, page, ring, bolts, steel, foundation, shear, loads), without the calculation's
// checks. A field that cannot be read stops it, named; `s` then stays as it was. The rows of the
// load cases not in use keep the state's values where their fields cannot be read.
std::optional<Stop> TakeFields(const InputFields& fields, DesignCase& s, const QLocale& locale);

// The ring's section values (diameters, kern radius, modulus, area) for the radii Rz > Rw, cm;
// also those of the effective ring of the PN-EN checks.
void DeriveRingSection(DesignCase& s, double Rz_cm, double Rw_cm);

// The stop of a run-time error the command trapped ("K3(oblicz)!!11" ...).
Stop TrappedErrorStop(int number, const QLocale& locale);

// The default title of the program's message boxes.
inline QString ProgramTitle() {
    return QStringLiteral("Vardel 2005");
}

}  // namespace vardel

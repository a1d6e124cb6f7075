// The fixed material and bolt tables and their lookups.
#pragma once

#include "state/design_case.h"

#include <QString>
#include <QStringList>

namespace vardel {

// Choice-list texts in list order (position 1 first).
QStringList SteelGradeNames();
QStringList BoltDiameterNames();
QStringList ConcreteClassNames();

// Net (stress) area in cm² of a bolt of diameter `d` mm; false when d is not in the list, in
// which case `As_sruby` stays as it was.
bool LookUpBoltArea(DesignCase& s);

enum class SteelLookup { Set, GradeOutOfRange, NotAllowed };
// Sets fd_stali, ft_sruby, fv_sruby and Klasa_stali from Nrstali and Fi_sruby.
SteelLookup LookUpSteel(DesignCase& s);

// Sets Eb, fcd_betonu, Wsp_lb and Wsp_bet from Nrbetonu and Typ_stopy; false (nothing changed)
// for an index outside 1..5.
bool LookUpConcrete(DesignCase& s);
// Sets Eb alone from Nrbetonu.
bool LookUpModulus(DesignCase& s);

// The steel modulus behind the computed stiffness ratio n = Es/Eb.
constexpr double kSteelModulusMpa = 205000.0;

}  // namespace vardel

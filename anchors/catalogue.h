// The anchor catalogue: for the bolt of the design case, a hook anchor ("F-") and a plate anchor
// ("P-") that can be cast into the foundation, every dimension derived from the bolt diameter,
// the concrete class, the bolt steel and the thickness of base plate and grout. The catalogue is
// not a file: it is the fixed table by diameter and the rules in catalogue.cpp.
#pragma once

#include "state/design_case.h"
#include "state/prompter.h"

#include <QLocale>
#include <QString>

#include <array>
#include <optional>
#include <variant>

namespace vardel {

enum class AnchorKind { Hook = 0, Plate = 1 };  // the tab index of the selection window

struct HookAnchor {
    Int16 L = 0;      // base length, mm
    Int16 Lo = 0;     // straight length: L + thickness + Ld
    Int16 Lcalk = 0;  // total length, to the nearest 50 mm
    QString designation;
};

struct PlateAnchor {
    Int16 Lp = 0;  // embedment depth for the concrete class
    Int16 a = 0;   // side of the square plate
    Int16 tp = 0;  // plate thickness
    Int16 L1 = 0;  // rib length, 0 below 48 mm
    Int16 Lo = 0;  // Lp + thickness + Ld
    Int16 Lcalk = 0;
    QString designation;
};

struct Anchors {
    Int16 d = 0;        // bolt diameter, mm
    float Nosnosc = 0;  // capacity of one bolt, kN
    Int16 Grubosc = 0;  // base plate and grout, mm, as entered
    Int16 D = 0;        // bending diameter of the hook
    Int16 Lh = 0;       // developed length of the hook
    Int16 Ld = 0;       // threaded length, the same for both anchors
    HookAnchor hook;
    std::optional<PlateAnchor> plate;  // none for 12 and 16 mm
};

// A run-time failure carried as the platform's error number: 6 a length beyond 32767 mm, 9 a
// diameter that the catalogue does not list.
struct AnchorError {
    int number = 0;
};

// Every dimension of both anchors for the bolt of `s` (Fi_sruby, As_sruby, fd_stali, Wsp_lb,
// Wsp_bet as the calculation set them) and a thickness in mm (0 and above).
std::variant<Anchors, AnchorError> ComputeAnchors(const DesignCase& s, Int16 thickness);

// The thickness prompt of the selection window: asks through `prompter`; an answer that is not
// a number (also an empty one, or Cancel) and a negative one are told and taken as 0. A number
// beyond the 16-bit range is error 6.
std::variant<Int16, AnchorError> AskThickness(Prompter& prompter, const QLocale& locale);

// The message of a run-time failure while the anchors are derived: "6!!!!".
QString AnchorErrorMessage(AnchorError e);

// The steel grades 1 to 3 suit hook anchors, the stronger grades 4 to 6 plate anchors.
inline bool HookRecommended(Int16 Nrstali) {
    return Nrstali < 4;
}

// The texts of the selection window's labels, each its designed caption followed by the value
// and " mm"; index 0 on the hook tab, 1 on the plate tab. The confirmation builds the report
// lines from the same captions. Plate texts are empty when there is no plate anchor.
struct AnchorCaptions {
    std::array<QString, 2> Nazwa, dia, Nosnosc, Lo, Ld, Lcalk;
    QString Lh, D, a, t, L1;
    bool L1Visible = false;  // ribs from 48 mm
};
AnchorCaptions Captions(const Anchors& a, const QLocale& locale);

// Designed captions of the labels, before a value is added.
namespace caption {
inline const QString dia = QStringLiteral("d = ");
inline const QString Nosnosc = QStringLiteral("Nośność:  ");
inline const QString Lo = QStringLiteral("Lo =");
inline const QString Ld = QStringLiteral("Ld = ");
inline const QString Lcalk = QStringLiteral("Lcałk. =  ");
inline const QString Lh = QStringLiteral("Lh = ");
inline const QString D = QStringLiteral("D = ");
inline const QString a = QStringLiteral("a =");
inline const QString t = QStringLiteral("t = ");
inline const QString L1 = QStringLiteral("L1 = ");
}  // namespace caption

// The installed sketch of an anchor, in the program directory: 1 the hook anchor (rys3f.bmp),
// 2 the small plate anchor (rys2pm.bmp), 3 the large plate anchor with ribs (rys2pd.bmp).
int SketchNumber(AnchorKind kind, Int16 d);
QString SketchFileName(int number);

}  // namespace vardel

#include "materials/tables.h"

#include <array>

namespace vardel {
namespace {

struct BoltSize {
    int d;
    double area;
};
constexpr std::array<BoltSize, 13> kBolts{{{12, 0.85},
                                           {16, 1.57},
                                           {20, 2.45},
                                           {24, 3.53},
                                           {30, 5.61},
                                           {36, 8.17},
                                           {42, 11.2},
                                           {48, 14.72},
                                           {52, 17.57},
                                           {56, 20.3},
                                           {64, 26.75},
                                           {72, 34.58},
                                           {80, 43.42}}};

// One row of a grade: diameters up to `dMax` (inclusive) not taken by an earlier row.
struct SteelRow {
    int grade;
    int dMax;
    float fd, ft, fv;
    const char* klasa;
};
constexpr std::array<SteelRow, 15> kSteelRows{{
    {1, 16, 175, 165.75f, 141.75f, " (A-0) "},
    {1, 40, 165, 157.25f, 141.75f, " (A-0) "},
    {2, 16, 215, 199.75f, 168.75f, " (A-I) "},
    {2, 40, 205, 191.25f, 168.75f, " (A-I) "},
    {2, 100, 195, 182.75f, 168.75f, " (A-I) "},
    {3, 16, 235, 216.75f, 184.5f, " "},
    {3, 40, 225, 208.25f, 184.5f, " "},
    {4, 16, 305, 301.75f, 220.5f, " (A-II) "},
    {4, 30, 295, 293.25f, 220.5f, " (A-II) "},
    {4, 50, 285, 284.75f, 220.5f, " (A-II) "},
    {5, 16, 370, 374.0f, 252.0f, " "},
    {5, 29, 360, 365.5f, 252.0f, " "},
    {5, 50, 350, 357.0f, 252.0f, " "},
    {6, 32, 310, 290.0f, 220.0f, " (A-II) "},
}};

struct Concrete {
    const char* name;
    float eb, fcdPlain, fcdReinforced, lb, bet;
};
constexpr std::array<Concrete, 5> kConcrete{{{"B15", 27000, 6.7f, 8.0f, 40, 1.0f},
                                             {"B20", 29000, 8.9f, 10.6f, 35, 0.866f},
                                             {"B25", 30000, 11.1f, 13.3f, 32, 0.775f},
                                             {"B30", 31000, 13.9f, 16.7f, 30, 0.693f},
                                             {"B37", 32000, 16.7f, 20.0f, 28, 0.632f}}};

}  // namespace

QStringList SteelGradeNames() {
    return {QStringLiteral("St0S"),
            QStringLiteral("St3SX,St3SY,St3S,St3V,St3W"),
            QStringLiteral("St4VX,St4VY,St4V,St4W"),
            QStringLiteral("18G2,18G2A"),
            QStringLiteral("18G2AV"),
            QStringLiteral("50B")};
}

QStringList BoltDiameterNames() {
    QStringList out;
    for (const auto& b : kBolts) {
        out << QString::number(b.d);
    }
    return out;
}

QStringList ConcreteClassNames() {
    QStringList out;
    for (const auto& c : kConcrete) {
        out << QString::fromLatin1(c.name);
    }
    return out;
}

bool LookUpBoltArea(DesignCase& s) {
    for (const auto& b : kBolts) {
        if (b.d == s.Fi_sruby) {
            s.As_sruby = b.area;
            return true;
        }
    }
    return false;
}

SteelLookup LookUpSteel(DesignCase& s) {
    if (s.Nrstali < 1 || s.Nrstali > 6) {
        return SteelLookup::GradeOutOfRange;
    }
    for (const auto& row : kSteelRows) {
        if (row.grade == s.Nrstali && s.Fi_sruby <= row.dMax) {
            s.fd_stali = row.fd;
            s.ft_sruby = row.ft;
            s.fv_sruby = row.fv;
            s.Klasa_stali = QString::fromLatin1(row.klasa);
            return SteelLookup::Set;
        }
    }
    return SteelLookup::NotAllowed;
}

bool LookUpConcrete(DesignCase& s) {
    if (s.Nrbetonu < 1 || s.Nrbetonu > 5) {
        return false;
    }
    const Concrete& c = kConcrete[s.Nrbetonu - 1];
    s.Eb = c.eb;
    s.fcd_betonu = s.Typ_stopy == 0 ? c.fcdPlain : c.fcdReinforced;
    s.Wsp_lb = c.lb;
    s.Wsp_bet = c.bet;
    return true;
}

bool LookUpModulus(DesignCase& s) {
    if (s.Nrbetonu < 1 || s.Nrbetonu > 5) {
        return false;
    }
    s.Eb = kConcrete[s.Nrbetonu - 1].eb;
    return true;
}

}  // namespace vardel

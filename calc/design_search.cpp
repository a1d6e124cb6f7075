#include "calc/design_search.h"

#include "calc/en_calculation.h"
#include "calc/load_rows.h"
#include "calc/solver.h"
#include "calc/stop.h"
#include "codes/en/checks.h"
#include "materials/tables.h"
#include "state/numbers.h"

#include <algorithm>

namespace vardel {
namespace {

// What a diameter brings with it under the chosen grade: looked up once per design.
struct Diameter {
    int index = 0;
    Int16 d = 0;
    double As = 0;
    float fd = 0, ft = 0, fv = 0;
};

std::vector<Diameter> AllowedDiameters(const DesignCase& base) {
    std::vector<Diameter> out;
    DesignCase probe = base;
    const QStringList names = BoltDiameterNames();
    for (int k = 0; k < names.size(); ++k) {
        const Int16Result d = ToInt16(names[k], QLocale::c());
        probe.Fi_sruby = d.value;
        if (d.status != Convert::Ok || !LookUpBoltArea(probe) ||
            LookUpSteel(probe) != SteelLookup::Set) {
            continue;
        }
        out.push_back({k, d.value, probe.As_sruby, probe.fd_stali, probe.ft_sruby, probe.fv_sruby});
    }
    return out;
}

enum class Outcome { Refused, Fails, Passes };

// One layout through the calculation and the report's checks, as the calculate command and the
// report composition would take it, on the working copy `w` whose ring and materials are
// already derived. Each load goes into the first case in turn: a case's solution reads nothing
// of the others. The first failing load ends it; `largest` is set for a passing layout.
Outcome CalculateLayout(DesignCase& w, int count, const Diameter& d,
                        const std::vector<RowLoads>& loads, const QLocale& locale,
                        Governing& largest) {
    try {
        w.Numer_sruby = static_cast<Int16>(d.index + 1);
        w.Fi_sruby = d.d;
        w.As_sruby = d.As;
        w.Liczba_srub = static_cast<Int16>(count);
        w.Rozstaw = ToSingleChecked(Div(w.R_srub * kTwoPi, w.Liczba_srub));
        if (w.Rozstaw < 2 * w.Fi_sruby) {
            return Outcome::Refused;  // "Za mały rozstaw śrub!"
        }
        w.fd_stali = d.fd;
        w.ft_sruby = d.ft;
        w.fv_sruby = d.fv;
        w.Sig_b_max = 0;
        w.Sig_s_max = 0;
        w.F_s_max = 0;
        w.Wszystko_OK = true;
        w.Beton_OK = true;
        w.Liczba_V = 0;
        w.Polowa_srub = static_cast<Int16>(w.Liczba_srub / 2 + 1);
        w.Kat_srub = Div(kTwoPi, w.Liczba_srub);
        const SectionConstants section = PrepareSection(w);
        w.Nr_przyp = 1;
        largest = Governing{};
        for (std::size_t r = 0; r < loads.size(); ++r) {
            PutRowLoads(w, 1, loads[r]);
            SolveLoadCase(w, section, locale);
            CheckBoltSteel(w, 1);
            CheckConcrete(w, 1);
            if (!DesignPasses(w)) {
                return Outcome::Fails;
            }
            const Governing g = LargestRatio({CaseRatios(w, 1)});
            if (largest.index == 0 || g.max > largest.max) {
                largest = {g.max, g.check, static_cast<int>(r) + 1};
            }
        }
    } catch (const CalcError&) {
        return Outcome::Fails;  // the command would stop: no result is no pass
    } catch (const CalcStop&) {
        return Outcome::Fails;
    }
    return DesignPasses(w) ? Outcome::Passes : Outcome::Fails;
}

// The same with the PN-EN checks: the layout's effective ring and parameters once, then every
// load solved on that ring and checked; a layout whose PN-EN inputs do not fit it (a head not
// wider than the bolt) is refused.
Outcome CalculateLayoutEn(DesignCase& w, const std::vector<RowLoads>& loads, Governing& largest,
                          std::string_view& governing) {
    if (en::InputProblem(w)) {
        return Outcome::Refused;
    }
    try {
        const en::Parameters p = en::ParametersOf(w);
        DesignCase e = OnEffectiveRing(w, p.r_i, p.r_o, en::StiffnessRatio(w, p));
        const SectionConstants section = PrepareSection(e);
        e.Nr_przyp = 1;
        largest = Governing{};
        for (std::size_t r = 0; r < loads.size(); ++r) {
            PutRowLoads(e, 1, loads[r]);
            SolveSection(e, section);
            for (const CheckResult& c : en::CaseChecks(e, 1, p)) {
                if (!c.Passes()) {
                    return Outcome::Fails;
                }
                if (largest.index == 0 || c.utilisation > largest.max) {
                    largest = {c.utilisation, Check::Bolt, static_cast<int>(r) + 1};
                    governing = c.check;
                }
            }
        }
    } catch (const CalcError&) {
        return Outcome::Fails;
    } catch (const CalcStop&) {
        return Outcome::Fails;
    }
    return Outcome::Passes;
}

}  // namespace

std::variant<DesignSearch, Stop> SearchBoltLayouts(const InputFields& fields, const DesignCase& s,
                                                   const QLocale& locale,
                                                   const std::vector<RowLoads>& rows) {
    DesignCase w = s;
    if (const std::optional<Stop> stop = Calculate(fields, w, locale)) {
        // The entered layout may be one the command refuses (spacing, grade, no equilibrium):
        // the search replaces it, so only a stop that remains with another layout counts.
        InputFields other = fields;
        other.Text12 = QStringLiteral("4");
        other.cmbFi = 0;
        w = s;
        if (Calculate(other, w, locale)) {
            return *stop;
        }
    }
    std::vector<RowLoads> loads = rows;
    if (loads.empty()) {
        for (int i = 1; i <= w.Liczba_przyp; ++i) {
            loads.push_back({w.N_kN[i], w.M_kNm[i], w.V_kN[i]});
        }
    }
    const std::vector<Diameter> diameters = AllowedDiameters(w);
    DesignSearch out;
    for (int count = kFewestSearchedBolts; count <= kMaxBolts; ++count) {
        for (const Diameter& d : diameters) {
            Governing largest;
            std::string_view enCheck;
            Outcome o = CalculateLayout(w, count, d, loads, locale, largest);
            if (o != Outcome::Refused && UsesEurocode(w)) {
                // The layout as the calculation left it, judged by the PN-EN checks instead.
                o = CalculateLayoutEn(w, loads, largest, enCheck);
            }
            if (o == Outcome::Refused) {
                continue;
            }
            ++out.checked;
            if (o == Outcome::Passes) {
                out.best.push_back({count, d.index, d.d, count * d.As, largest, enCheck});
                break;
            }
        }
    }
    std::stable_sort(out.best.begin(), out.best.end(),
                     [](const BoltLayout& a, const BoltLayout& b) {
                         if (a.As_total_cm2 != b.As_total_cm2) {
                             return a.As_total_cm2 < b.As_total_cm2;
                         }
                         return a.Liczba_srub < b.Liczba_srub;
                     });
    return out;
}

}  // namespace vardel

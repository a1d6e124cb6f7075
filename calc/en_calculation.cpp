#include "calc/en_calculation.h"

#include "calc/calculate.h"
#include "calc/solver.h"
#include "codes/en/checks.h"

namespace vardel {

DesignCase OnEffectiveRing(const DesignCase& s, double r_i, double r_o, double n) {
    DesignCase w = s;
    DeriveRingSection(w, r_o / 10.0, r_i / 10.0);
    w.Es_Eb = n;
    w.Sig_b_max = 0;
    w.Sig_s_max = 0;
    w.F_s_max = 0;
    return w;
}

std::optional<Stop> CalculateEurocode(DesignCase& s) {
    EurocodeResults& r = s.Wyniki_EN;
    r = EurocodeResults{};
    if (const std::optional<QString> problem = en::InputProblem(s)) {
        return Stop{ProgramTitle(), *problem, StopIcon::Exclamation, 0};
    }
    const en::Parameters p = en::ParametersOf(s);
    try {
        DesignCase w = OnEffectiveRing(s, p.r_i, p.r_o, en::StiffnessRatio(s, p));
        const SectionConstants section = PrepareSection(w);
        for (int i = 1; i <= s.Liczba_przyp && i <= kMaxCases; ++i) {
            w.Nr_przyp = static_cast<Int16>(i);
            SolveSection(w, section);
            r.checks[i] = en::CaseChecks(w, i, p, &r.N_Rk_c_kN[i]);
            for (std::size_t k = 0; k < r.checks[i].size(); ++k) {
                const double u = r.checks[i][k].utilisation;
                if (r.governingCase == 0 || u > r.maxUtilisation) {
                    r.governingCase = i;
                    r.governingCheck = static_cast<int>(k);
                    r.maxUtilisation = u;
                }
                r.passes = r.passes && r.checks[i][k].Passes();
            }
        }
    } catch (const CalcError& e) {
        r = EurocodeResults{};
        return TrappedErrorStop(e.number(), QLocale::c());
    } catch (const CalcStop& e) {
        r = EurocodeResults{};
        return e.stop();
    }
    r.f_jd = p.f_jd;
    r.alpha = p.alpha;
    r.c = p.c;
    r.r_i = p.r_i;
    r.r_o = p.r_o;
    r.valid = true;
    return std::nullopt;
}

}  // namespace vardel

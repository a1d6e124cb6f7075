#include "calc/en_calculation.h"

#include "calc/calculate.h"
#include "calc/solver.h"
#include "codes/en/checks.h"

#include <algorithm>

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

DesignCase EurocodeMechanics(const DesignCase& calculated, const en::Parameters& p) {
    return OnEffectiveRing(calculated, p.r_i, p.r_o, en::StiffnessRatio(calculated, p));
}

std::optional<Stop> CalculateEurocode(DesignCase& s) {
    EurocodeResults& r = s.Wyniki_EN;
    r = EurocodeResults{};
    if (const std::optional<QString> problem = en::InputProblem(s)) {
        return Stop{ProgramTitle(), *problem, StopIcon::Exclamation, 0};
    }
    const en::Parameters p = en::ParametersOf(s);
    try {
        DesignCase w = EurocodeMechanics(s, p);
        const SectionConstants section = PrepareSection(w);
        for (int i = 1; i <= s.Liczba_przyp && i <= kMaxCases; ++i) {
            w.Nr_przyp = static_cast<Int16>(i);
            SolveSection(w, section);
            r.checks[i] = en::CaseChecks(w, i, p, &r.N_Rk_c_kN[i]);
            for (const CheckResult& c : r.checks[i]) {
                r.passes = r.passes && c.Passes();
            }
        }
        const int cases = std::clamp<int>(s.Liczba_przyp, 0, kMaxCases);
        const EurocodeGoverning g =
            LargestEurocodeRatio(std::span(r.checks).subspan(1, static_cast<std::size_t>(cases)));
        r.governingCase = g.index;
        r.governingCheck = g.check;
        r.maxUtilisation = g.utilisation;
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

std::variant<std::vector<std::vector<CheckResult>>, Stop> CalculateEurocodeRows(
    const DesignCase& calculated, const std::vector<RowLoads>& rows) {
    const en::Parameters p = en::ParametersOf(calculated);
    std::vector<std::vector<CheckResult>> out;
    out.reserve(rows.size());
    DesignCase w = EurocodeMechanics(calculated, p);
    const SectionConstants section = PrepareSection(w);
    w.Nr_przyp = 1;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        PutRowLoads(w, 1, rows[r]);
        try {
            SolveSection(w, section);
        } catch (const CalcError& e) {
            return TrappedErrorStop(e.number(), QLocale::c());
        } catch (const CalcStop&) {
            return NoEquilibriumStop(static_cast<int>(r) + 1);
        }
        out.push_back(en::CaseChecks(w, 1, p));
    }
    return out;
}

EurocodeGoverning LargestEurocodeRatio(std::span<const std::vector<CheckResult>> cases) {
    EurocodeGoverning g;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        for (std::size_t k = 0; k < cases[i].size(); ++k) {
            const double u = cases[i][k].utilisation;
            if (g.index == 0 || u > g.utilisation) {
                g = {static_cast<int>(i) + 1, static_cast<int>(k), u};
            }
        }
    }
    return g;
}

std::vector<int> GoverningEurocodeRows(const std::vector<std::vector<CheckResult>>& rows,
                                       int limit) {
    // For each check name, its largest ratio and the first row that reaches it.
    struct Top {
        std::string_view check;
        double ratio = 0;
        int row = 0;
    };
    std::vector<Top> tops;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (const CheckResult& c : rows[r]) {
            auto it = std::find_if(tops.begin(), tops.end(),
                                   [&](const Top& t) { return t.check == c.check; });
            if (it == tops.end()) {
                tops.push_back({c.check, 0, 0});
                it = tops.end() - 1;
            }
            if (c.utilisation > it->ratio) {
                *it = {c.check, c.utilisation, static_cast<int>(r) + 1};
            }
        }
    }
    std::stable_sort(tops.begin(), tops.end(),
                     [](const Top& a, const Top& b) { return a.ratio > b.ratio; });
    std::vector<int> out;
    for (const Top& t : tops) {
        if (t.row != 0 && static_cast<int>(out.size()) < limit &&
            std::find(out.begin(), out.end(), t.row) == out.end()) {
            out.push_back(t.row);
        }
    }
    if (out.empty() && !rows.empty()) {
        out.push_back(1);
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace vardel

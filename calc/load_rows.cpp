#include "calc/load_rows.h"

#include "calc/calculate.h"
#include "calc/en_calculation.h"
#include "calc/solver.h"

#include <algorithm>

namespace vardel {

void PutRowLoads(DesignCase& s, int i, const RowLoads& row) {
    s.N_kN[i] = row.N_kN;
    s.M_kNm[i] = row.M_kNm;
    s.V_kN[i] = row.V_kN;
    LoadsInKg(s, i);
}

std::variant<std::vector<RowResult>, Stop> CalculateRows(const DesignCase& calculated,
                                                         const std::vector<RowLoads>& rows,
                                                         const QLocale& locale) {
    // One scratch copy, each row in its first case: a case's solution reads nothing of the
    // other cases, so the slot does not matter.
    DesignCase w = calculated;
    w.Liczba_przyp = 1;
    w.Nr_przyp = 1;
    const SectionConstants section = PrepareSection(w);
    std::vector<RowResult> out;
    out.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        PutRowLoads(w, 1, rows[r]);
        try {
            SolveLoadCase(w, section, locale);
        } catch (const CalcError& e) {
            Stop stop = TrappedErrorStop(e.number(), locale);
            stop.message = QStringLiteral("Wiersz %1: ").arg(row) + stop.message;
            return stop;
        } catch (const CalcStop&) {
            return NoEquilibriumStop(row);
        }
        RowResult res;
        res.regime = w.Docisk_blachy[1];
        res.e_cm = w.e_cm[1];
        res.a_cm = w.a_cm[1];
        res.Sig_s = w.Sig_s[1];
        res.Sig_b = w.Sig_b[1];
        for (int j = 1; j <= w.Liczba_srub; ++j) {
            res.Sig_sr.push_back(w.Sig_sr[j][1]);
        }
        res.Wynik_V_nr = w.Wynik_V_nr[1];
        res.Wynik_V_u = w.Wynik_V_u[1];
        res.utilisation = CaseRatios(w, 1);
        out.push_back(std::move(res));
    }
    return out;
}

int GoverningRow(const std::vector<CaseUtilisation>& rows, Check check) {
    int best = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (rows[k].Of(check) > 0 && (best == 0 || rows[k].Of(check) > rows[best - 1].Of(check))) {
            best = static_cast<int>(k) + 1;
        }
    }
    return best;
}

std::variant<TableResults, Stop> CalculateTable(InputFields fields, const DesignCase& s,
                                                const std::vector<RowLoads>& rows,
                                                const QLocale& locale) {
    // The ring, the bolts and the materials through the command itself, on one case without load.
    DesignCase design = s;
    design.Liczba_przyp = 1;
    for (int k = 0; k < kMaxCases; ++k) {
        fields.Text6[k] = fields.Text7[k] = fields.Text5[k] = QStringLiteral("0");
    }
    if (std::optional<Stop> stop = Calculate(fields, design, locale)) {
        return *stop;
    }
    auto calculated = CalculateRows(design, rows, locale);
    if (Stop* stop = std::get_if<Stop>(&calculated)) {
        return *stop;
    }
    TableResults out;
    out.rows = std::move(std::get<std::vector<RowResult>>(calculated));
    if (design.Wyniki_EN.valid) {
        auto judged = CalculateEurocodeRows(design, rows);
        if (Stop* stop = std::get_if<Stop>(&judged)) {
            return *stop;
        }
        out.enRows = std::move(std::get<std::vector<std::vector<CheckResult>>>(judged));
    }
    if (out.rows.size() <= static_cast<std::size_t>(kMaxCases)) {
        for (std::size_t k = 1; k <= out.rows.size(); ++k) {
            out.stateRows.push_back(static_cast<int>(k));
        }
    } else if (!out.enRows.empty()) {
        out.stateRows = GoverningEurocodeRows(out.enRows);
    } else {
        std::vector<CaseUtilisation> ratios;
        for (const RowResult& r : out.rows) {
            ratios.push_back(r.utilisation);
        }
        out.stateRows = GoverningRows(ratios);
    }
    return out;
}

std::vector<int> GoverningRows(const std::vector<CaseUtilisation>& rows, int limit) {
    std::vector<int> picked;
    for (const Check c : kChecks) {
        const int best = GoverningRow(rows, c);
        if (best != 0 && std::find(picked.begin(), picked.end(), best) == picked.end() &&
            static_cast<int>(picked.size()) < limit) {
            picked.push_back(best);
        }
    }
    if (picked.empty() && !rows.empty()) {
        picked.push_back(1);
    }
    std::sort(picked.begin(), picked.end());
    return picked;
}

}  // namespace vardel

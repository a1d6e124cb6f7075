#include "report/eurocode_report.h"

#include "codes/en/checks.h"
#include "state/numbers.h"

#include <array>
#include <utility>

namespace vardel {
namespace {

// Each check's language line and the unit its values are printed in.
struct CheckLine {
    std::string_view check;
    int line;
    const char* unit;
};
constexpr std::array<CheckLine, 10> kLines{{{"bearing", 2, " MPa"},
                                            {"anchor_steel", 3, " kN"},
                                            {"cone", 4, " kN"},
                                            {"pullout", 5, " kN"},
                                            {"anchorage", 6, " mm"},
                                            {"shear", 7, " kN"},
                                            {"pryout", 8, " kN"},
                                            {"tension_shear_steel", 9, ""},
                                            {"tension_shear_concrete", 10, ""},
                                            {"plate", 11, " kN"}}};

const CheckLine* LineOf(std::string_view check) {
    for (const CheckLine& l : kLines) {
        if (l.check == check) {
            return &l;
        }
    }
    return nullptr;
}

QString Latin(std::string_view v) {
    return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
}

}  // namespace

QString CheckTitle(const DesignCase& s, std::string_view check) {
    const CheckLine* l = LineOf(check);
    return l ? s.Teksty_EN[l->line] : Latin(check);
}

EurocodeReport ComposeEurocodeReport(const DesignCase& s, const QLocale& locale) {
    EurocodeReport out;
    const EurocodeResults& r = s.Wyniki_EN;
    if (!r.valid) {
        return out;
    }
    const en::Parameters p = en::ParametersOf(s);
    const en::PartialFactors& g = p.factors;
    const auto num = [&](double v, const char16_t* pattern) { return Format(v, pattern, locale); };
    out.design << s.Teksty_EN[1];
    // Short lines: the page is narrow for a line of every value.
    out.design << s.Teksty_EN[15] + QStringLiteral("r_i = ") + num(r.r_i, u"###0.0") +
                      QStringLiteral(" mm, r_o = ") + num(r.r_o, u"###0.0") +
                      QStringLiteral(" mm, c = ") + num(r.c, u"##0.0") + QStringLiteral(" mm");
    out.design << QStringLiteral("f_jd = ") + num(r.f_jd, u"##0.00") +
                      QStringLiteral(" MPa, α = ") + num(r.alpha, u"0.00") + QStringLiteral(", ") +
                      Latin(p.concrete) + QStringLiteral(", t_p = ") + num(p.t_p, u"##0") +
                      QStringLiteral(" mm ") + Latin(en::PlateSteelName(s.Eurokod.Stal_blachy)) +
                      QStringLiteral(", ") + Latin(p.anchorSteel) +
                      (p.anchorSteelEquivalent.empty()
                           ? QString()
                           : QStringLiteral(" ≈ ") + Latin(p.anchorSteelEquivalent));
    out.design << s.Teksty_EN[14] + Latin(g.name);
    out.design << QStringLiteral("γc = ") + num(g.gamma_c, u"0.00") + QStringLiteral(", γM0 = ") +
                      num(g.gamma_M0, u"0.00") + QStringLiteral(", γM2 = ") +
                      num(g.gamma_M2, u"0.00") + QStringLiteral(", γMs = ") +
                      num(p.gamma_Ms, u"0.00") + QStringLiteral(", γMc = ") +
                      num(p.gamma_Mc, u"0.00") + QStringLiteral(", αcc = ") +
                      num(g.alpha_cc, u"0.00") + QStringLiteral(", C_f,d = ") +
                      num(g.C_fd, u"0.00");
    out.design << s.Teksty_EN[16];
    if (r.governingCase > 0) {
        const CheckResult& c = r.checks[r.governingCase][r.governingCheck];
        out.design << s.Teksty_EN[13] + QString::number(r.governingCase) + QStringLiteral(", ") +
                          CheckTitle(s, c.check) + QStringLiteral(", ") + s.Teksty_EN[12] +
                          num(c.utilisation, u"0.00");
    }
    for (int i = 1; i <= s.Liczba_przyp && i <= kMaxCases; ++i) {
        for (const CheckResult& c : r.checks[i]) {
            const CheckLine* l = LineOf(c.check);
            const QString unit = QString::fromLatin1(l ? l->unit : "");
            // Forces and lengths to a tenth, the interaction sums (no unit) to a hundredth.
            const char16_t* pattern = unit.isEmpty() ? u"0.00" : u"#####0.0";
            out.cases[i] << CheckTitle(s, c.check) + QStringLiteral(": ") + num(c.Ed, pattern) +
                                QStringLiteral(" / ") + num(c.Rd, pattern) + unit +
                                QStringLiteral(", ") + s.Teksty_EN[12] +
                                num(c.utilisation, u"0.00") +
                                (c.Passes() ? QStringLiteral("  ") : QStringLiteral(" !!  ")) +
                                QStringLiteral("(") + Latin(c.clause) + QStringLiteral(")");
        }
    }
    return out;
}

}  // namespace vardel

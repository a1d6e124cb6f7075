#include "cli/eurocode_cli.h"

#include "cli/cli_option.h"
#include "codes/en/checks.h"
#include "codes/en/rules.h"

#include <QJsonArray>

#include <cmath>

namespace vardel {
namespace {

// A positive (or, with `zero`, non-negative) number of mm; nothing when the text is not one.
std::optional<float> Millimetres(const QString& text, bool zero) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || v > 1e6 || (zero ? v < 0 : v <= 0)) {
        return std::nullopt;
    }
    return static_cast<float>(v);
}

QString Text(std::string_view v) {
    return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
}

}  // namespace

QList<QCommandLineOption> EurocodeCommandLineOptions() {
    return {
        CliOption("code", "the checks: pnb (PN-B, default the file's) or en (PN-EN)", "pnb|en"),
        CliOption("plate", "PN-EN: plate thickness in mm and steel S235, S275 or S355", "T,STEEL"),
        CliOption("tube", "PN-EN: column tube diameter and wall in mm (0,0: no tube)", "D,TW"),
        CliOption("block", "PN-EN: side and depth of the foundation block in mm (0: the plate's)",
                  "B,H"),
        CliOption("concrete", "PN-EN: concrete class C12/15 ... C50/60", "CLASS"),
        CliOption("cracked", "PN-EN: cracked concrete, yes or no", "yes|no"),
        CliOption("bolt-class",
                  "PN-EN: anchor property class 4.6, 5.6 or 8.8, or steel: the bolt steel grade "
                  "(its PN-EN 10025-2 equivalent)",
                  "CLASS"),
        CliOption("hef", "PN-EN: anchor embedment depth in mm", "MM"),
        CliOption("head", "PN-EN: bearing diameter of the anchor's head in mm (0: a hook)", "MM"),
        CliOption("annex", "PN-EN: partial factors of the Polish annex (pl) or CEN's (cen)",
                  "pl|cen"),
    };
}

QString TakeEurocodeOptions(const QCommandLineParser& parser, EurocodeOptions& o) {
    const auto values = [&](const char* name) { return parser.values(QLatin1String(name)); };
    EurocodeInputs& e = o.inputs;
    for (const QString& v : values("code")) {
        if (v == u"pnb") {
            o.norma = 0;
        } else if (v == u"en") {
            o.norma = kNormaEurocode;
        } else {
            return QStringLiteral("--code takes pnb or en");
        }
    }
    for (const QString& v : values("plate")) {
        const QStringList parts = v.split(u',');
        const std::optional<float> t =
            parts.size() == 2 ? Millimetres(parts[0], false) : std::nullopt;
        int steel = -1;
        for (int k = 0; parts.size() == 2 && k < en::kPlateSteels; ++k) {
            if (parts[1].trimmed().compare(Text(en::PlateSteelName(k)), Qt::CaseInsensitive) == 0) {
                steel = k;
            }
        }
        if (!t || steel < 0) {
            return QStringLiteral(
                "--plate takes the plate's thickness in mm (above 0) and its steel: 20,S235");
        }
        e.t_blachy = *t;
        e.Stal_blachy = static_cast<Int16>(steel);
        o.plate = true;
    }
    const auto pair = [&](const char* name, float& a, float& b, bool& given, const char* help) {
        for (const QString& v : values(name)) {
            const QStringList parts = v.split(u',');
            const std::optional<float> x =
                parts.size() == 2 ? Millimetres(parts[0], true) : std::nullopt;
            const std::optional<float> y =
                parts.size() == 2 ? Millimetres(parts[1], true) : std::nullopt;
            if (!x || !y) {
                return QString::fromLatin1(help);
            }
            a = *x;
            b = *y;
            given = true;
        }
        return QString();
    };
    if (QString why = pair("tube", e.D_rury, e.t_rury, o.tube,
                           "--tube takes the tube's diameter and wall in mm: 273,5 (0,0: none)");
        !why.isEmpty()) {
        return why;
    }
    if (QString why = pair("block", e.B_bloku, e.H_bloku, o.block,
                           "--block takes the block's side and depth in mm: 1200,800");
        !why.isEmpty()) {
        return why;
    }
    for (const QString& v : values("concrete")) {
        int cls = -1;
        for (int k = 0; k < en::kConcreteClasses; ++k) {
            if (v.trimmed().compare(Text(en::ConcreteClassName(k)), Qt::CaseInsensitive) == 0) {
                cls = k;
            }
        }
        if (cls < 0) {
            return QStringLiteral("--concrete takes a class from C12/15 to C50/60: C20/25");
        }
        e.Klasa_C = static_cast<Int16>(cls + 1);
        o.concrete = true;
    }
    for (const QString& v : values("cracked")) {
        if (v != u"yes" && v != u"no") {
            return QStringLiteral("--cracked takes yes or no");
        }
        e.Zarysowany = v == u"yes" ? 1 : 0;
        o.cracked = true;
    }
    for (const QString& v : values("bolt-class")) {
        int cls = v.trimmed() == u"steel" ? kBoltClassGradeSteel : -1;
        for (int k = 0; k < en::kBoltClasses; ++k) {
            if (v.trimmed() == Text(en::BoltClassName(k))) {
                cls = k;
            }
        }
        if (cls < 0) {
            return QStringLiteral("--bolt-class takes 4.6, 5.6, 8.8 or steel");
        }
        e.Klasa_sruby = static_cast<Int16>(cls);
        o.boltClass = true;
    }
    for (const QString& v : values("hef")) {
        const std::optional<float> h = Millimetres(v, false);
        if (!h) {
            return QStringLiteral("--hef takes the embedment depth in mm, above 0");
        }
        e.h_ef = *h;
        o.hef = true;
    }
    for (const QString& v : values("head")) {
        const std::optional<float> d = Millimetres(v, true);
        if (!d) {
            return QStringLiteral("--head takes the head's bearing diameter in mm (0: a hook)");
        }
        e.d_glowy = *d;
        o.head = true;
    }
    for (const QString& v : values("annex")) {
        if (v != u"pl" && v != u"cen") {
            return QStringLiteral("--annex takes pl or cen");
        }
        e.Zalacznik = v == u"cen" ? 1 : 0;
        o.annex = true;
    }
    return {};
}

void ApplyEurocodeOptions(const EurocodeOptions& o, DesignCase& s) {
    if (o.norma) {
        s.Norma = *o.norma;
    }
    EurocodeInputs& e = s.Eurokod;
    const EurocodeInputs& g = o.inputs;
    if (o.plate) {
        e.t_blachy = g.t_blachy;
        e.Stal_blachy = g.Stal_blachy;
    }
    if (o.tube) {
        e.D_rury = g.D_rury;
        e.t_rury = g.t_rury;
    }
    if (o.block) {
        e.B_bloku = g.B_bloku;
        e.H_bloku = g.H_bloku;
    }
    if (o.concrete) {
        e.Klasa_C = g.Klasa_C;
    }
    if (o.cracked) {
        e.Zarysowany = g.Zarysowany;
    }
    if (o.boltClass) {
        e.Klasa_sruby = g.Klasa_sruby;
    }
    if (o.hef) {
        e.h_ef = g.h_ef;
    }
    if (o.head) {
        e.d_glowy = g.d_glowy;
    }
    if (o.annex) {
        e.Zalacznik = g.Zalacznik;
    }
}

QString EurocodeRefusal(const DesignCase& s, const std::optional<Stop>& stop) {
    if (!stop || !UsesEurocode(s)) {
        return {};
    }
    const std::optional<QString> problem = en::InputProblem(s);
    return problem && *problem == stop->message ? *problem : QString();
}

QJsonObject EurocodeJson(const DesignCase& s) {
    const EurocodeResults& r = s.Wyniki_EN;
    const en::Parameters p = en::ParametersOf(s);
    const en::PartialFactors& g = p.factors;
    QJsonObject o;
    o[QStringLiteral("f_jd_MPa")] = r.f_jd;
    o[QStringLiteral("alpha")] = r.alpha;
    o[QStringLiteral("c_mm")] = r.c;
    o[QStringLiteral("r_eff_mm")] = QJsonArray{r.r_i, r.r_o};
    o[QStringLiteral("concrete")] = Text(p.concrete);
    o[QStringLiteral("bolt_steel")] =
        QJsonObject{{QStringLiteral("steel"), Text(p.anchorSteel)},
                    {QStringLiteral("equivalent"), p.anchorSteelEquivalent.empty()
                                                       ? QJsonValue()
                                                       : QJsonValue(Text(p.anchorSteelEquivalent))},
                    {QStringLiteral("f_yb_MPa"), p.f_yb},
                    {QStringLiteral("f_ub_MPa"), p.f_ub}};
    o[QStringLiteral("factors")] = QJsonObject{
        {QStringLiteral("set"), Text(g.name)},        {QStringLiteral("gamma_c"), g.gamma_c},
        {QStringLiteral("gamma_M0"), g.gamma_M0},     {QStringLiteral("gamma_M2"), g.gamma_M2},
        {QStringLiteral("gamma_Ms"), p.gamma_Ms},     {QStringLiteral("gamma_Mc"), p.gamma_Mc},
        {QStringLiteral("gamma_inst"), g.gamma_inst}, {QStringLiteral("alpha_cc"), g.alpha_cc},
        {QStringLiteral("beta_j"), p.beta_j},         {QStringLiteral("C_f_d"), g.C_fd},
    };
    QJsonArray cases;
    for (int i = 1; i <= s.Liczba_przyp && i <= kMaxCases; ++i) {
        QJsonArray checks;
        for (const CheckResult& c : r.checks[i]) {
            checks.append(QJsonObject{{QStringLiteral("check"), Text(c.check)},
                                      {QStringLiteral("clause"), Text(c.clause)},
                                      {QStringLiteral("Ed"), c.Ed},
                                      {QStringLiteral("Rd"), c.Rd},
                                      {QStringLiteral("utilisation"), c.utilisation}});
        }
        cases.append(QJsonObject{{QStringLiteral("case"), i},
                                 {QStringLiteral("N_Rk_c_kN"), r.N_Rk_c_kN[i]},
                                 {QStringLiteral("checks"), checks}});
    }
    o[QStringLiteral("cases")] = cases;
    if (r.governingCase > 0) {
        const CheckResult& c = r.checks[r.governingCase][r.governingCheck];
        o[QStringLiteral("governing")] =
            QJsonObject{{QStringLiteral("case"), r.governingCase},
                        {QStringLiteral("check"), Text(c.check)},
                        {QStringLiteral("clause"), Text(c.clause)},
                        {QStringLiteral("utilisation"), c.utilisation}};
    } else {
        o[QStringLiteral("governing")] = QJsonValue();
    }
    o[QStringLiteral("passes")] = r.passes;
    return o;
}

void EurocodeSummary(const DesignCase& s, QTextStream& out) {
    const EurocodeResults& r = s.Wyniki_EN;
    const QLocale c = QLocale::c();
    out << "PN-EN: f_jd " << c.toString(r.f_jd, 'f', 2) << " MPa, alpha "
        << c.toString(r.alpha, 'f', 2) << ", c " << c.toString(r.c, 'f', 1)
        << " mm, effective ring " << c.toString(r.r_i, 'f', 1) << " .. "
        << c.toString(r.r_o, 'f', 1) << " mm\n";
    for (int i = 1; i <= s.Liczba_przyp && i <= kMaxCases; ++i) {
        out << "PN-EN case " << i << ":";
        for (const CheckResult& k : r.checks[i]) {
            out << " " << Text(k.check) << " " << c.toString(k.utilisation, 'f', 3);
        }
        out << "\n";
    }
    if (r.governingCase > 0) {
        const CheckResult& k = r.checks[r.governingCase][r.governingCheck];
        out << "PN-EN governing: case " << r.governingCase << ", " << Text(k.check) << " ("
            << Text(k.clause) << "), " << c.toString(k.utilisation, 'f', 3) << "\n";
    }
    out << "PN-EN verdict: " << (r.passes ? "OK" : "exceeded") << "\n";
}

}  // namespace vardel

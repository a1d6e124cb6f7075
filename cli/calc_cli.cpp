#include "cli/calc_cli.h"

#include "calc/calculate.h"
#include "calc/solver.h"
#include "cli/sizing_cli.h"
#include "export/text_export.h"
#include "lumdruk/job.h"
#include "lumdruk/render.h"
#include "print/page_files.h"
#include "report/compose.h"
#include "report/header.h"
#include "report/report_lines.h"
#include "sketches/ring_sketches.h"
#include "texts/language.h"
#include "texts/settings_file.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <optional>
#include <utility>
#include <variant>

namespace vardel {
namespace {

const char kUsage[] =
    "usage: vardel-calc [--cases N] [--foundation plain|reinforced] [--lang pl|p2|gb|fr|ge]\n"
    "                   [--json] [--txt FILE] [--pdf FILE] [--emf FILE] [--dir DIR]\n"
    "                   [--designation TEXT] [--date \"YYYY-MM-DD hh:mm\"]\n"
    "                   [--design] [--loads FILE]\n"
    "                   SETTINGS_FILE\n";

const QStringList kLanguages = {QStringLiteral("pl"), QStringLiteral("p2"), QStringLiteral("gb"),
                                QStringLiteral("fr"), QStringLiteral("ge")};

struct Options {
    int cases = 1;
    int foundation = 1;  // reinforced
    int language = -1;   // -1: the settings file's
    bool json = false;
    QString txtFile;
    QString pdfFile;
    QString emfFile;
    QString dir;  // the program directory; empty: the executable's
    QString designation;
    QDateTime date;  // invalid: the real clock
    QString settingsFile;
    SizingOptions sizing;
};

// The parsed command line, or the reason it is wrong.
std::variant<Options, QString> Parse(const QStringList& args) {
    Options o;
    for (int k = 0; k < args.size(); ++k) {
        const QString& a = args[k];
        auto value = [&]() -> std::optional<QString> {
            if (k + 1 >= args.size()) {
                return std::nullopt;
            }
            return args[++k];
        };
        if (const auto sizing = ParseSizingOption(a, value, o.sizing)) {
            if (!sizing->isEmpty()) {
                return *sizing;
            }
        } else if (a == u"--json") {
            o.json = true;
        } else if (a == u"--cases") {
            const auto v = value();
            bool ok = false;
            const int n = v ? v->toInt(&ok) : 0;
            if (!ok || n < 1 || n > kMaxCases) {
                return QStringLiteral("--cases takes a number of load cases from 1 to 6");
            }
            o.cases = n;
        } else if (a == u"--foundation") {
            const auto v = value();
            if (v == u"plain") {
                o.foundation = 0;
            } else if (v == u"reinforced") {
                o.foundation = 1;
            } else {
                return QStringLiteral("--foundation takes plain or reinforced");
            }
        } else if (a == u"--lang") {
            const auto v = value();
            o.language = v ? static_cast<int>(kLanguages.indexOf(*v)) : -1;
            if (o.language < 0) {
                return QStringLiteral("--lang takes pl, p2, gb, fr or ge");
            }
        } else if (a == u"--txt" || a == u"--pdf" || a == u"--emf" || a == u"--dir" ||
                   a == u"--designation") {
            const auto v = value();
            if (!v || v->isEmpty()) {
                return QStringLiteral("%1 needs a value").arg(a);
            }
            QString& target = a == u"--txt"   ? o.txtFile
                              : a == u"--pdf" ? o.pdfFile
                              : a == u"--emf" ? o.emfFile
                              : a == u"--dir" ? o.dir
                                              : o.designation;
            target = *v;
        } else if (a == u"--date") {
            const auto v = value();
            o.date =
                v ? QDateTime::fromString(*v, QStringLiteral("yyyy-MM-dd hh:mm")) : QDateTime();
            if (!o.date.isValid()) {
                return QStringLiteral("--date takes \"YYYY-MM-DD hh:mm\"");
            }
        } else if (a.startsWith(u"--")) {
            return QStringLiteral("unknown option %1").arg(a);
        } else if (o.settingsFile.isEmpty()) {
            o.settingsFile = a;
        } else {
            return QStringLiteral("only one settings file, please");
        }
    }
    if (o.settingsFile.isEmpty()) {
        return QStringLiteral("no settings file given");
    }
    return o;
}

QString RegimeName(Bearing b) {
    switch (b) {
        case Bearing::Whole:
            return QStringLiteral("whole");
        case Bearing::Partly:
            return QStringLiteral("partly");
        case Bearing::Lifted:
            return QStringLiteral("lifted");
    }
    return {};
}

QJsonValue Number(double v) {
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

QJsonObject Results(const DesignCase& s, const std::optional<Stop>& stop, const ReportLines& lines,
                    const ReportVerdict& verdict) {
    QJsonObject o;
    o[QStringLiteral("stopped")] = stop.has_value();
    if (stop) {
        o[QStringLiteral("stop")] = QJsonObject{{QStringLiteral("title"), stop->title},
                                                {QStringLiteral("message"), stop->message}};
    } else {
        o[QStringLiteral("stop")] = QJsonValue();
    }
    o[QStringLiteral("r_rdzenia")] = Number(s.r_rdzenia);
    o[QStringLiteral("A_pierscienia")] = Number(s.A_pierscienia);
    o[QStringLiteral("W_pierscienia")] = Number(s.W_pierscienia);
    o[QStringLiteral("Rozstaw")] = Number(s.Rozstaw);
    o[QStringLiteral("As_sruby")] = Number(s.As_sruby);
    o[QStringLiteral("Es_Eb")] = Number(s.Es_Eb);
    o[QStringLiteral("Eb")] = Number(s.Eb);
    o[QStringLiteral("fd_stali")] = Number(s.fd_stali);
    o[QStringLiteral("ft_sruby")] = Number(s.ft_sruby);
    o[QStringLiteral("fv_sruby")] = Number(s.fv_sruby);
    o[QStringLiteral("fcd_betonu")] = Number(s.fcd_betonu);
    o[QStringLiteral("Liczba_V")] = s.Liczba_V;
    o[QStringLiteral("Wszystko_OK")] = s.Wszystko_OK;
    o[QStringLiteral("Beton_OK")] = s.Beton_OK;
    o[QStringLiteral("verdict")] = stop ? QJsonValue() : QJsonValue(verdict.text);
    o[QStringLiteral("Sig_b_max")] = Number(s.Sig_b_max);
    o[QStringLiteral("Sig_s_max")] = Number(s.Sig_s_max);
    o[QStringLiteral("F_s_max")] = Number(s.F_s_max);
    QJsonArray cases;
    if (!stop) {
        for (int i = 1; i <= s.Liczba_przyp; ++i) {
            QJsonObject c;
            const bool partly = IsPartlyCompressed(s, i);
            c[QStringLiteral("Nr_przyp")] = i;
            c[QStringLiteral("N_kG")] = Number(s.N_kG[i]);
            c[QStringLiteral("M_kGm")] = Number(s.M_kGm[i]);
            c[QStringLiteral("V_kG")] = Number(s.V_kG[i]);
            c[QStringLiteral("e_cm")] = Number(s.e_cm[i]);
            c[QStringLiteral("partly_compressed")] = partly;
            c[QStringLiteral("regime")] = RegimeName(s.Docisk_blachy[i]);
            c[QStringLiteral("a_cm")] = partly ? Number(s.a_cm[i]) : QJsonValue();
            c[QStringLiteral("Sig_s")] = Number(s.Sig_s[i]);
            c[QStringLiteral("Sig_b")] = Number(s.Sig_b[i]);
            QJsonArray bolts;
            for (int j = 1; j <= s.Liczba_srub && j <= kMaxBolts; ++j) {
                bolts.append(Number(s.Sig_sr[j][i]));
            }
            c[QStringLiteral("Sig_sr")] = bolts;
            c[QStringLiteral("Wynik_V_line")] =
                s.Wynik_V_nr[i] != 0 ? QJsonValue(s.Wynik_V_nr[i]) : QJsonValue();
            c[QStringLiteral("u")] = s.Wynik_V_u[i] ? Number(*s.Wynik_V_u[i]) : QJsonValue();
            c[QStringLiteral("Wynik_V")] = s.Wynik_V[i];
            // ω_u is set only for a concrete stress between once and twice its strength, which
            // is exactly when the case carries the note.
            const bool noted = lines.Uwaga_betonu[i] != QStringLiteral(" ");
            c[QStringLiteral("Omega_u")] = noted ? Number(s.Omega_u[i]) : QJsonValue();
            cases.append(c);
        }
    }
    o[QStringLiteral("cases")] = cases;
    return o;
}

const char* RegimeDescription(Bearing b) {
    switch (b) {
        case Bearing::Whole:
            return "whole section compressed";
        case Bearing::Partly:
            return "partly compressed";
        case Bearing::Lifted:
            return "plate lifted, bolts alone";
    }
    return "";
}

void Summary(const DesignCase& s, QTextStream& out) {
    const QLocale c = QLocale::c();
    out << "ring: kern radius " << c.toString(s.r_rdzenia, 'f', 3) << " cm, area "
        << c.toString(s.A_pierscienia, 'f', 1) << " cm2, bolt spacing "
        << c.toString(s.Rozstaw, 'f', 1) << " mm\n";
    for (int i = 1; i <= s.Liczba_przyp; ++i) {
        out << "case " << i << ": " << RegimeDescription(s.Docisk_blachy[i]) << ", concrete "
            << c.toString(s.Sig_b[i] / kKgcm2PerMpa, 'f', 2) << " MPa, bolt "
            << c.toString(s.Sig_s[i] / kKgcm2PerMpa, 'f', 2) << " MPa";
        if (IsPartlyCompressed(s, i)) {
            out << ", neutral axis a = " << c.toString(s.a_cm[i] * 10, 'f', 0) << " mm";
        }
        if (!s.Wynik_V[i].isEmpty()) {
            out << ", " << s.Wynik_V[i];
        }
        out << "\n";
    }
    out << "largest: concrete " << c.toString(s.Sig_b_max / kKgcm2PerMpa, 'f', 2) << " MPa, bolt "
        << c.toString(s.Sig_s_max / kKgcm2PerMpa, 'f', 2) << " MPa, bolt force "
        << c.toString(s.F_s_max / kKgPerKn, 'f', 1) << " kN\n";
}

// The report page(s) through the page files and the print program's renderer, as a PDF (every
// page) or an EMF picture (the first page). Empty on success, else what went wrong.
QString WritePage(const DesignCase& s, const ReportLines& lines, const HeaderTexts& header,
                  const QString& dir, const QLocale& locale, const QString& path, bool pdf,
                  QTextStream& err) {
    const QString planError = SavePlanSketch(s, dir);
    if (!planError.isEmpty()) {
        return planError;
    }
    const PrintResult written = WritePageFiles(PageSource{s, lines, header, dir, locale});
    if (!written.ok) {
        return written.message;
    }
    QStringList notes;
    QString error;
    const auto pages = lumdruk::RenderPageFiles(PageFilePath(dir), HeaderPageFilePath(dir),
                                                s.Strona, &notes, &error);
    for (const QString& note : notes) {
        err << "vardel-calc: " << note << "\n";
    }
    if (!pages || pages->empty()) {
        return error;
    }
    const bool ok = pdf ? lumdruk::WritePdf(path, *pages, &error)
                        : lumdruk::WriteEmf(path, pages->front(), &error);
    return ok ? QString() : error;
}

}  // namespace

int RunCalcCli(const QStringList& args, const QString& programDir, QTextStream& out,
               QTextStream& err) {
    const auto parsed = Parse(args);
    if (const QString* why = std::get_if<QString>(&parsed)) {
        err << "vardel-calc: " << *why << "\n" << kUsage;
        return 2;
    }
    const Options& o = std::get<Options>(parsed);
    const QString dir = o.dir.isEmpty() ? programDir : o.dir;
    const bool wantsPage = !o.pdfFile.isEmpty() || !o.emfFile.isEmpty();

    DesignCase s;
    if (const FileResult e = ReadSettings(s, o.settingsFile)) {
        err << "vardel-calc: " << e->message << "\n";
        return 2;
    }
    if (o.language >= 0) {
        s.Jezyk = static_cast<Int16>(o.language);
    }
    if (const FileResult e = LoadLanguageTexts(s, dir)) {
        err << "vardel-calc: " << e->message << "\n";
        return 2;
    }
    CompleteLoadedCase(s);
    s.Liczba_przyp = static_cast<Int16>(o.cases);
    s.Typ_stopy = static_cast<Int16>(o.foundation);

    const QLocale locale = QLocale::system();
    SizingRun sizing(o.sizing);
    QString tableError;
    const std::optional<Stop> stop =
        sizing.Calculate(FieldsFromState(s, locale), s, locale, tableError);
    if (!tableError.isEmpty()) {
        err << "vardel-calc: " << tableError << "\n";
        return 2;
    }
    ReportLines lines;
    ReportVerdict verdict;
    HeaderTexts header;
    if (!stop) {
        QStringList sketchErrors;
        StressSketchHook sketch;
        if (wantsPage) {
            sketch = [&](int k) {
                const QString e = DrawStressSketch(s, dir, k);
                if (!e.isEmpty()) {
                    sketchErrors << e;
                }
            };
        }
        verdict = ComposeReport(s, lines, locale, sketch);
        if (!sketchErrors.isEmpty()) {
            err << "vardel-calc: " << sketchErrors.join(u'\n') << "\n";
            return 2;
        }
        s.Oznaczenie_stopy = o.designation.left(kDesignationMaxLength);
        SetHeaderTexts(s, header, o.date.isValid() ? o.date : QDateTime::currentDateTime(), locale);
    }
    if (o.json) {
        QJsonObject results = Results(s, stop, lines, verdict);
        sizing.AddToJson(results, s);
        out << QJsonDocument(results).toJson(QJsonDocument::Indented);
    } else if (!stop) {
        Summary(s, out);
        sizing.Summary(s, out);
        out << "verdict: " << verdict.text << "\n";
    }
    for (const auto& [path, pdf] : {std::pair{o.pdfFile, true}, std::pair{o.emfFile, false}}) {
        if (!stop && !path.isEmpty()) {
            const QString failure = WritePage(s, lines, header, dir, locale, path, pdf, err);
            if (!failure.isEmpty()) {
                err << "vardel-calc: " << failure << "\n";
                return 2;
            }
        }
    }
    if (!stop && !o.txtFile.isEmpty()) {
        const QString failure = WriteTextExport(o.txtFile, s, lines, header, locale);
        if (!failure.isEmpty()) {
            err << "vardel-calc: " << failure << "\n";
            return 2;
        }
    }
    if (stop) {
        const QString title = stop->title.isEmpty() ? ProgramTitle() : stop->title;
        err << title << ": " << stop->message << "\n";
        return 1;
    }
    return sizing.Finish(err);
}

}  // namespace vardel

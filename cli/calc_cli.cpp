#include "cli/calc_cli.h"

#include "anchors/confirm.h"
#include "calc/calculate.h"
#include "calc/solver.h"
#include "cli/cli_option.h"
#include "cli/eurocode_cli.h"
#include "cli/nm_cli.h"
#include "cli/sizing_cli.h"
#include "export/rtf_export.h"
#include "export/text_export.h"
#include "export/word_export.h"
#include "lumdruk/emf.h"
#include "lumdruk/job.h"
#include "lumdruk/render.h"
#include "print/page_files.h"
#include "print/run_folder.h"
#include "report/compose.h"
#include "report/header.h"
#include "report/report_lines.h"
#include "sketches/ring_sketches.h"
#include "state/file_write.h"
#include "state/numbers.h"
#include "texts/language.h"
#include "texts/settings_file.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include <sys/stat.h>

namespace vardel {
namespace {

const char kUsage[] =
    "usage: vardel-calc [--cases N] [--foundation plain|reinforced] [--lang pl|p2|gb|fr|ge]\n"
    "                   [--json] [--txt FILE] [--rtf FILE] [--rtf-type A|B|0] [--docx FILE]\n"
    "                   [--pdf FILE] [--emf FILE] [--dir DIR]\n"
    "                   [--designation TEXT] [--date \"YYYY-MM-DD hh:mm\"]\n"
    "                   [--thickness T [--anchor hook|plate]] [--design] [--loads FILE]\n"
    "                   [--code pnb|en] [--plate T,STEEL] [--tube D,TW] [--block B,H]\n"
    "                   [--concrete CLASS] [--cracked yes|no] [--bolt-class CLASS] [--hef MM]\n"
    "                   [--head MM] [--annex pl|cen] [--nm FILE]\n"
    "                   SETTINGS_FILE\n"
    "       vardel-calc --help | --version\n";

const char kAbout[] =
    "Calculates the ring base plate of a settings file as the input window's Oblicz does, prints\n"
    "a short summary and the verdict (or the results as JSON) and writes the report's exports.\n"
    "An option's value may follow it or be joined with '=' (--cases=4); a FILE of - is standard\n"
    "output. Exit status: 0 results, 1 the calculation stopped or no bolt layout passes,\n"
    "2 a wrong command line, a file that cannot be read or an output that cannot be written.\n";

const QStringList kLanguages = {QStringLiteral("pl"), QStringLiteral("p2"), QStringLiteral("gb"),
                                QStringLiteral("fr"), QStringLiteral("ge")};

enum class Request { Run, Help, Version };

struct Options {
    Request request = Request::Run;
    int cases = 0;       // 0: the settings file's count
    int foundation = 1;  // reinforced
    int language = -1;   // -1: the settings file's
    bool json = false;
    QString txtFile;
    QString rtfFile;
    int rtfType = -1;  // Tryb_RTF; -1: the settings file's
    QString docxFile;
    QString pdfFile;
    QString emfFile;
    QString dir;  // the program directory; empty: the executable's
    QString designation;
    QDateTime date;                    // invalid: the real clock
    std::optional<Int16> thickness;    // of base plate and grout, mm: the anchors are derived
    std::optional<AnchorKind> anchor;  // the anchor confirmed into the report
    QString settingsFile;
    bool summary = true;  // the short summary, unless an output goes to standard output
    SizingOptions sizing;
    NmOptions nm;
    EurocodeOptions eurocode;
};

// An output path that stands for standard output.
const QString kStdout = QStringLiteral("-");

// Every option with the name of its value (none for a switch) and what it does, as --help lists
// them.
QList<QCommandLineOption> CommandLineOptions() {
    QList<QCommandLineOption> options = {
        QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                           QStringLiteral("show this help and end")),
        CliOption("version", "show the program's version and end"),
        CliOption("cases",
                  "the number of load cases to calculate, 1 to 6 (default: the settings file's)",
                  "N"),
        CliOption("foundation", "plain or reinforced concrete (default reinforced)", "TYPE"),
        CliOption("lang", "the report's language: pl, p2, gb, fr or ge (default the file's)",
                  "LANG"),
        CliOption("json", "print the results as one JSON object instead of the summary"),
        CliOption("txt", "save the report as text", "FILE"),
        CliOption("rtf", "save the report as RTF", "FILE"),
        CliOption("rtf-type", "the RTF load-case section: A, B or 0 (none)", "TYPE"),
        CliOption("docx", "save the report as a Word document", "FILE"),
        CliOption("pdf", "save the report's pages as PDF", "FILE"),
        CliOption("emf", "save the report's first page as EMF", "FILE"),
        CliOption("dir", "the program directory: language files, pictures, page files", "DIR"),
        CliOption("designation", "the base plate's designation in the report", "TEXT"),
        CliOption("date", "the report's date and time instead of the clock's",
                  "\"YYYY-MM-DD hh:mm\""),
        CliOption("thickness", "derive the anchors for T mm of base plate and grout", "T"),
        CliOption("anchor", "confirm the hook or plate anchor into the report", "KIND"),
    };
    options += SizingCommandLineOptions();
    options += NmCommandLineOptions();
    options += EurocodeCommandLineOptions();
    return options;
}

QString HelpText(const QList<QCommandLineOption>& options) {
    QStringList left;
    qsizetype width = 0;
    for (const QCommandLineOption& option : options) {
        QStringList forms;
        for (const QString& name : option.names()) {
            forms << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        }
        left << forms.join(QStringLiteral(", ")) +
                    (option.valueName().isEmpty() ? QString() : u' ' + option.valueName());
        width = std::max(width, left.back().size());
    }
    QString text = QString::fromLatin1(kUsage) + u'\n' + QString::fromLatin1(kAbout) +
                   QStringLiteral("\noptions:\n");
    for (qsizetype k = 0; k < options.size(); ++k) {
        text += QStringLiteral("  %1  %2\n")
                    .arg(left[k], -static_cast<int>(width))
                    .arg(options[k].description());
    }
    return text;
}

// The argument that gave the option `name` as the user typed it, without a value joined to it.
QString AsTyped(const QStringList& args, const QString& name) {
    for (const QString& a : args) {
        if (a == u"--") {
            break;
        }
        const QString typed = a.section(u'=', 0, 0);
        if (typed.startsWith(u'-') &&
            QStringView(typed).mid(typed.startsWith(u"--") ? 2 : 1) == name) {
            return typed;
        }
    }
    return QStringLiteral("--") + name;
}

// Why the parser refused the command line: an unknown option, a switch given a value, or an
// option that ends the command line without its value.
QString ParseError(const QCommandLineParser& parser, const QStringList& args,
                   const QList<QCommandLineOption>& options) {
    if (!parser.unknownOptionNames().isEmpty()) {
        return QStringLiteral("unknown option %1")
            .arg(AsTyped(args, parser.unknownOptionNames().front()));
    }
    for (const QCommandLineOption& option : options) {
        for (const QString& name : option.names()) {
            const QString typed = AsTyped(args, name);
            const bool joined = std::any_of(args.begin(), args.end(), [&](const QString& a) {
                return a.startsWith(typed + u'=');
            });
            if (option.valueName().isEmpty() && joined) {
                return QStringLiteral("%1 takes no value").arg(typed);
            }
            if (!option.valueName().isEmpty() && !args.isEmpty() && args.back() == typed) {
                return QStringLiteral("%1 needs a value").arg(typed);
            }
        }
    }
    return parser.errorText();
}

// Who a file is, whatever the path that names it (./a, an absolute path, a link): the device and
// node of a file that exists, else the real path of its folder with its name.
QString FileIdentity(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        return QStringLiteral("%1:%2").arg(st.st_dev).arg(st.st_ino);
    }
    const QFileInfo f(path);
    const QString folder = f.absoluteDir().canonicalPath();
    return (folder.isEmpty() ? f.absolutePath() : folder) + u'/' + f.fileName();
}

// Two outputs named to one file would leave only the one written last: a wrong command line.
QString SameFileTwice(const Options& o) {
    const std::pair<const char*, const QString*> outputs[] = {{"--txt", &o.txtFile},
                                                              {"--rtf", &o.rtfFile},
                                                              {"--docx", &o.docxFile},
                                                              {"--pdf", &o.pdfFile},
                                                              {"--emf", &o.emfFile}};
    for (std::size_t i = 0; i < std::size(outputs); ++i) {
        for (std::size_t j = i + 1; j < std::size(outputs); ++j) {
            const QString& a = *outputs[i].second;
            const QString& b = *outputs[j].second;
            if (!a.isEmpty() && !b.isEmpty() && a != kStdout && b != kStdout &&
                FileIdentity(a) == FileIdentity(b)) {
                return QStringLiteral("%1 and %2 name the same file, %3: each output needs its own")
                    .arg(QLatin1String(outputs[i].first), QLatin1String(outputs[j].first), b);
            }
        }
    }
    return {};
}

// The parsed command line, or the reason it is wrong. Every value an option is given is checked;
// the last one counts.
std::variant<Options, QString> Parse(const QStringList& args) {
    const QList<QCommandLineOption> options = CommandLineOptions();
    QCommandLineParser parser;
    // Only -h is short: -json reads as --json rather than as -j -s -o -n.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(options);
    // The parser skips the first argument as the program's name.
    if (!parser.parse(QStringList{QStringLiteral("vardel-calc")} + args)) {
        return ParseError(parser, args, options);
    }
    Options o;
    if (parser.isSet(QStringLiteral("help"))) {
        o.request = Request::Help;
        return o;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        o.request = Request::Version;
        return o;
    }
    const auto values = [&](const char* name) { return parser.values(QLatin1String(name)); };
    if (const QString why = TakeSizingOptions(parser, o.sizing); !why.isEmpty()) {
        return why;
    }
    if (const QString why = TakeNmOptions(parser, o.nm); !why.isEmpty()) {
        return why;
    }
    if (const QString why = TakeEurocodeOptions(parser, o.eurocode); !why.isEmpty()) {
        return why;
    }
    o.json = parser.isSet(QStringLiteral("json"));
    for (const QString& v : values("cases")) {
        bool ok = false;
        o.cases = v.toInt(&ok);
        if (!ok || o.cases < 1 || o.cases > kMaxCases) {
            return QStringLiteral("--cases takes a number of load cases from 1 to 6");
        }
    }
    for (const QString& v : values("foundation")) {
        o.foundation = v == u"plain" ? 0 : v == u"reinforced" ? 1 : -1;
        if (o.foundation < 0) {
            return QStringLiteral("--foundation takes plain or reinforced");
        }
    }
    for (const QString& v : values("lang")) {
        o.language = static_cast<int>(kLanguages.indexOf(v));
        if (o.language < 0) {
            return QStringLiteral("--lang takes pl, p2, gb, fr or ge");
        }
    }
    for (const QString& v : values("rtf-type")) {
        o.rtfType = v == u"A" ? 1 : v == u"B" ? 2 : v == u"0" ? 0 : -1;
        if (o.rtfType < 0) {
            return QStringLiteral("--rtf-type takes A, B or 0");
        }
    }
    for (const auto& [name, target] : {std::pair{"txt", &o.txtFile},
                                       {"rtf", &o.rtfFile},
                                       {"docx", &o.docxFile},
                                       {"pdf", &o.pdfFile},
                                       {"emf", &o.emfFile},
                                       {"dir", &o.dir},
                                       {"designation", &o.designation}}) {
        for (const QString& v : values(name)) {
            if (v.isEmpty()) {
                return QStringLiteral("--%1 needs a value").arg(QLatin1String(name));
            }
            *target = v;
        }
    }
    for (const QString& v : values("date")) {
        o.date = QDateTime::fromString(v, QStringLiteral("yyyy-MM-dd hh:mm"));
        if (!o.date.isValid()) {
            return QStringLiteral("--date takes \"YYYY-MM-DD hh:mm\"");
        }
    }
    for (const QString& v : values("thickness")) {
        bool ok = false;
        const int t = v.toInt(&ok);
        if (!ok || t < 0 || t > 32767) {
            return QStringLiteral("--thickness takes a whole number of mm from 0 to 32767");
        }
        o.thickness = static_cast<Int16>(t);
    }
    for (const QString& v : values("anchor")) {
        if (v == u"hook") {
            o.anchor = AnchorKind::Hook;
        } else if (v == u"plate") {
            o.anchor = AnchorKind::Plate;
        } else {
            return QStringLiteral("--anchor takes hook or plate");
        }
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        return QStringLiteral("only one settings file, please");
    }
    if (files.isEmpty() || files.front().isEmpty()) {
        return QStringLiteral("no settings file given");
    }
    o.settingsFile = files.front();
    if (o.anchor && !o.thickness) {
        return QStringLiteral("--anchor needs --thickness");
    }
    // Standard output carries one thing: the JSON, the summary, or one output given as "-".
    const qsizetype toStdout =
        QStringList{o.txtFile, o.pdfFile, o.emfFile, o.rtfFile, o.docxFile}.count(kStdout);
    if (toStdout > 1 || (toStdout == 1 && o.json)) {
        return QStringLiteral(
            "only one of --json, --txt -, --pdf -, --emf -, --rtf - and --docx - can use standard "
            "output");
    }
    o.summary = toStdout == 0;
    if (const QString why = SameFileTwice(o); !why.isEmpty()) {
        return why;
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
                                                {QStringLiteral("message"), stop->message},
                                                {QStringLiteral("field"), stop->field}};
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

QJsonObject AnchorsJson(const Anchors& a) {
    QJsonObject o;
    o[QStringLiteral("Nosnosc")] = ShortestDecimal(a.Nosnosc);  // 72.365, not 72.36499786...
    o[QStringLiteral("Grubosc")] = a.Grubosc;
    o[QStringLiteral("D")] = a.D;
    o[QStringLiteral("Lh")] = a.Lh;
    o[QStringLiteral("Ld")] = a.Ld;
    o[QStringLiteral("hook")] = QJsonObject{{QStringLiteral("L"), a.hook.L},
                                            {QStringLiteral("Lo"), a.hook.Lo},
                                            {QStringLiteral("Lcalk"), a.hook.Lcalk},
                                            {QStringLiteral("designation"), a.hook.designation}};
    if (a.plate) {
        const PlateAnchor& p = *a.plate;
        o[QStringLiteral("plate")] = QJsonObject{{QStringLiteral("Lp"), p.Lp},
                                                 {QStringLiteral("a"), p.a},
                                                 {QStringLiteral("tp"), p.tp},
                                                 {QStringLiteral("L1"), p.L1},
                                                 {QStringLiteral("Lo"), p.Lo},
                                                 {QStringLiteral("Lcalk"), p.Lcalk},
                                                 {QStringLiteral("designation"), p.designation}};
    } else {
        o[QStringLiteral("plate")] = QJsonValue();
    }
    return o;
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

// The report pages through the page files and the print program's renderer, or what went wrong.
std::variant<std::vector<lumdruk::Page>, QString> RenderPages(const PageSource& src,
                                                              QTextStream& err) {
    const QString planError = SavePlanSketch(src.state, src.runDir);
    if (!planError.isEmpty()) {
        return planError;
    }
    const PrintResult written = WritePageFiles(src);
    if (!written.ok) {
        return written.message;
    }
    QStringList notes;
    QString error;
    auto pages = lumdruk::RenderPageFiles(PageFilePath(src.runDir), HeaderPageFilePath(src.runDir),
                                          src.state.Strona, &notes, &error);
    for (const QString& note : notes) {
        err << "vardel-calc: " << note << "\n";
    }
    if (!pages || pages->empty()) {
        return error;
    }
    return std::move(*pages);
}

}  // namespace

int RunCalcCli(const QStringList& args, const QString& programDir, QTextStream& out,
               QTextStream& err) {
    const auto parsed = Parse(args);
    if (const QString* why = std::get_if<QString>(&parsed)) {
        err << "vardel-calc: " << *why << "\n"
            << kUsage << "vardel-calc --help describes every option.\n";
        return 2;
    }
    const Options& o = std::get<Options>(parsed);
    if (o.request == Request::Help) {
        out << HelpText(CommandLineOptions());
        return 0;
    }
    if (o.request == Request::Version) {
        out << "vardel-calc " VARDEL_VERSION "\n";
        return 0;
    }
    const QString dir = o.dir.isEmpty() ? programDir : o.dir;
    const bool wantsPage = !o.pdfFile.isEmpty() || !o.emfFile.isEmpty();
    // The page and the RTF and Word documents show the sketches the results window saves.
    const bool wantsSketches = !o.pdfFile.isEmpty() || !o.emfFile.isEmpty() ||
                               !o.rtfFile.isEmpty() || !o.docxFile.isEmpty();
    // Sketches and page files go into the run's own folder: runs side by side never mix their
    // reports, and a program directory the user cannot write (an installed program) still
    // gives a page.
    std::optional<RunFolder> runFolder;
    if (wantsSketches || o.anchor) {
        runFolder.emplace();
        if (!runFolder->ok()) {
            err << "vardel-calc: " << runFolder->error() << "\n";
            return 2;
        }
    }
    const QString run = runFolder ? runFolder->path() : QString();

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
    ApplyEurocodeOptions(o.eurocode, s);
    if (o.cases > 0) {
        s.Liczba_przyp = static_cast<Int16>(o.cases);
    }
    s.Typ_stopy = static_cast<Int16>(o.foundation);

    const QLocale locale = QLocale::system();
    SizingRun sizing(o.sizing);
    std::optional<Stop> stop;
    // The calculate command on `s` as entered; a wrong table or a refused PN-EN input ends the run.
    const auto calculate = [&]() -> int {
        QString tableError;
        stop = sizing.Calculate(FieldsFromState(s, locale), s, locale, tableError);
        if (!tableError.isEmpty()) {
            err << "vardel-calc: " << tableError << "\n";
            return 2;
        }
        if (const QString refusal = EurocodeRefusal(s, stop); !refusal.isEmpty()) {
            err << "vardel-calc: " << refusal << "\n";
            return 2;
        }
        return 0;
    };
    const DesignCase entered = s;
    if (const int status = calculate()) {
        return status;
    }
    // The anchors follow from the bolt, steel and concrete that the calculation looked up.
    std::optional<Anchors> anchors;
    if (!stop && o.thickness) {
        const auto derived = ComputeAnchors(s, *o.thickness);
        if (const AnchorError* e = std::get_if<AnchorError>(&derived)) {
            err << "vardel-calc: no anchor for --thickness " << *o.thickness << ": "
                << (e->number == 6 ? "a length would exceed 32767 mm" : "no such bolt diameter")
                << " (" << AnchorErrorMessage(*e) << ")\n";
            return 2;
        }
        anchors = std::get<Anchors>(derived);
        if (o.anchor == AnchorKind::Plate && !anchors->plate) {
            err << "vardel-calc: no plate anchor for a bolt of " << s.Fi_sruby
                << " mm; plate anchors start at 20 mm\n";
            return 2;
        }
        if (o.anchor && UsesEurocode(s)) {
            // The PN-EN checks take the confirmed anchor's embedment and head (over --hef and
            // --head): the run is calculated again with them. The anchor stays the same, as it
            // follows from the bolt, steel and concrete alone.
            s = entered;
            FillEurocodeAnchor(s.Eurokod, *anchors, *o.anchor);
            sizing = SizingRun(o.sizing);
            if (const int status = calculate()) {
                return status;
            }
        }
        if (o.anchor && !stop) {
            const QString failure = ConfirmAnchor(s, *anchors, *o.anchor, dir, locale, run);
            if (!failure.isEmpty()) {
                err << "vardel-calc: " << failure << "\n";
                return 2;
            }
        }
    }
    ReportLines lines;
    ReportVerdict verdict;
    HeaderTexts header;
    if (!stop) {
        QStringList sketchErrors;
        StressSketchHook sketch;
        if (wantsSketches) {
            sketch = [&](int k) {
                const QString e = DrawStressSketch(s, run, k);
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
    std::optional<NmDiagram> diagram;
    if (!stop && (o.json || !o.nm.file.isEmpty() || wantsSketches)) {
        diagram = RunDiagram(s, sizing, locale);
    }
    // The report's diagram, the same as --nm draws, beside the sketches.
    if (diagram && wantsSketches) {
        if (const QString e = SaveNmReportPicture(*diagram, locale, run); !e.isEmpty()) {
            err << "vardel-calc: " << e << "\n";
            return 2;
        }
        lines.nmDiagram = true;
    }
    if (o.json) {
        QJsonObject results = Results(s, stop, lines, verdict);
        if (diagram) {
            results[QStringLiteral("envelope")] = EnvelopeJson(diagram->envelope);
        }
        if (o.thickness) {
            results[QStringLiteral("anchors")] = anchors ? AnchorsJson(*anchors) : QJsonValue();
        }
        sizing.AddToJson(results, s);
        if (s.Wyniki_EN.valid) {
            results[QStringLiteral("en")] = EurocodeJson(s);
        }
        out << QJsonDocument(results).toJson(QJsonDocument::Indented);
    } else if (!stop && o.summary) {
        Summary(s, out);
        sizing.Summary(s, out);
        out << "verdict: " << verdict.text << "\n";
        if (s.Wyniki_EN.valid) {
            EurocodeSummary(s, out);
        }
    }
    // The outputs are written all or none: a run that cannot write one of them replaces no file.
    std::vector<FileOutput> outputs;
    if (!stop && wantsPage) {
        auto pages = RenderPages(PageSource{s, lines, header, dir, locale, run}, err);
        if (const QString* why = std::get_if<QString>(&pages)) {
            err << "vardel-calc: " << *why << "\n";
            return 2;
        }
        const auto& rendered = std::get<std::vector<lumdruk::Page>>(pages);
        if (!o.pdfFile.isEmpty()) {
            outputs.push_back({o.pdfFile, lumdruk::PdfBytes(rendered)});
        }
        if (!o.emfFile.isEmpty()) {
            outputs.push_back({o.emfFile, lumdruk::EmfBytes(rendered.front())});
        }
        for (const FileOutput& page : outputs) {
            if (page.bytes.isEmpty()) {
                err << "vardel-calc: the page could not be drawn for " << page.path << "\n";
                return 2;
            }
        }
    }
    if (!stop && !o.txtFile.isEmpty()) {
        outputs.push_back({o.txtFile, TextExportBytes(s, lines, header, locale)});
    }
    if (!stop && (!o.rtfFile.isEmpty() || !o.docxFile.isEmpty())) {
        // Both documents embed the ring plan and the case sketches from the program directory.
        if (!wantsPage) {
            if (const QString e = SavePlanSketch(s, run); !e.isEmpty()) {
                err << "vardel-calc: " << e << "\n";
                return 2;
            }
        }
        if (o.rtfType >= 0) {
            s.Tryb_RTF = static_cast<Int16>(o.rtfType);
        }
        const QDateTime now = o.date.isValid() ? o.date : QDateTime::currentDateTime();
        if (!o.rtfFile.isEmpty()) {
            const RtfDocument rtf =
                ComposeRtf(RtfSource{s, lines, header, locale, now}, ProgramDirPictures(dir, run));
            if (!rtf.failure.isEmpty()) {
                err << "vardel-calc: " << rtf.failure << "\n";
                return 2;
            }
            outputs.push_back({o.rtfFile, rtf.bytes});
        }
        if (!o.docxFile.isEmpty()) {
            WordDocument doc;
            if (const QString e = BuildWordReport(doc, {s, lines, header, dir, locale, run});
                !e.isEmpty()) {
                err << "vardel-calc: " << e << "\n";
                return 2;
            }
            outputs.push_back({o.docxFile, doc.ToDocx()});
        }
    }
    if (diagram && !o.nm.file.isEmpty()) {
        const QByteArray plot = NmChartBytes(*diagram, *NmFormatOf(o.nm.file), locale);
        if (plot.isEmpty()) {
            err << "vardel-calc: the N-M diagram could not be drawn for " << o.nm.file << "\n";
            return 2;
        }
        outputs.push_back({o.nm.file, plot});
    }
    // A program directory named with --dir keeps the run's sketches and page files, as the
    // windows keep them, for whoever reads them after the run; the executable's directory is
    // left alone (installed, it is no user's to write).
    if (runFolder && !o.dir.isEmpty()) {
        const PrintResult kept =
            KeepInProgramDir(PageSource{s, lines, header, dir, locale, run}, std::nullopt);
        if (!kept.ok) {
            err << "vardel-calc: " << kept.message << "\n";
            return 2;
        }
    }
    out.flush();  // before an output that goes to standard output
    if (const auto failure = WriteWholeFiles(outputs)) {
        err << "vardel-calc: cannot write " << outputs[failure->index].path << ": "
            << failure->reason << "\n";
        if (outputs.size() > 1) {
            err << "vardel-calc: "
                << (failure->written == 0 ? QStringLiteral("no output was written")
                                          : QStringLiteral("%1 of the %2 outputs were written")
                                                .arg(failure->written)
                                                .arg(outputs.size()))
                << "\n";
        }
        return 2;
    }
    if (stop) {
        const QString title = stop->title.isEmpty() ? ProgramTitle() : stop->title;
        err << title << ": " << stop->message << "\n";
        return 1;
    }
    return sizing.Finish(err);
}

}  // namespace vardel

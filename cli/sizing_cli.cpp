#include "cli/sizing_cli.h"

#include "calc/en_calculation.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>

namespace vardel {
namespace {

QString Name(std::string_view check) {
    return QString::fromLatin1(check.data(), static_cast<qsizetype>(check.size()));
}

// The governing check of a layout: the PN-EN one's name when those checks chose it.
QString LayoutCheck(const BoltLayout& l) {
    return l.enCheck.empty() ? QString::fromLatin1(CheckName(l.utilisation.check))
                             : Name(l.enCheck);
}

QJsonValue Number(double v) {
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

QString Regime(Bearing b) {
    return b == Bearing::Whole    ? QStringLiteral("whole")
           : b == Bearing::Partly ? QStringLiteral("partly")
                                  : QStringLiteral("lifted");
}

QJsonObject RatiosJson(const CaseUtilisation& u) {
    return {{QStringLiteral("bolt"), Number(u.bolt)},
            {QStringLiteral("concrete"), Number(u.concrete)},
            {QStringLiteral("shear"), Number(u.shear)}};
}

// A case's PN-EN ratios by check name.
QJsonObject RatiosJson(const std::vector<CheckResult>& checks) {
    QJsonObject o;
    for (const CheckResult& c : checks) {
        o[Name(c.check)] = Number(c.utilisation);
    }
    return o;
}

bool Passes(const CaseUtilisation& u) {
    return u.bolt <= 1 && u.concrete <= 1 && u.shear <= 1;
}

// The table's rows as the state's cases, through the fields as the user would type them.
void PutRows(const LoadTable& table, const std::vector<int>& rows, InputFields& fields,
             DesignCase& s) {
    s.Liczba_przyp = static_cast<Int16>(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const LoadRow& r = table.rows[rows[k] - 1];
        fields.Text6[k] = r.N_text;
        fields.Text7[k] = r.M_text;
        fields.Text5[k] = r.V_text;
    }
}

}  // namespace

QList<QCommandLineOption> SizingCommandLineOptions() {
    return {
        {{QStringLiteral("design")},
         QStringLiteral("search the lightest bolt layouts that pass every load case")},
        {{QStringLiteral("loads")},
         QStringLiteral("take the load cases from a table (N, M, V per row)"),
         QStringLiteral("FILE")},
    };
}

QString TakeSizingOptions(const QCommandLineParser& parser, SizingOptions& o) {
    o.design = parser.isSet(QStringLiteral("design"));
    for (const QString& file : parser.values(QStringLiteral("loads"))) {
        if (file.isEmpty()) {
            return QStringLiteral("--loads needs a file");
        }
        o.loadsFile = file;
    }
    return {};
}

std::optional<Stop> SizingRun::Calculate(InputFields fields, DesignCase& s, const QLocale& locale,
                                         QString& error) {
    if (!o_.loadsFile.isEmpty()) {
        auto read = ReadLoadTable(o_.loadsFile);
        if (const FileError* e = std::get_if<FileError>(&read)) {
            error = e->message;
            return std::nullopt;
        }
        table_ = std::move(std::get<LoadTable>(read));
        for (const LoadRow& r : table_.rows) {
            loads_.push_back({r.N_kN, r.M_kNm, r.V_kN});
        }
        auto calculated = CalculateTable(fields, s, loads_, locale);
        if (const Stop* stop = std::get_if<Stop>(&calculated)) {
            return *stop;
        }
        TableResults& results = std::get<TableResults>(calculated);
        rows_ = std::move(results.rows);
        enRows_ = std::move(results.enRows);
        reportRows_ = std::move(results.stateRows);
        PutRows(table_, reportRows_, fields, s);
    }
    const DesignCase before = s;
    std::optional<Stop> stop = vardel::Calculate(fields, s, locale);
    if (!stop && o_.design) {
        DesignCase start = before;
        start.Liczba_przyp = s.Liczba_przyp;
        // The governing rows of one layout need not govern another: a long table is searched
        // whole.
        const bool whole = loads_.size() > static_cast<std::size_t>(kMaxCases);
        auto found =
            SearchBoltLayouts(fields, start, locale, whole ? loads_ : std::vector<RowLoads>{});
        if (const Stop* searchStop = std::get_if<Stop>(&found)) {
            return *searchStop;
        }
        search_ = std::move(std::get<DesignSearch>(found));
    }
    return stop;
}

SizingRun::DesignRatio SizingRun::DesignUtilisation(const DesignCase& s) const {
    const EurocodeResults& en = s.Wyniki_EN;
    if (en.valid) {
        if (rows_.empty()) {
            return {en.maxUtilisation,
                    en.governingCase > 0
                        ? Name(en.checks[en.governingCase][en.governingCheck].check)
                        : QString(),
                    en.governingCase};
        }
        const EurocodeGoverning g = LargestEurocodeRatio(enRows_);
        return {g.utilisation, g.index > 0 ? Name(enRows_[g.index - 1][g.check].check) : QString(),
                g.index};
    }
    Governing g;
    if (rows_.empty()) {
        g = LargestRatio(StateRatios(s));
    } else {
        std::vector<CaseUtilisation> ratios;
        for (const RowResult& r : rows_) {
            ratios.push_back(r.utilisation);
        }
        g = LargestRatio(ratios);
    }
    return {g.max, QString::fromLatin1(CheckName(g.check)), g.index};
}

void SizingRun::AddToJson(QJsonObject& o, const DesignCase& s) const {
    if (o[QStringLiteral("stopped")].toBool()) {
        return;
    }
    QJsonArray cases = o[QStringLiteral("cases")].toArray();
    for (int k = 0; k < cases.size(); ++k) {
        QJsonObject c = cases[k].toObject();
        c[QStringLiteral("utilisation")] = s.Wyniki_EN.valid ? RatiosJson(s.Wyniki_EN.checks[k + 1])
                                                             : RatiosJson(CaseRatios(s, k + 1));
        if (!reportRows_.empty()) {
            c[QStringLiteral("row")] = reportRows_[k];
            c[QStringLiteral("name")] = table_.rows[reportRows_[k] - 1].name;
        }
        cases[k] = c;
    }
    o[QStringLiteral("cases")] = cases;
    const DesignRatio largest = DesignUtilisation(s);
    o[QStringLiteral("utilisation")] = QJsonObject{{QStringLiteral("max"), Number(largest.max)},
                                                   {QStringLiteral("check"), largest.check},
                                                   {QStringLiteral("case"), largest.index}};

    if (!rows_.empty()) {
        QJsonArray rows;
        std::vector<CaseUtilisation> ratios;
        for (std::size_t k = 0; k < rows_.size(); ++k) {
            const RowResult& r = rows_[k];
            const LoadRow& in = table_.rows[k];
            ratios.push_back(r.utilisation);
            QJsonArray bolts;
            for (const double sigma : r.Sig_sr) {
                bolts.append(Number(sigma));
            }
            rows.append(QJsonObject{
                {QStringLiteral("row"), static_cast<int>(k) + 1},
                {QStringLiteral("name"), in.name},
                {QStringLiteral("N_kN"), Number(in.N_kN)},
                {QStringLiteral("M_kNm"), Number(in.M_kNm)},
                {QStringLiteral("V_kN"), Number(in.V_kN)},
                {QStringLiteral("regime"), Regime(r.regime)},
                {QStringLiteral("e_cm"), Number(r.e_cm)},
                {QStringLiteral("a_cm"),
                 r.regime == Bearing::Partly ? Number(r.a_cm) : QJsonValue()},
                {QStringLiteral("Sig_s"), Number(r.Sig_s)},
                {QStringLiteral("Sig_b"), Number(r.Sig_b)},
                {QStringLiteral("Sig_sr"), bolts},
                {QStringLiteral("Wynik_V_line"),
                 r.Wynik_V_nr != 0 ? QJsonValue(r.Wynik_V_nr) : QJsonValue()},
                {QStringLiteral("u"), r.Wynik_V_u ? Number(*r.Wynik_V_u) : QJsonValue()},
                {QStringLiteral("utilisation"), RatiosJson(r.utilisation)},
                {QStringLiteral("passes"), Passes(r.utilisation)},
            });
            if (k < enRows_.size()) {
                // The PN-EN checks of the row: its largest ratio and that check.
                QJsonObject row = rows.last().toObject();
                const auto top = std::max_element(enRows_[k].begin(), enRows_[k].end(),
                                                  [](const CheckResult& a, const CheckResult& b) {
                                                      return a.utilisation < b.utilisation;
                                                  });
                row[QStringLiteral("en")] =
                    top == enRows_[k].end()
                        ? QJsonValue()
                        : QJsonValue(
                              QJsonObject{{QStringLiteral("utilisation"), Number(top->utilisation)},
                                          {QStringLiteral("check"), Name(top->check)}});
                rows[rows.size() - 1] = row;
            }
        }
        o[QStringLiteral("rows")] = rows;
        QJsonObject governing;
        for (const Check c : kChecks) {
            const int row = GoverningRow(ratios, c);
            governing[QString::fromLatin1(CheckName(c))] =
                row != 0 ? QJsonValue(row) : QJsonValue();
        }
        o[QStringLiteral("governing")] = governing;
        QJsonArray report;
        for (const int r : reportRows_) {
            report.append(r);
        }
        o[QStringLiteral("report_rows")] = report;
    }

    if (search_) {
        QJsonArray best;
        for (const BoltLayout& l : search_->best) {
            best.append(QJsonObject{{QStringLiteral("Liczba_srub"), l.Liczba_srub},
                                    {QStringLiteral("d_mm"), l.d_mm},
                                    {QStringLiteral("As_total_cm2"), Number(l.As_total_cm2)},
                                    {QStringLiteral("utilisation"), Number(l.utilisation.max)},
                                    {QStringLiteral("check"), LayoutCheck(l)},
                                    {QStringLiteral("case"), l.utilisation.index}});
        }
        o[QStringLiteral("design")] = QJsonObject{{QStringLiteral("checked"), search_->checked},
                                                  {QStringLiteral("best"), best}};
    }
}

void SizingRun::Summary(const DesignCase& s, QTextStream& out) const {
    const QLocale c = QLocale::c();
    const DesignRatio g = DesignUtilisation(s);
    if (!rows_.empty()) {
        out << "load table: " << rows_.size() << " rows, the report takes row";
        out << (reportRows_.size() > 1 ? "s" : "");
        for (std::size_t k = 0; k < reportRows_.size(); ++k) {
            out << (k == 0 ? " " : ", ") << reportRows_[k];
        }
        out << "\n";
    }
    out << "largest utilisation: " << c.toString(g.max, 'f', 3) << " (" << g.check << ", "
        << (rows_.empty() ? "case " : "row ") << g.index;
    if (!rows_.empty() && g.index > 0 && !table_.rows[g.index - 1].name.isEmpty()) {
        out << " " << table_.rows[g.index - 1].name;
    }
    out << ")\n";
    if (search_) {
        out << "design: " << search_->checked << " layouts calculated, " << search_->best.size()
            << " bolt counts pass every case";
        if (!search_->best.empty()) {
            out << "; the lightest:\n  bolts  d [mm]  As [cm2]  utilisation  check     case\n";
            const int shown = std::min<int>(search_->best.size(), 10);
            for (int k = 0; k < shown; ++k) {
                const BoltLayout& l = search_->best[k];
                out << QStringLiteral("  %1  %2  %3  %4  %5 %6\n")
                           .arg(l.Liczba_srub, 5)
                           .arg(l.d_mm, 6)
                           .arg(c.toString(l.As_total_cm2, 'f', 2), 8)
                           .arg(c.toString(l.utilisation.max, 'f', 3), 11)
                           .arg(LayoutCheck(l), -8)
                           .arg(l.utilisation.index, 4);
            }
        } else {
            out << "\n";
        }
    }
}

int SizingRun::Finish(QTextStream& err) const {
    if (search_ && search_->best.empty()) {
        err << "vardel-calc: no layout of " << kFewestSearchedBolts << " to " << kMaxBolts
            << " bolts passes every load case\n";
        return 1;
    }
    return 0;
}

}  // namespace vardel

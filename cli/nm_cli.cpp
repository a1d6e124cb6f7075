#include "cli/nm_cli.h"

#include <QJsonArray>
#include "state/numbers.h"

namespace vardel {
QList<QCommandLineOption> NmCommandLineOptions() {
    return {{{QStringLiteral("nm")},
             QStringLiteral("draw the N-M interaction diagram into FILE (.svg, .png or .pdf)"),
             QStringLiteral("FILE")}};
}

QString TakeNmOptions(const QCommandLineParser& parser, NmOptions& o) {
    for (const QString& file : parser.values(QStringLiteral("nm"))) {
        if (!NmFormatOf(file)) {
            return QStringLiteral("--nm takes a file whose name ends in .svg, .png or .pdf");
        }
        o.file = file;
    }
    return {};
}

NmDiagram RunDiagram(const DesignCase& s, const SizingRun& sizing, const QLocale& locale) {
    if (sizing.rowResults().empty()) {
        return StateDiagram(s, locale);
    }
    std::vector<RowLoads> loads;
    std::vector<CaseUtilisation> ratios;
    QStringList names;
    for (std::size_t k = 0; k < sizing.rowResults().size(); ++k) {
        const LoadRow& row = sizing.table().rows[k];
        loads.push_back({row.N_kN, row.M_kNm, row.V_kN});
        ratios.push_back(sizing.rowResults()[k].utilisation);
        names << (row.name.isEmpty() ? QString::number(k + 1) : row.name);
    }
    // The rows judged by the code the envelope is drawn by.
    if (s.Wyniki_EN.valid) {
        return MakeDiagram(s, DiagramLoads(loads, sizing.eurocodeRows(), names), loads, locale);
    }
    return MakeDiagram(s, DiagramLoads(loads, ratios, names), loads, locale);
}

QJsonObject EnvelopeJson(const Envelope& e) {
    QJsonArray N, M, governing;
    for (const EnvelopePoint& p : e.points) {
        N.append(ShortestDecimal(static_cast<float>(p.N_kN)));  // the loads are singles
        M.append(p.M_kNm);
        governing.append(
            QString::fromLatin1(p.governing.data(), static_cast<qsizetype>(p.governing.size())));
    }
    QJsonObject out{
        {QStringLiteral("code"), e.eurocode ? QStringLiteral("en") : QStringLiteral("pnb")},
        {QStringLiteral("N_kN"), N},
        {QStringLiteral("M_kNm"), M},
        {QStringLiteral("governing"), governing},
        {QStringLiteral("V_kN"), ShortestDecimal(e.V_kN)}};
    if (!e.plastic.empty()) {
        QJsonArray plasticN, plasticM;
        for (const NmPoint& p : e.plastic) {
            plasticN.append(p.N_kN);
            plasticM.append(p.M_kNm);
        }
        out.insert(QStringLiteral("plastic"), QJsonObject{{QStringLiteral("N_kN"), plasticN},
                                                          {QStringLiteral("M_kNm"), plasticM}});
    }
    return out;
}

}  // namespace vardel

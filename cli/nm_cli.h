// vardel-calc's N–M interaction diagram: --nm FILE draws it, --json gains its envelope.
#pragma once

#include "charts/nm_chart.h"
#include "cli/sizing_cli.h"

#include <QCommandLineParser>
#include <QJsonObject>
#include <QLocale>

namespace vardel {

struct NmOptions {
    QString file;  // .svg, .png or .pdf
};

QList<QCommandLineOption> NmCommandLineOptions();

// The diagram option of a parsed command line: an empty text, or the reason it is wrong.
QString TakeNmOptions(const QCommandLineParser& parser, NmOptions& o);

// The diagram of a calculated run: every row of its load table, else the state's cases; the
// envelope under their largest horizontal force, by the code of the run.
NmDiagram RunDiagram(const DesignCase& s, const SizingRun& sizing, const QLocale& locale);

// `envelope` {`code` ("pnb", "en"), `N_kN`, `M_kNm`, `governing`, `V_kN`}: the points of the
// curve; under PN-EN also `plastic` {`N_kN`, `M_kNm`}, the plastic resistance of the base.
QJsonObject EnvelopeJson(const Envelope& e);

}  // namespace vardel

// The N–M interaction diagram as a Qt chart: the design's envelope, shaded inside and coloured by
// the check that governs each piece, with every load case on it. The results window shows this
// chart and the command line renders the same chart into SVG, PNG or PDF.
#pragma once

#include "calc/envelope.h"
#include "state/design_case.h"

#include <QByteArray>
#include <QImage>
#include <QLocale>
#include <QString>

#include <optional>
#include <string_view>
#include <vector>

class QChart;

namespace vardel {

struct NmDiagram {
    QString title;  // names the design: project, ring, bolts, concrete, code, V
    Envelope envelope;
    std::vector<EnvelopeLoad> loads;
};

// The design's title line and its envelope under the largest |V| of `loads`, by the code the
// design was calculated with.
NmDiagram MakeDiagram(const DesignCase& calculated, std::vector<EnvelopeLoad> loads,
                      const std::vector<RowLoads>& shearOf, const QLocale& locale);

// The diagram of a calculated state and its cases.
NmDiagram StateDiagram(const DesignCase& calculated, const QLocale& locale);

// Object names of the chart's series, for the window's hover and the tests.
inline constexpr char kNmInsideSeries[] = "nm_inside";        // the shaded area
inline constexpr char kNmPassSeries[] = "nm_pass";            // the loads that pass
inline constexpr char kNmFailSeries[] = "nm_fail";            // the loads that fail
inline constexpr char kNmGoverningSeries[] = "nm_governing";  // rings around governing loads
inline constexpr char kNmPlasticSeries[] = "nm_plastic";      // PN-EN: the plastic resistance
// A piece of the envelope carries "nm_piece_" and its check's name ("nm_piece_bolt").

// The legend's name of a check, named as Judgement names it ("bolt" → "stal śrub").
QString NmCheckLabel(std::string_view check);

// A new chart of the diagram, owned by the caller; the numbers of its axes in `locale`.
QChart* BuildNmChart(const NmDiagram& d, const QLocale& locale);

enum class NmFormat { Svg, Png, Pdf };

// The format a file's name asks for by its extension (.svg, .png, .pdf; any case), if any.
std::optional<NmFormat> NmFormatOf(const QString& path);

// The chart rendered offscreen into a file's bytes: SVG and PNG 1000 × 700 (PNG at twice that in
// pixels), PDF an A4 landscape page. Empty when it cannot be drawn.
QByteArray NmChartBytes(const NmDiagram& d, NmFormat format, const QLocale& locale);

// The chart as the report's picture: kNmDiagramWidth_mm × kNmDiagramHeight_mm at
// kNmDiagramDotsPerInch, which it records, laid out so that its texts print near the page's size.
QImage NmReportImage(const NmDiagram& d, const QLocale& locale);

// Draws the report's picture into `dir` (NmDiagramFileName, PNG), replacing the file whole. Empty
// on success, else a message for the user naming the file.
QString SaveNmReportPicture(const NmDiagram& d, const QLocale& locale, const QString& dir);

}  // namespace vardel

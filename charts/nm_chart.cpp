#include "charts/nm_chart.h"

#include "sketches/bitmap_file.h"
#include "state/file_write.h"
#include "state/numbers.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace vardel {
namespace {

// Beyond this many loads only the governing ones carry their names: a label per row of a long
// load table would hide the diagram.
constexpr std::size_t kLabelledLoads = 40;

constexpr QSize kChartSize(1000, 700);

}  // namespace

namespace {

// Each check's name in the legend and its colour: PN-B's three, then PN-EN's; the steel of the
// anchors, the concrete under the plate and the horizontal force keep their colours in both.
struct CheckStyle {
    std::string_view check;
    const char* label;
    QRgb colour;
};
constexpr CheckStyle kCheckStyles[] = {
    {"bolt", "stal śrub", 0x1f5fbf},
    {"concrete", "docisk betonu", 0x2e8b3e},
    {"shear", "siła pozioma", 0xd07000},
    {"bearing", "docisk betonu", 0x2e8b3e},
    {"anchor_steel", "stal kotew", 0x1f5fbf},
    {"cone", "stożek betonu", 0x8e3fb0},
    {"pullout", "wyciągnięcie kotwy", 0xb03060},
    {"anchorage", "zakotwienie haka", 0x00868b},
    {"pryout", "podważenie betonu", 0x8b5a2b},
    {"tension_shear_steel", "rozciąganie ze ścinaniem (stal)", 0x5a2ca0},
    {"tension_shear_concrete", "rozciąganie ze ścinaniem (beton)", 0xa08000},
    {"plate", "zginanie blachy", 0xc03000},
};

const CheckStyle* StyleOf(std::string_view check) {
    for (const CheckStyle& c : kCheckStyles) {
        if (c.check == check) {
            return &c;
        }
    }
    return nullptr;
}

QString Latin(std::string_view v) {
    return QString::fromLatin1(v.data(), static_cast<qsizetype>(v.size()));
}

QColor CheckColour(std::string_view check) {
    const CheckStyle* c = StyleOf(check);
    return c ? QColor(c->colour) : QColor(Qt::darkGray);
}

}  // namespace

QString NmCheckLabel(std::string_view check) {
    const CheckStyle* c = StyleOf(check);
    return c ? QString::fromUtf8(c->label) : Latin(check);
}

namespace {

// A round step for about `ticks` intervals over `span`: 1, 2 or 5 times a power of ten.
double RoundStep(double span, int ticks) {
    if (!(span > 0)) {
        return 1;
    }
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0}) {
        if (m * power >= raw) {
            return m * power;
        }
    }
    return 10 * power;
}

QValueAxis* RoundAxis(double lo, double hi, const QString& title, int ticks) {
    auto* axis = new QValueAxis;
    if (!(hi > lo)) {  // nothing to span: a unit either side
        lo -= 1;
        hi += 1;
    }
    const double step = RoundStep(hi - lo, ticks);
    axis->setRange(std::floor(lo / step) * step, std::ceil(hi / step) * step);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    // As many decimals as the step has.
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
    axis->setTitleText(title);
    return axis;
}

QString Number(double v, const QLocale& locale) {
    return Format(v, u"### ##0.0", locale).trimmed();
}

}  // namespace

NmDiagram MakeDiagram(const DesignCase& s, std::vector<EnvelopeLoad> loads,
                      const std::vector<RowLoads>& shearOf, const QLocale& locale) {
    NmDiagram d;
    const float V = GoverningShear(shearOf);
    d.envelope = DesignEnvelope(s, V);
    const bool en = d.envelope.eurocode;
    const en::Parameters p = en ? en::ParametersOf(s) : en::Parameters{};
    d.loads = std::move(loads);
    const auto mm = [&](float v) { return Format(v, u"######0", locale).trimmed(); };
    const QString ring = QStringLiteral("pierścień %1/%2 mm").arg(mm(s.R_zewn), mm(s.R_wewn));
    const QString bolts =
        QStringLiteral("%1 × M%2 %3 na R = %4 mm")
            .arg(s.Liczba_srub)
            .arg(s.Fi_sruby)
            .arg(en ? Latin(en::BoltClassName(p.boltClass)) : s.Klasa_stali, mm(s.R_srub));
    // The code with the set of partial factors its checks took.
    const QString code = !en ? QStringLiteral("PN-B-03215:1999")
                         : s.Eurokod.Zalacznik == 1
                             ? QStringLiteral("EN 1993-1-8 / 1992-4 (CEN)")
                             : QStringLiteral("PN-EN 1993-1-8 / 1992-4 (NA)");
    // A line of its own for the plastic curve, which takes no horizontal force: the chart cuts
    // a title too wide for it from its end, so no line may be long.
    const QString shear =
        (V > 0 ? QStringLiteral("nośność przy V = %1 kN, największej sile poziomej obciążeń")
                     .arg(Number(V, locale))
               : QStringLiteral("nośność przy V = 0")) +
        (d.envelope.plastic.empty()
             ? QString()
             : QStringLiteral("\nprzerywana: nośność plastyczna (EN 1993-1-8 6.2.8), bez V"));
    // The project on a line of its own when there is one.
    const QString project = s.Naz_proj.trimmed();
    d.title = (project.isEmpty() ? QString() : project + u'\n') +
              QStringLiteral("%1, %2, beton %3, %4\n%5")
                  .arg(ring, bolts, en ? Latin(p.concrete) : s.Klasa_betonu, code, shear);
    return d;
}

NmDiagram StateDiagram(const DesignCase& s, const QLocale& locale) {
    return MakeDiagram(s, StateEnvelopeLoads(s), StateLoads(s), locale);
}

QChart* BuildNmChart(const NmDiagram& d, const QLocale& locale) {
    auto* chart = new QChart;
    // The title is rich text: its lines as lines.
    chart->setTitle(d.title.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")));
    QFont titleFont = chart->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSizeF(10);
    chart->setTitleFont(titleFont);
    chart->setLocalizeNumbers(true);
    QLocale ticks = locale;
    ticks.setNumberOptions(QLocale::OmitGroupSeparator);  // "1,000" reads as one in C
    chart->setLocale(ticks);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    QFont legendFont = chart->legend()->font();
    legendFont.setPointSizeF(8);
    chart->legend()->setFont(legendFont);
    chart->setBackgroundRoundness(0);

    double nLo = 0, nHi = 0, mHi = 0;
    for (const EnvelopePoint& p : d.envelope.points) {
        nLo = std::min(nLo, p.N_kN);
        nHi = std::max(nHi, p.N_kN);
        mHi = std::max(mHi, p.M_kNm);
    }
    for (const NmPoint& p : d.envelope.plastic) {
        nLo = std::min(nLo, p.N_kN);
        nHi = std::max(nHi, p.N_kN);
        mHi = std::max(mHi, p.M_kNm);
    }
    for (const EnvelopeLoad& l : d.loads) {
        nLo = std::min(nLo, l.N_kN);
        nHi = std::max(nHi, l.N_kN);
        mHi = std::max(mHi, l.M_kNm);
    }
    QValueAxis* axisN = RoundAxis(nLo, nHi, QStringLiteral("N [kN]  (ujemna: wyrywanie)"), 10);
    QValueAxis* axisM = RoundAxis(0, mHi > 0 ? mHi * 1.05 : 1, QStringLiteral("|M| [kNm]"), 8);
    chart->addAxis(axisN, Qt::AlignBottom);
    chart->addAxis(axisM, Qt::AlignLeft);
    auto attach = [&](QAbstractSeries* series, const char* name) {
        series->setObjectName(QString::fromLatin1(name));
        chart->addSeries(series);
        series->attachAxis(axisN);
        series->attachAxis(axisM);
    };

    // Inside the envelope, shaded.
    const auto& points = d.envelope.points;
    if (!points.empty()) {
        auto* upper = new QLineSeries(chart);
        for (const EnvelopePoint& p : points) {
            upper->append(p.N_kN, p.M_kNm);
        }
        auto* inside = new QAreaSeries(upper);
        inside->setName(QStringLiteral("obszar nośności"));
        inside->setColor(QColor(0xd6, 0xe4, 0xf5));
        inside->setBorderColor(Qt::transparent);
        attach(inside, kNmInsideSeries);
        // Its own shape: drawn from the series, the legend cuts its name short.
        chart->legend()->markers(inside).front()->setShape(QLegend::MarkerShapeRectangle);
    }
    // The envelope in pieces, each coloured by the check that governs it; neighbouring pieces
    // share their end point, so the curve stays whole.
    std::vector<std::string_view> named;
    for (std::size_t start = 0; start < points.size();) {
        const std::string_view c = points[start].governing;
        std::size_t end = start;
        while (end + 1 < points.size() && points[end + 1].governing == c) {
            ++end;
        }
        auto* piece = new QLineSeries;
        for (std::size_t k = start; k <= end + 1 && k < points.size(); ++k) {
            piece->append(points[k].N_kN, points[k].M_kNm);
        }
        piece->setPen(QPen(CheckColour(c), 2.5));
        piece->setName(NmCheckLabel(c));
        attach(piece, (QByteArray("nm_piece_") + QByteArray(c.data(), c.size())).constData());
        if (std::find(named.begin(), named.end(), c) != named.end()) {
            chart->legend()->markers(piece).front()->setVisible(false);
        } else {
            named.push_back(c);
        }
        start = end + 1;
    }
    // PN-EN: the plastic resistance, dashed, beyond the elastic envelope.
    if (!d.envelope.plastic.empty()) {
        auto* plastic = new QLineSeries;
        for (const NmPoint& p : d.envelope.plastic) {
            plastic->append(p.N_kN, p.M_kNm);
        }
        plastic->setPen(QPen(QColor(0x30, 0x30, 0x30), 1.8, Qt::DashLine));
        plastic->setName(QStringLiteral("nośność plastyczna"));
        attach(plastic, kNmPlasticSeries);
    }

    // The loads: filled where they pass, hollow red where they fail, ringed where they govern.
    auto* governing = new QScatterSeries;
    governing->setName(QStringLiteral("decydujące"));
    governing->setMarkerSize(19);
    governing->setBrush(Qt::NoBrush);
    governing->setPen(QPen(Qt::black, 2));
    auto* pass = new QScatterSeries;
    pass->setName(QStringLiteral("spełnia"));
    pass->setMarkerSize(10);
    pass->setColor(QColor(0x20, 0x20, 0x20));
    pass->setBorderColor(QColor(0x20, 0x20, 0x20));
    auto* fail = new QScatterSeries;
    fail->setName(QStringLiteral("nie spełnia"));
    fail->setMarkerSize(11);
    fail->setBrush(Qt::white);
    fail->setPen(QPen(QColor(0xd0, 0x00, 0x00), 2.5));
    for (const EnvelopeLoad& l : d.loads) {
        (l.passes ? pass : fail)->append(l.N_kN, l.M_kNm);
        if (l.governing) {
            governing->append(l.N_kN, l.M_kNm);
        }
    }
    attach(pass, kNmPassSeries);
    attach(fail, kNmFailSeries);
    attach(governing, kNmGoverningSeries);  // last: the rings stay visible among many loads
    for (QScatterSeries* series : {governing, fail}) {
        if (series->count() == 0) {
            chart->legend()->markers(series).front()->setVisible(false);
        }
    }

    // The names beside their points, placed again whenever the plot area moves.
    // Loads at the same point share one label ("4, 5, 6").
    std::vector<std::pair<QGraphicsSimpleTextItem*, QPointF>> labels;
    for (std::size_t k = 0; k < d.loads.size(); ++k) {
        const EnvelopeLoad& l = d.loads[k];
        if (d.loads.size() > kLabelledLoads && !l.governing) {
            continue;
        }
        const QPointF at(l.N_kN, l.M_kNm);
        if (std::any_of(labels.begin(), labels.end(),
                        [&](const auto& p) { return p.second == at; })) {
            continue;
        }
        QStringList names;
        for (std::size_t j = k; j < d.loads.size(); ++j) {
            if (QPointF(d.loads[j].N_kN, d.loads[j].M_kNm) == at &&
                (d.loads.size() <= kLabelledLoads || d.loads[j].governing)) {
                names << d.loads[j].name;
            }
        }
        auto* label = new QGraphicsSimpleTextItem(names.join(QStringLiteral(", ")), chart);
        QFont font = label->font();
        font.setPointSizeF(8);
        font.setBold(l.governing);
        label->setFont(font);
        label->setBrush(l.passes ? QColor(0x20, 0x20, 0x20) : QColor(0xd0, 0x00, 0x00));
        label->setZValue(10);
        labels.emplace_back(label, at);
    }
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [chart, pass, labels](const QRectF&) {
        std::vector<QRectF> placed;
        for (const auto& [label, at] : labels) {
            // Clear of the ring around a governing load, and below a label it would cover.
            QRectF box = label->boundingRect();
            box.moveTopLeft(chart->mapToPosition(at, pass) + QPointF(12, -20));
            while (std::any_of(placed.begin(), placed.end(),
                               [&](const QRectF& other) { return other.intersects(box); })) {
                box.translate(0, box.height());
            }
            placed.push_back(box);
            label->setPos(box.topLeft());
        }
    });
    return chart;
}

std::optional<NmFormat> NmFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"svg") {
        return NmFormat::Svg;
    }
    if (suffix == u"png") {
        return NmFormat::Png;
    }
    if (suffix == u"pdf") {
        return NmFormat::Pdf;
    }
    return std::nullopt;
}

namespace {

// Renders the chart of `d`, laid out as on a screen `logical` pixels large, into `target` of the
// painter's device.
void RenderChart(const NmDiagram& d, const QLocale& locale, QSizeF logical, QPainter& painter,
                 const QRectF& target) {
    QGraphicsScene scene;
    QChart* chart = BuildNmChart(d, locale);
    scene.addItem(chart);  // the scene owns it
    chart->resize(logical);
    // The chart lays itself out on posted events; there is no event loop in a command.
    QCoreApplication::sendPostedEvents();
    chart->layout()->activate();
    scene.render(&painter, target, QRectF(QPointF(0, 0), logical));
}

// The report's chart is laid out at this many pixels to the millimetre of paper: its 8-point
// labels then print about 2.4 mm high, near the page's 3.2 mm texts.
constexpr double kReportChartPixelsPerMm = 4.5;

}  // namespace

QByteArray NmChartBytes(const NmDiagram& d, NmFormat format, const QLocale& locale) {
    const QRectF source(QPointF(0, 0), kChartSize);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
        case NmFormat::Svg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&buffer);
            svg.setSize(kChartSize);
            svg.setViewBox(source);
            svg.setTitle(d.title);
            QPainter painter(&svg);
            RenderChart(d, locale, kChartSize, painter, source);
            break;
        }
        case NmFormat::Png: {
            QImage image(kChartSize * 2, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setRenderHint(QPainter::TextAntialiasing);
                RenderChart(d, locale, kChartSize, painter, QRectF(image.rect()));
            }
            if (!image.save(&buffer, "PNG")) {
                return {};
            }
            break;
        }
        case NmFormat::Pdf: {
            QPdfWriter pdf(&buffer);
            pdf.setPageSize(QPageSize(QPageSize::A4));
            pdf.setPageOrientation(QPageLayout::Landscape);
            pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
            pdf.setResolution(300);
            pdf.setTitle(d.title);
            pdf.setCreator(QStringLiteral("Vardel"));
            QPainter painter(&pdf);
            if (!painter.isActive()) {
                return {};
            }
            const QRect page = painter.viewport();
            // The chart's shape on the page, as large as it fits.
            const QSize fitted = kChartSize.scaled(page.size(), Qt::KeepAspectRatio);
            RenderChart(d, locale, kChartSize, painter, QRectF(QPointF(0, 0), fitted));
            break;
        }
    }
    return bytes;
}

QImage NmReportImage(const NmDiagram& d, const QLocale& locale) {
    constexpr double kMmPerInch = 25.4;
    const QSize pixels(
        static_cast<int>(std::lround(kNmDiagramWidth_mm / kMmPerInch * kNmDiagramDotsPerInch)),
        static_cast<int>(std::lround(kNmDiagramHeight_mm / kMmPerInch * kNmDiagramDotsPerInch)));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter =
        static_cast<int>(std::lround(kNmDiagramDotsPerInch / kMmPerInch * 1000));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        RenderChart(d, locale,
                    QSizeF(kNmDiagramWidth_mm, kNmDiagramHeight_mm) * kReportChartPixelsPerMm,
                    painter, QRectF(image.rect()));
    }
    return image;
}

QString SaveNmReportPicture(const NmDiagram& d, const QLocale& locale, const QString& dir) {
    const QString path = JoinPath(dir, NmDiagramFileName());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!NmReportImage(d, locale).save(&buffer, "PNG")) {
        return QStringLiteral("Nie można narysować wykresu N–M do pliku %1").arg(path);
    }
    if (const QString reason = WriteWholeFile(path, bytes); !reason.isEmpty()) {
        return QStringLiteral("Nie można zapisać pliku %1: %2").arg(path, reason);
    }
    return {};
}

}  // namespace vardel

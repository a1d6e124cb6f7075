#include "ui/nm_chart_tab.h"

#include "state/numbers.h"

#include <QCursor>
#include <QDataStream>
#include <QMainWindow>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QScatterSeries>

#include <cmath>
#include <limits>

namespace vardel {
namespace {

// Everything the diagram is drawn from: the ring, the bolts, the materials, the loads and the
// code with its inputs.
QByteArray DesignKey(const DesignCase& s) {
    QByteArray key;
    QDataStream out(&key, QIODevice::WriteOnly);
    out << s.Naz_proj << s.R_zewn << s.R_wewn << s.R_srub << s.Liczba_srub << s.Fi_sruby
        << s.As_sruby << s.Klasa_stali << s.fd_stali << s.ft_sruby << s.fv_sruby << s.Klasa_betonu
        << s.fcd_betonu << s.Es_Eb << s.Tryb_sru << s.Liczba_przyp;
    const EurocodeInputs& e = s.Eurokod;
    out << s.Wyniki_EN.valid << s.Tryb_n << e.t_blachy << e.Stal_blachy << e.D_rury << e.t_rury
        << e.B_bloku << e.H_bloku << e.Klasa_C << e.Zarysowany << e.Klasa_sruby << e.h_ef
        << e.d_glowy << e.Zalacznik;
    for (int i = 1; i <= s.Liczba_przyp && i <= kMaxCases; ++i) {
        out << s.N_kN[i] << s.M_kNm[i] << s.V_kN[i];
    }
    return key;
}

}  // namespace

NmChartTab::NmChartTab(const DesignCase& s, QWidget* parent) : QWidget(parent), s_(s) {
    setObjectName(QStringLiteral("NmChartTab"));
    view_ = new QChartView(this);
    view_->setObjectName(QStringLiteral("NmChart"));
    view_->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
}

QChart* NmChartTab::chart() const {
    return view_->chart();
}

void NmChartTab::Take(NmDiagram diagram) {
    diagram_ = std::move(diagram);
    diagramFor_ = DesignKey(s_);
    if (isVisible()) {
        Refresh();
    }
}

void NmChartTab::Refresh() {
    const QLocale locale;
    if (const QByteArray key = DesignKey(s_); key != diagramFor_) {
        diagram_ = StateDiagram(s_, locale);
        diagramFor_ = key;
    }
    if (drawnFor_ == diagramFor_) {
        return;
    }
    drawnFor_ = diagramFor_;
    QChart* chart = BuildNmChart(diagram_, locale);
    for (const char* name : {kNmPassSeries, kNmFailSeries, kNmGoverningSeries}) {
        for (QAbstractSeries* series : chart->series()) {
            if (series->objectName() == QLatin1String(name)) {
                connect(static_cast<QScatterSeries*>(series), &QScatterSeries::hovered, this,
                        [this](const QPointF& point, bool entered) {
                            if (entered) {
                                QToolTip::showText(QCursor::pos(), HoverText(point), view_);
                            } else {
                                QToolTip::hideText();
                            }
                        });
            }
        }
    }
    QChart* old = view_->chart();
    view_->setChart(chart);  // the view owns the new chart
    delete old;
}

QString NmChartTab::HoverText(const QPointF& point) const {
    const EnvelopeLoad* nearest = nullptr;
    double best = std::numeric_limits<double>::infinity();
    for (const EnvelopeLoad& l : diagram_.loads) {
        const double d = std::hypot(l.N_kN - point.x(), l.M_kNm - point.y());
        if (d < best) {
            best = d;
            nearest = &l;
        }
    }
    if (!nearest) {
        return {};
    }
    const QLocale locale;
    return QStringLiteral("Schemat nr %1: N = %2 kN, |M| = %3 kNm\nwykorzystanie %4 (%5)%6")
        .arg(nearest->name, Format(nearest->N_kN, u"### ##0.0", locale).trimmed(),
             Format(nearest->M_kNm, u"### ##0.0", locale).trimmed(),
             Format(nearest->ratio.max, u"##0.00", locale).trimmed(),
             NmCheckLabel(nearest->ratio.check),
             nearest->passes ? QString() : QStringLiteral(" — nie spełnia"));
}

void NmChartTab::showEvent(QShowEvent* event) {
    Refresh();
    QWidget::showEvent(event);
}

NmChartTab* AddNmChartTab(QMainWindow& window, const DesignCase& s) {
    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("tabWyniki"));
    tabs->setDocumentMode(true);
    if (QWidget* page = window.takeCentralWidget()) {
        tabs->addTab(page, QStringLiteral("Strona"));
    }
    auto* tab = new NmChartTab(s);
    tabs->addTab(tab, QStringLiteral("Wykres N–M"));
    window.setCentralWidget(tabs);
    return tab;
}

}  // namespace vardel

// The results window's N-M diagram tab, offscreen.
#include "ui/nm_chart_tab.h"

#include "tests/report/report_fixture.h"
#include "ui/results_window.h"

#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QScatterSeries>

#include <gtest/gtest.h>

namespace vardel {
namespace {

QScatterSeries* Series(QChart* chart, const char* name) {
    for (QAbstractSeries* s : chart->series()) {
        if (s->objectName() == QLatin1String(name)) {
            return static_cast<QScatterSeries*>(s);
        }
    }
    return nullptr;
}

// The second tab of the results window shows every case as one point, hollow where the case
// fails; the mouse on one names it with its ratio; the diagram follows the design when it changes.
TEST(NmChartTab, OnePointPerCaseHoverAndANewDesign) {
    DesignCase s;
    test::Calculated(s, test::Plate{}, test::SixCases(), 0, QLocale::c());
    QTemporaryDir dir;
    QWidget input;
    ResultsWindow w(s, dir.path(), &input, [] {});
    auto* tab = w.findChild<NmChartTab*>(QStringLiteral("NmChartTab"));
    ASSERT_NE(tab, nullptr);
    w.findChild<QTabWidget*>(QStringLiteral("tabWyniki"))->setCurrentWidget(tab);
    w.show();
    QChart* chart = tab->chart();
    QScatterSeries* pass = Series(chart, kNmPassSeries);
    QScatterSeries* fail = Series(chart, kNmFailSeries);
    ASSERT_TRUE(pass && fail);
    // Cases 4 to 6 exceed a check (see SixCases).
    EXPECT_EQ(std::pair(pass->count(), fail->count()), std::pair(3, 3));
    EXPECT_EQ(tab->diagram().envelope.points.size(), std::size_t(kEnvelopePoints));

    // The mouse comes onto case 4.
    w.resize(900, 800);
    QCoreApplication::processEvents();
    auto* view = tab->findChild<QChartView*>();
    const QPoint at =
        view->mapFromScene(chart->mapToScene(chart->mapToPosition(fail->at(0), fail)));
    QTest::mouseMove(view->viewport(), at - QPoint(20, 20));
    QTest::mouseMove(view->viewport(), at);
    EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral(
        "Schemat nr 4: N = 1 000.0 kN, |M| = 400.0 kNm\nwykorzystanie 2.21 (stal śrub)")))
        << QToolTip::text().toStdString();
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("nie spełnia")));

    test::Calculated(s, test::Plate{}, {{700, 100, 5}}, 0, QLocale::c());
    tab->hide();
    tab->show();
    ASSERT_NE(tab->chart(), chart);
    EXPECT_EQ(Series(tab->chart(), kNmPassSeries)->count(), 1);
    EXPECT_EQ(Series(tab->chart(), kNmFailSeries)->count(), 0);

    // The same load under the PN-EN checks: judged by them, the plastic curve beside.
    chart = tab->chart();
    s.Norma = kNormaEurocode;
    test::Calculated(s, test::Plate{}, {{700, 100, 5}}, 0, QLocale::c());
    tab->hide();
    tab->show();
    ASSERT_NE(tab->chart(), chart);
    EXPECT_TRUE(tab->chart()->title().contains(QStringLiteral("PN-EN 1993-1-8")));
    const QList<QAbstractSeries*> series = tab->chart()->series();
    EXPECT_TRUE(std::any_of(series.begin(), series.end(), [](QAbstractSeries* s) {
        return s->objectName() == QLatin1String(kNmPlasticSeries);
    }));
    ASSERT_EQ(tab->diagram().loads.size(), 1u);
    EXPECT_EQ(tab->diagram().loads[0].ratio.max, s.Wyniki_EN.maxUtilisation);
}

}  // namespace
}  // namespace vardel

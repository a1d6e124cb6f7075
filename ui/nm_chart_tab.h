// The results window's second tab: the N–M interaction diagram of the design with every load
// case on it. Hovering a case names it with its ratio; the diagram is drawn again whenever the
// tab is shown after the design changed.
#pragma once

#include "charts/nm_chart.h"
#include "state/design_case.h"

#include <QByteArray>
#include <QWidget>

class QChart;
class QChartView;
class QMainWindow;

namespace vardel {

class NmChartTab : public QWidget {  // object name "NmChartTab"
    Q_OBJECT

  public:
    NmChartTab(const DesignCase& s, QWidget* parent = nullptr);

    // Takes the diagram of the design as it is now (worked out by the caller for the report), to
    // be drawn when the tab is shown.
    void Take(NmDiagram diagram);
    // Draws the diagram of the design as it is now, unless it is drawn already.
    void Refresh();

    QChart* chart() const;
    const NmDiagram& diagram() const { return diagram_; }
    // What hovering the load at `point` shows: its name, loads and largest ratio.
    QString HoverText(const QPointF& point) const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    const DesignCase& s_;
    QChartView* view_ = nullptr;
    NmDiagram diagram_;
    QByteArray diagramFor_;  // the design diagram_ is of, as DesignKey gives it
    QByteArray drawnFor_;    // the design the chart shows
};

// Puts the window's central widget into the first of two tabs and the diagram into the second.
NmChartTab* AddNmChartTab(QMainWindow& window, const DesignCase& s);

}  // namespace vardel

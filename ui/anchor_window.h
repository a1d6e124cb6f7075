// The anchor selection window: for the bolt of the design case, the hook anchor and the plate
// anchor of the catalogue on two tabs, with their dimensions, the bolt's capacity and sketches.
// "O&K" adds the anchor of the current tab to the report; "Anuluj" closes without one.
// Object names are the control names; the labels that exist on both tabs (lblNazwa, lbldia,
// lblNosnosc, lblLo, lblLd, lblLcalk) share their name and carry the tab in the property "Index".
#pragma once

#include "anchors/catalogue.h"
#include "state/design_case.h"
#include "state/prompter.h"

#include <QDialog>
#include <QLocale>
#include <QString>

#include <optional>

class QLabel;
class QPushButton;
class QTabWidget;

namespace vardel {

class DoborVdlOK : public QDialog {
    Q_OBJECT

  public:
    // `programDir` holds the installed anchor sketches; Szkick.bmp goes into `runDir` (empty:
    // `programDir`).
    DoborVdlOK(DesignCase& s, const QString& programDir, QWidget* parent = nullptr,
               const QString& runDir = {});

    // The loading of the window: forgets an earlier confirmation, asks for the thickness through
    // `prompter` and fills both tabs. A failure is told through `prompter`; the window then
    // shows no anchor and offers only "Anuluj".
    void Load(Prompter& prompter, const QLocale& locale = QLocale());

    // The anchors shown, when loading succeeded.
    const std::optional<Anchors>& anchors() const { return anchors_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void cmdOK_Click();

    DesignCase& s_;
    QString programDir_;
    QString runDir_;
    QLocale locale_;
    std::optional<Anchors> anchors_;
    QTabWidget* SSTab1;
    QPushButton* cmdOK;
    QPushButton* cmdAnuluj;
    QLabel* Picture1;
    QLabel* Picture2;
};

// The anchor selection command of the results window: loads the window (the thickness prompt
// comes first), shows it modally and returns true when an anchor was confirmed, which then
// stands in Dobor_teksty/Dobor_liczba with its sketch saved as Szkick.bmp. Either way
// Dobor_liczba was reset when the window loaded, so the caller renders the page again.
bool RunAnchorSelection(DesignCase& s, const QString& programDir, QWidget* parent,
                        const QString& runDir = {});

}  // namespace vardel

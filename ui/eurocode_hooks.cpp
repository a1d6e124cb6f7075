// The input window's part of the code choice: the combo box on the configuration tab, the
// "Eurocode" tab shown only for PN-EN, its sketch, and its inputs taken before a calculation.
#include "ui/eurocode_tab.h"
#include "ui/input_helpers.h"
#include "ui/input_window.h"

#include "calc/calculate.h"
#include "state/numbers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace vardel {

void InputWindow::BuildEurocode(QWidget* configurationTab, QGridLayout* grid, int row) {
    cmbNorma_ = new QComboBox(configurationTab);
    cmbNorma_->setObjectName(QStringLiteral("cmbNorma"));
    cmbNorma_->addItems({QStringLiteral("PN-B-03215:1999, PN-B-03264:2002"),
                         QStringLiteral("PN-EN 1993-1-8, PN-EN 1992-1-1, PN-EN 1992-4")});
    auto* label = new QLabel(QStringLiteral("Normy sprawdzeń"), configurationTab);
    label->setObjectName(QStringLiteral("lblNorma"));
    grid->addWidget(label, row, 0);
    grid->addWidget(cmbNorma_, row, 1, 1, 2);
    eurokod_ = new EurocodeTab;
    connect(cmbNorma_, &QComboBox::activated, this, [this](int k) {
        // PN-B keeps the 0 or 1 it had (1 names ω_u in the exports).
        if (k == 1) {
            s_.Norma = kNormaEurocode;
        } else if (s_.Norma == kNormaEurocode) {
            s_.Norma = 0;
        }
        ShowCode();
    });
    connect(eurokod_, &EurocodeTab::inputsEdited, this, &InputWindow::RedrawEurocodeSketch);
    // The ring and bolt fields stand on other tabs: the sketch follows them when its tab opens.
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { RedrawEurocodeSketch(); });
}

void InputWindow::ShowCode() {
    const bool en = UsesEurocode(s_);
    cmbNorma_->setCurrentIndex(en ? 1 : 0);
    eurokod_->Show(s_.Eurokod, locale_);
    tabs_->setTabVisible(tabs_->indexOf(eurokod_), en);
    RedrawEurocodeSketch();
}

void InputWindow::RedrawEurocodeSketch() {
    if (!loaded_ || !UsesEurocode(s_)) {
        return;
    }
    // The ring and bolts as the fields hold them now.
    DesignCase d = s_;
    const auto single = [&](QLineEdit* e, float& v) {
        const SingleResult r = ToSingle(e->text(), locale_);
        if (r.status == Convert::Ok) {
            v = r.value;
        }
    };
    single(text_[3], d.R_zewn);
    single(text_[4], d.R_wewn);
    single(text_[11], d.R_srub);
    const Int16Result n = ToInt16(text_[12]->text(), locale_);
    if (n.status == Convert::Ok && n.value > 0 && n.value <= kMaxBolts) {
        d.Liczba_srub = n.value;
        d.Kat_srub = 2 * kPi / n.value;
    }
    eurokod_->Redraw(d, locale_);
}

bool InputWindow::TakeEurocodeInputs() {
    if (!UsesEurocode(s_)) {
        return true;
    }
    if (const std::optional<QString> problem = eurokod_->Read(s_.Eurokod, locale_)) {
        tabs_->setCurrentWidget(eurokod_);
        input_ui::ShowStop(this, Stop{ProgramTitle(), *problem, StopIcon::Exclamation});
        return false;
    }
    return true;
}

}  // namespace vardel

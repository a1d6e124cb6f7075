// The dialog in which the user fixes the ratio of elastic moduli n = E/Eb by hand: the value the
// standard recommends, the value of the chosen concrete, or a typed one.
#pragma once

#include "state/design_case.h"

#include <QDialog>
#include <QLocale>

namespace vardel {

class StiffnessDialog : public QDialog {  // object name "VardelPon"
    Q_OBJECT

  public:
    // Reads s.Eb and s.Es_Eb; each of the three buttons sets s.Es_Eb and accepts the dialog.
    // Closing the dialog by its close box leaves s.Es_Eb as it was.
    StiffnessDialog(DesignCase& s, const QLocale& locale, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Choose(int index);

    DesignCase& s_;
    QLocale locale_;
};

}  // namespace vardel

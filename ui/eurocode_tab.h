// The input window's "Eurocode" tab: the PN-EN inputs (plate, tube, block, concrete, anchors,
// partial factors) and a sketch of the block, the plate, the tube and the effective ring. Shown
// only while the PN-EN checks are chosen.
#pragma once

#include "state/design_case.h"

#include <QLocale>
#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace vardel {

class EurocodeTab : public QWidget {
    Q_OBJECT

  public:
    explicit EurocodeTab(QWidget* parent = nullptr);

    // Fills the fields from the inputs.
    void Show(const EurocodeInputs& e, const QLocale& locale);

    // The fields read into `e`: nothing when every field holds a value, else the message naming
    // the field that does not (and `e` is left as it was).
    std::optional<QString> Read(EurocodeInputs& e, const QLocale& locale) const;

    // Draws the sketch for the design `s` with the tab's inputs (the ring and bolts from `s`);
    // fields that hold no number keep the sketch as it was.
    void Redraw(const DesignCase& s, const QLocale& locale);

  signals:
    // A field changed: the window redraws the sketch with its current ring.
    void inputsEdited();

  private:
    QLineEdit* t_blachy_ = nullptr;
    QComboBox* stal_blachy_ = nullptr;
    QLineEdit* d_rury_ = nullptr;
    QLineEdit* t_rury_ = nullptr;
    QLineEdit* b_bloku_ = nullptr;
    QLineEdit* h_bloku_ = nullptr;
    QComboBox* klasa_c_ = nullptr;
    QCheckBox* zarysowany_ = nullptr;
    QComboBox* klasa_sruby_ = nullptr;
    QLineEdit* h_ef_ = nullptr;
    QLineEdit* d_glowy_ = nullptr;
    QComboBox* zalacznik_ = nullptr;
    QLabel* sketch_ = nullptr;
};

}  // namespace vardel

#include "ui/stiffness_dialog.h"

#include "calc/calculate.h"
#include "calc/stiffness_ratio.h"
#include "ui/input_helpers.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vardel {

StiffnessDialog::StiffnessDialog(DesignCase& s, const QLocale& locale, QWidget* parent)
    : QDialog(parent), s_(s), locale_(locale) {
    setObjectName(QStringLiteral("VardelPon"));
    setWindowTitle(QStringLiteral("Stosunek współczynników sprężystości n=E/Eb"));
    setModal(true);

    const std::optional<double> nb = ConcreteRatio(s_.Eb);
    const QString nbText = nb ? PlainNumber(*nb, locale_) : QStringLiteral("?");

    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setToolTip(QStringLiteral("PN-85/B-03215 p. 5.5.1."));
    label->setText(QStringLiteral("PN zaleca przyjmowanie współczynnika n = 6\n"
                                  "Dla podanej marki betonu n = ") +
                   nbText + QStringLiteral("\nPodaj wartość wspólczynnika"));

    auto* buttons = new QHBoxLayout;
    const QString captions[3] = {QStringLiteral("n=6"), nbText, QStringLiteral("Inna wartość")};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(captions[i], this);
        b->setObjectName(QStringLiteral("cmdn(%1)").arg(i));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { Choose(i); });
        buttons->addWidget(b);
    }
    // Without a concrete there is no concrete-based value to offer.
    findChild<QPushButton*>(QStringLiteral("cmdn(1)"))->setEnabled(nb.has_value());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void StiffnessDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    input_ui::CentreOnScreen(*this);
    findChild<QPushButton*>(QStringLiteral("cmdn(0)"))->setFocus();
}

void StiffnessDialog::Choose(int index) {
    if (index == 0) {
        s_.Es_Eb = kRecommendedRatio;
    } else if (index == 1) {
        s_.Es_Eb = ConcreteRatio(s_.Eb).value_or(s_.Es_Eb);
    } else {
        // Asked until the answer is a number the settings file can keep; an empty answer and
        // Cancel take the recommended value.
        QString proposed = PlainNumber(s_.Es_Eb, locale_);
        for (;;) {
            bool ok = false;
            const QString answer = QInputDialog::getText(
                this, QStringLiteral("Stosunek współczynników sztywności"),
                QStringLiteral("Podaj stosunek współczynników sztywności n=E/Eb"),
                QLineEdit::Normal, proposed, &ok);
            if (!ok || answer.isEmpty()) {
                s_.Es_Eb = kRecommendedRatio;
                break;
            }
            const TypedRatio typed = ParseTypedRatio(answer, locale_);
            if (typed.value) {
                s_.Es_Eb = *typed.value;
                break;
            }
            input_ui::ShowStop(this, Stop{ProgramTitle(), typed.refusal, StopIcon::Exclamation});
            proposed = answer;
        }
    }
    accept();
}

}  // namespace vardel

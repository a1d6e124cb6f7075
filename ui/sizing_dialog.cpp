#include "ui/sizing_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vardel {

QString CheckCaption(Check check) {
    switch (check) {
        case Check::Bolt:
            return QStringLiteral("śruby");
        case Check::Concrete:
            return QStringLiteral("beton");
        case Check::Shear:
            return QStringLiteral("siły poziome");
    }
    return {};
}

// The PN-EN check that governs a layout, in the window's words.
QString EurocodeCheckCaption(std::string_view check) {
    static const std::pair<std::string_view, const char*> kCaptions[] = {
        {"bearing", "docisk betonu"},
        {"anchor_steel", "stal kotew"},
        {"cone", "stożek betonu"},
        {"pullout", "wyciągnięcie kotwy"},
        {"anchorage", "zakotwienie haka"},
        {"shear", "ścinanie"},
        {"pryout", "podważenie betonu"},
        {"tension_shear_steel", "rozciąganie ze ścinaniem (stal)"},
        {"tension_shear_concrete", "rozciąganie ze ścinaniem (beton)"},
        {"plate", "zginanie blachy"}};
    for (const auto& [name, caption] : kCaptions) {
        if (name == check) {
            return QString::fromUtf8(caption);
        }
    }
    return QString::fromUtf8(check.data(), static_cast<qsizetype>(check.size()));
}

BoltSizingDialog::BoltSizingDialog(DesignSearch search, bool rowsOfTable, const QLocale& locale,
                                   QWidget* parent)
    : QDialog(parent), search_(std::move(search)) {
    setObjectName(QStringLiteral("frmDobor"));
    setWindowTitle(QStringLiteral("Dobór śrub"));
    auto* caption =
        new QLabel(QStringLiteral("Sprawdzono układów śrub: %1. Najlżejsze z tych, które przenoszą "
                                  "wszystkie przypadki obciążenia:")
                       .arg(search_.checked),
                   this);
    caption->setWordWrap(true);

    const QStringList headers = {
        QStringLiteral("Liczba śrub"),
        QStringLiteral("Średnica [mm]"),
        QStringLiteral("Pole śrub [cm²]"),
        QStringLiteral("Wykorzystanie"),
        QStringLiteral("Decyduje"),
        rowsOfTable ? QStringLiteral("Wiersz") : QStringLiteral("Przypadek")};
    table_ = new QTableWidget(static_cast<int>(search_.best.size()), headers.size(), this);
    table_->setObjectName(QStringLiteral("tblUklady"));
    table_->setHorizontalHeaderLabels(headers);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int r = 0; r < table_->rowCount(); ++r) {
        const BoltLayout& l = search_.best[r];
        const QString cells[] = {
            QString::number(l.Liczba_srub),
            QString::number(l.d_mm),
            locale.toString(l.As_total_cm2, 'f', 2),
            locale.toString(l.utilisation.max, 'f', 3),
            l.enCheck.empty() ? CheckCaption(l.utilisation.check) : EurocodeCheckCaption(l.enCheck),
            QString::number(l.utilisation.index)};
        for (int c = 0; c < headers.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == 4 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->selectRow(0);
    table_->setMinimumWidth(table_->horizontalHeader()->length() + 24);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* apply =
        buttons->addButton(QStringLiteral("Zastosuj"), QDialogButtonBox::AcceptRole);
    apply->setObjectName(QStringLiteral("cmdZastosuj"));
    apply->setToolTip(QStringLiteral("Wpisz liczbę i średnicę śrub wybranego układu"));
    buttons->addButton(QStringLiteral("Zamknij"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(table_->minimumWidth() + 24, 420);
}

const BoltLayout& BoltSizingDialog::Chosen() const {
    const int r = table_->currentRow();
    return search_.best[r >= 0 && r < static_cast<int>(search_.best.size()) ? r : 0];
}

}  // namespace vardel

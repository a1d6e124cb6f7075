// The design assistant's answer: the bolt layouts that pass every load case, lightest first, of
// which the user takes one into the bolt fields.
#pragma once

#include "calc/design_search.h"

#include <QDialog>
#include <QLocale>

class QTableWidget;

namespace vardel {

class BoltSizingDialog : public QDialog {  // object name "frmDobor"
    Q_OBJECT

  public:
    // `search` must list at least one layout. `rowsOfTable`: the cases are rows of a load table,
    // so the governing case is named as a row.
    BoltSizingDialog(DesignSearch search, bool rowsOfTable, const QLocale& locale,
                     QWidget* parent = nullptr);

    // The layout of the selected row; the lightest until the user picks another.
    const BoltLayout& Chosen() const;

  private:
    DesignSearch search_;
    QTableWidget* table_ = nullptr;
};

// The Polish name of a check, as the dialog and the load-table message show it.
QString CheckCaption(Check check);

}  // namespace vardel

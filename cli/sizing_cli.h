// vardel-calc's sizing options: the utilisation of every run, --design (the design assistant)
// and --loads FILE (a load table with any number of rows).
#pragma once

#include "calc/calculate.h"
#include "calc/design_search.h"
#include "calc/load_rows.h"
#include "texts/load_table.h"

#include <QCommandLineParser>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace vardel {

struct SizingOptions {
    bool design = false;
    QString loadsFile;
};

// The sizing options, for the command line's parser and its help.
QList<QCommandLineOption> SizingCommandLineOptions();

// The sizing options of a parsed command line: an empty text, or the reason one is wrong.
QString TakeSizingOptions(const QCommandLineParser& parser, SizingOptions& o);

class SizingRun {
  public:
    explicit SizingRun(SizingOptions options) : o_(std::move(options)) {}

    // Runs the calculate command in place of a plain Calculate: with a load table, its rows
    // (every one of them calculated, the state holding the first six or the governing ones);
    // with --design, the assistant as well. `error` is set, with the result nullopt, for a load
    // table that cannot be read (exit 2).
    std::optional<Stop> Calculate(InputFields fields, DesignCase& s, const QLocale& locale,
                                  QString& error);

    // The utilisation per case and of the design, the rows of a load table, the assistant's
    // layouts.
    void AddToJson(QJsonObject& o, const DesignCase& s) const;
    void Summary(const DesignCase& s, QTextStream& out) const;

    // 1 when the assistant found no passing layout (with the message on `err`), else 0.
    int Finish(QTextStream& err) const;

    // The load table, what each of its rows gave; empty without one.
    const LoadTable& table() const { return table_; }
    const std::vector<RowResult>& rowResults() const { return rows_; }
    // Each row's PN-EN checks when those were chosen; empty otherwise.
    const std::vector<std::vector<CheckResult>>& eurocodeRows() const { return enRows_; }

  private:
    // The design's largest ratio by the checks of the chosen code: the check's name and the case
    // (with a load table, the row) that reaches it.
    struct DesignRatio {
        double max = 0;
        QString check;
        int index = 0;
    };
    DesignRatio DesignUtilisation(const DesignCase& s) const;

    SizingOptions o_;
    LoadTable table_;
    std::vector<RowLoads> loads_;
    std::vector<RowResult> rows_;
    std::vector<int> reportRows_;  // 1-based rows of the table that the state's cases hold
    std::vector<std::vector<CheckResult>> enRows_;  // each row's PN-EN checks, when chosen
    std::optional<DesignSearch> search_;
};

}  // namespace vardel

// A calculated and composed report for the benchmarks: the shipped Polish language files, a ring
// plate of 300/100 mm with eight M24 bolts on a 250 mm circle and up to six load cases.
#pragma once

#include "calc/calculate.h"
#include "report/report_lines.h"
#include "state/design_case.h"

#include <QGuiApplication>
#include <QLocale>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace vardel::bench {

// The program directory of this build, beside the bench directory.
QString ProgramDir();

// The input fields of the six load cases.
InputFields SixCaseFields();

// Those fields calculated with the first `cases` of their load cases (B20, n = 205/29).
DesignCase CalculatedCases(int cases);

struct Report {
    DesignCase state;
    ReportLines lines;
    HeaderTexts header;
};

// Calculates the first `cases` load cases and composes the report; aborts when the calculation
// stops or the language files are missing, since every measurement needs a real report.
Report CalculatedReport(int cases, const QLocale& locale);

// Runs the registered benchmarks inside an offscreen Qt application (painting needs fonts); the
// window benchmarks pass QApplication.
template <typename Application = QGuiApplication>
int RunWithOffscreenGui(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace vardel::bench

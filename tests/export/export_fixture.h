// A calculated, composed report with its header texts, as the results window holds it before an
// export, and a program directory holding the pictures the exports embed.
#pragma once

#include "charts/nm_chart.h"
#include "report/compose.h"
#include "report/header.h"
#include "sketches/ring_sketches.h"
#include "tests/report/report_fixture.h"
#include "tests/test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace vardel::test {

inline const QDateTime kClock(QDate(2026, 3, 7), QTime(14, 30));

struct Report {
    DesignCase s;
    ReportLines lines;
    HeaderTexts header;
};

inline void Compose(Report& r, const Plate& p, const std::vector<Load>& loads, int jezyk, int norma,
                    const QLocale& locale) {
    r.s.Norma = static_cast<Int16>(norma);  // 2: the PN-EN checks run with the calculation
    Calculated(r.s, p, loads, jezyk, locale);
    r.s.Oznaczenie_stopy = QStringLiteral("SF-1 oś A/3");
    ComposeReport(r.s, r.lines, locale);
    r.lines.nmDiagram = true;  // drawn by FillProgramDir
    SetHeaderTexts(r.s, r.header, kClock, locale);
}

// Fills `dir` as the results window leaves the program directory: the installed pictures of the
// build's program directory, the ring plan, the sketch of every case with bolts in tension and
// the N–M diagram.
inline void FillProgramDir(const DesignCase& s, const QString& dir) {
    for (const char* name :
         {"Sily.bmp", "gkrysOK.bmp", "gkrys0.bmp", "Vdlogo2.bmp", "Vdlrob.bmp"}) {
        const QString n = QString::fromLatin1(name);
        ASSERT_TRUE(QFile::copy(QDir(ProgramDir()).filePath(n), QDir(dir).filePath(n))) << name;
    }
    ASSERT_EQ(SavePlanSketch(s, dir), QString());
    for (int k = 0; k < s.Liczba_przyp; ++k) {
        if (HasStressSketch(s, k + 1)) {
            ASSERT_EQ(DrawStressSketch(s, dir, k), QString());
        }
    }
    ASSERT_EQ(SaveNmReportPicture(StateDiagram(s, Polish()), Polish(), dir), QString());
}

}  // namespace vardel::test

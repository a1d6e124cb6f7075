// The page header texts: the standard reference, the project name, the date and time, the page
// label and the base-plate designation, which the page files and the exports print at the top of
// every page.
#pragma once

#include "report/report_lines.h"
#include "state/design_case.h"
#include "state/prompter.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace vardel {

constexpr int kDesignationMaxLength = 32;

// The fixed Polish title line naming the standards the check follows.
QString StandardReferenceLine();

// The date as dd/mm/yy, five blanks and the time as hh:mm (24-hour), with the date and time
// separators of `locale`.
QString HeaderDateTime(const QDateTime& now, const QLocale& locale);

// Asks for the base-plate designation with the current one as the default, and stores the
// answer cut to 32 characters; Cancel keeps the designation as it was. Returns the stored
// designation, which the results window also shows in its status bar.
QString AskDesignation(DesignCase& s, Prompter& prompter);

// The page label as the page shows it: "Strona " and the page number formatted "####" (page 0
// shows no number).
QString PageLabel(const HeaderTexts& header, Int16 strona);

// Sets every header text from the state and the clock, without asking anything.
void SetHeaderTexts(const DesignCase& s, HeaderTexts& header, const QDateTime& now,
                    const QLocale& locale);

// The header refresh before every print, EMF job and status-bar change: sets the texts, asks for
// the designation (accepting the default keeps it) and takes the answer into the header.
void RefreshHeaderTexts(DesignCase& s, HeaderTexts& header, Prompter& prompter,
                        const QDateTime& now, const QLocale& locale);

// Before an export: when no designation has been given yet, asks for it once and refreshes the
// header texts. Returns whether it asked.
bool EnsureDesignation(DesignCase& s, HeaderTexts& header, Prompter& prompter, const QDateTime& now,
                       const QLocale& locale);

}  // namespace vardel

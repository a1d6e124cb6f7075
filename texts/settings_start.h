// The settings file at the start of the windows. A file that cannot be read as settings (mended by
// hand, cut short by a full disk) neither ends the program nor is lost: it is kept beside under a
// new name and the program starts from the shipped settings.
#pragma once

#include "state/design_case.h"
#include "texts/file_error.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace vardel {

struct SettingsAtStart {
    FileResult fatal;  // no start possible: the file is missing or cannot be read at all
    QString told;      // a damaged file was put aside and the shipped settings taken: why and where
};

// Reads the settings file of `programDir` into `s`. A damaged one is renamed to
// "VardelOK-uszkodzony-<now>.cfg", the shipped settings take its place (written whole) and are
// read into `s`, and `told` says so; a file that cannot even be renamed stays where it is, and
// the start fails with the reason.
SettingsAtStart ReadSettingsAtStart(DesignCase& s, const QString& programDir, const QDateTime& now);

// The settings file the program ships with, built in.
QByteArray ShippedSettingsBytes();

}  // namespace vardel

// The print program's status file W_X.txt: how its last run ended and the page number it reached.
#pragma once

#include "state/design_case.h"
#include "texts/file_error.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vardel {

inline QString PrintStatusFileName() {
    return QStringLiteral("W_X.txt");
}

struct PrintStatus {
    float S = 0;  // above 0 when the print program ended its work properly
    Int16 P = 0;  // the page number to carry into the next run
};

// The two values, separated by a comma, blanks or a line end; nothing when the file is missing,
// unreadable or does not hold them.
std::optional<PrintStatus> ReadPrintStatus(const QString& path);
std::optional<PrintStatus> ParsePrintStatus(const QByteArray& bytes);

// Writes "S, P" and a line end, whole or not at all.
[[nodiscard]] FileResult WritePrintStatus(const QString& path, float S, Int16 P);

}  // namespace vardel

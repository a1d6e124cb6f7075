// Writing one of the program's files whole or not at all.
#pragma once

#include <QByteArray>
#include <QString>

namespace vardel {

// Writes `bytes` to `path` through a temporary file that replaces the old one only when every
// byte reached the disk; otherwise the old file stays as it was. Returns an empty string on
// success, else the reason in the program's words (callers name the file in their message).
[[nodiscard]] QString WriteWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace vardel

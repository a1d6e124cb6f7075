// Writing the program's files whole or not at all.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace vardel {

// Writes `bytes` to `path` through a temporary file that replaces the old one only when every
// byte reached the disk; otherwise the old file stays as it was. An existing `path` that is not a
// regular file (a device, a pipe, a terminal) is written into directly, never replaced, and "-"
// is standard output. Returns an empty string on success, else the reason in the program's words
// (callers name the file in their message).
[[nodiscard]] QString WriteWholeFile(const QString& path, const QByteArray& bytes);

// One of several files that a command writes together.
struct FileOutput {
    QString path;
    QByteArray bytes;
};

struct WriteFailure {
    qsizetype index;  // the output that could not be written
    QString reason;
    // How many outputs had been written before the failure: only a device or a pipe written
    // into, or a file whose place could not be taken after others had theirs, makes it more
    // than 0.
    qsizetype written = 0;
};

// Writes every output or replaces no file: all are written to their temporary files first, then
// those that go straight into a device, a pipe or standard output, and only when all of that
// succeeded do the temporary files take the places of the old ones.
[[nodiscard]] std::optional<WriteFailure> WriteWholeFiles(const std::vector<FileOutput>& outputs);

}  // namespace vardel

// Reading one of the program's input files whole, within a bound on its size.
#pragma once

#include <QByteArray>
#include <QString>

namespace vardel {

// No file the program reads comes near these sizes; a larger one is damaged or not meant for it.
constexpr qint64 kMaxTextFileBytes = qint64{1} << 20;      // settings, language, job, status files
constexpr qint64 kMaxPageFileBytes = qint64{4} << 20;      // page files of the print program
constexpr qint64 kMaxPictureFileBytes = qint64{64} << 20;  // bitmaps and page pictures

enum class ReadFailure {
    None,
    Missing,     // no such file
    NotAFile,    // a directory, a device, a pipe ...: nothing the program reads is one
    TooLarge,    // more bytes than the bound
    Unreadable,  // the system refused to open or read it
};

struct WholeFile {
    QByteArray bytes;
    ReadFailure failure = ReadFailure::None;
    qint64 maxBytes = 0;
    QString systemReason;  // the system's words for Missing and Unreadable

    bool ok() const { return failure == ReadFailure::None; }
    // Why the file could not be read, in the program's words, without the file's name.
    QString Reason() const;
};

// Reads the regular file at `path` (a link to one is followed) if it holds at most `maxBytes`.
// Anything that is not a regular file is refused without waiting on it: a pipe with no writer
// or a device that never ends cannot hold the program up.
[[nodiscard]] WholeFile ReadWholeFile(const QString& path, qint64 maxBytes);

}  // namespace vardel

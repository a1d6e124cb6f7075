// A failure to read or write one of the program's own files, in words fit for a message box.
#pragma once

#include <QString>

#include <optional>

namespace vardel {

struct FileError {
    QString message;
};

// Empty when the file was read or written whole.
using FileResult = std::optional<FileError>;

}  // namespace vardel

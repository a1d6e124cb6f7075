#pragma once

#include <QCommandLineOption>

namespace vardel {

// An option as --help lists it: its name, what it does and the name of its value (none for a
// switch).
inline QCommandLineOption CliOption(const char* name, const char* description,
                                    const char* value = nullptr) {
    return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                              QString::fromLatin1(value));
}

}  // namespace vardel

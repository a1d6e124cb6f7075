#include "state/file_write.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace vardel {
namespace {

QString Interrupted(const QString& why) {
    return QStringLiteral("Zapis został przerwany (%1).").arg(why);
}

// Where an output goes: a file that is replaced whole, or something that is written into.
enum class Target { Invalid, Replace, WriteInto };

Target TargetOf(const QString& path) {
    if (path == u"-") {
        return Target::WriteInto;
    }
    if (path.isEmpty()) {
        return Target::Invalid;
    }
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        return Target::Replace;  // a new file, or a failure that the temporary file will report
    }
    if (S_ISDIR(st.st_mode)) {
        return Target::Invalid;
    }
    return S_ISREG(st.st_mode) ? Target::Replace : Target::WriteInto;
}

// Writes all of `bytes` to `fd`; empty, or the system's reason for stopping.
QString WriteAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return Interrupted(qt_error_string(n < 0 ? errno : EIO));
        }
        done += n;
    }
    return {};
}

// Writes into a device, a pipe, or standard output for "-". Nothing can be put back there.
QString WriteInto(const QString& path, const QByteArray& bytes) {
    if (path == u"-") {
        std::fflush(stdout);  // what the program printed before comes first
        return WriteAll(STDOUT_FILENO, bytes);
    }
    // A pipe nobody reads would hold the program up for ever: opened without waiting, it says
    // so at once; with a reader there the writing waits on it as usual.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno == ENXIO ? QStringLiteral("Nikt nie czyta z tego potoku.")
                              : qt_error_string(errno);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const QString reason = WriteAll(fd, bytes);
    ::close(fd);
    return reason;
}

// The temporary file of one output, complete; nothing on disk changes until it is committed.
QString WriteTemporary(QSaveFile& file, const QByteArray& bytes) {
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return file.errorString();
    }
    // The bytes go to the temporary file's descriptor directly: QSaveFile reports a full disk as
    // "Unknown error", and its commit() alone would take a file whose bytes could not all be
    // written for a complete one and put it in place of the old file.
    const QString reason = WriteAll(file.handle(), bytes);
    if (!reason.isEmpty()) {
        file.cancelWriting();
    }
    return reason;
}

}  // namespace

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    const auto failure = WriteWholeFiles({FileOutput{path, bytes}});
    return failure ? failure->reason : QString();
}

std::optional<WriteFailure> WriteWholeFiles(const std::vector<FileOutput>& outputs) {
    std::vector<Target> targets;
    for (qsizetype i = 0; i < static_cast<qsizetype>(outputs.size()); ++i) {
        targets.push_back(TargetOf(outputs[i].path));
        if (targets.back() == Target::Invalid) {
            return WriteFailure{i, QStringLiteral("To nie jest nazwa pliku.")};
        }
    }
    // Temporary files that are not committed are removed when these go.
    std::vector<std::unique_ptr<QSaveFile>> files(outputs.size());
    for (size_t i = 0; i < outputs.size(); ++i) {
        if (targets[i] == Target::Replace) {
            files[i] = std::make_unique<QSaveFile>(outputs[i].path);
            if (QString reason = WriteTemporary(*files[i], outputs[i].bytes); !reason.isEmpty()) {
                return WriteFailure{static_cast<qsizetype>(i), reason};
            }
        }
    }
    qsizetype written = 0;
    for (size_t i = 0; i < outputs.size(); ++i) {
        if (targets[i] == Target::WriteInto) {
            if (QString reason = WriteInto(outputs[i].path, outputs[i].bytes); !reason.isEmpty()) {
                return WriteFailure{static_cast<qsizetype>(i), reason, written};
            }
            ++written;
        }
    }
    for (size_t i = 0; i < outputs.size(); ++i) {
        if (files[i]) {
            if (!files[i]->commit()) {
                return WriteFailure{static_cast<qsizetype>(i), files[i]->errorString(), written};
            }
            ++written;
        }
    }
    return std::nullopt;
}

}  // namespace vardel

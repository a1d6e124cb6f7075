#include "state/file_read.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vardel {

QString WholeFile::Reason() const {
    switch (failure) {
        case ReadFailure::None:
            return {};
        case ReadFailure::NotAFile:
            return QStringLiteral("to nie jest zwykły plik.");
        case ReadFailure::TooLarge:
            return QStringLiteral("plik jest większy niż %1 MB.").arg(maxBytes >> 20);
        case ReadFailure::Missing:
        case ReadFailure::Unreadable:
            break;
    }
    return systemReason + u'.';
}

WholeFile ReadWholeFile(const QString& path, qint64 maxBytes) {
    WholeFile out;
    out.maxBytes = maxBytes;
    const auto fail = [&](ReadFailure failure, int error = 0) {
        out.bytes.clear();
        out.failure = failure;
        out.systemReason = error != 0 ? qt_error_string(error) : QString();
        return out;
    };
    if (path.isEmpty()) {
        return fail(ReadFailure::Missing, ENOENT);
    }
    // Opening a pipe for reading would wait for a writer; without blocking it opens at once and
    // is refused below like every other file that is not a regular one.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return fail(
            error == ENOENT || error == ENOTDIR ? ReadFailure::Missing : ReadFailure::Unreadable,
            error);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return fail(ReadFailure::Unreadable, errno);
    }
    if (!S_ISREG(st.st_mode)) {
        return fail(ReadFailure::NotAFile);
    }
    if (st.st_size > maxBytes) {
        return fail(ReadFailure::TooLarge);
    }
    // The size is only a hint (files under /proc say 0, a file may grow while it is read): the
    // bound holds for what is actually read.
    out.bytes.reserve(static_cast<qsizetype>(st.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(ReadFailure::Unreadable, errno);
        }
        if (n == 0) {
            break;
        }
        if (out.bytes.size() + n > maxBytes) {
            return fail(ReadFailure::TooLarge);
        }
        out.bytes.append(buffer, static_cast<qsizetype>(n));
    }
    return out;
}

}  // namespace vardel

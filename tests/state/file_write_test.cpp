#include "state/file_write.h"

#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>

namespace vardel {
namespace {

// Smaller than the write buffer, so that the failure shows only when the buffer is flushed.
QByteArray Big() {
    return QByteArray(1000, 'x');
}

bool IsRegular(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// The failure gives the system's reason (the file is too large for this process), not a
// placeholder, and no temporary file is left behind.
TEST(WriteWholeFile, ReplacesOnlyWhenEveryByteIsWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VARDELOK.wyd"));
    ASSERT_EQ(WriteWholeFile(path, QByteArrayLiteral("old\r\n")), QString());

    QString reason;
    {
        test::FileSizeLimit limit(64);
        ASSERT_TRUE(limit.ok());
        reason = WriteWholeFile(path, Big());
    }
    EXPECT_TRUE(reason.contains(qt_error_string(EFBIG))) << reason.toStdString();
    EXPECT_EQ(test::ReadAll(path), QByteArrayLiteral("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("VARDELOK.wyd")});

    ASSERT_EQ(WriteWholeFile(path, Big()), QString());
    EXPECT_EQ(test::ReadAll(path), Big());
}

// A path that cannot be written fails whole: a good output written with it replaces nothing.
TEST(WriteWholeFile, PathsThatCannotBeWrittenAndOutputsWrittenWithThem) {
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("ok.pdf"));
    ASSERT_EQ(WriteWholeFile(good, "old"), QString());
    const QString notAName = QStringLiteral("To nie jest nazwa pliku.");
    for (const auto& [path, reason] : {std::pair{QString(), notAName},
                                       {dir.path(), notAName},
                                       {dir.filePath(QStringLiteral("no/such.txt")), QString()},
                                       {QStringLiteral("/proc/x"), QString()}}) {
        SCOPED_TRACE(path.toStdString());
        const QString why = WriteWholeFile(path, QByteArrayLiteral("x"));
        EXPECT_FALSE(why.isEmpty());
        EXPECT_TRUE(reason.isEmpty() || why == reason) << why.toStdString();
        const auto failure = WriteWholeFiles({{good, "new"}, {path, "x"}});
        ASSERT_TRUE(failure);
        EXPECT_EQ(std::pair(failure->index, failure->written),
                  std::pair(qsizetype{1}, qsizetype{0}));
        EXPECT_EQ(test::ReadAll(good), "old");
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("ok.pdf")});
}

// What is not a regular file is written into and stays what it was: a pipe (refused at once
// without a reader), standard output ("-"), a device (a full one gives the system's reason).
TEST(WriteWholeFile, TargetsThatAreNotRegularFilesAreWrittenInto) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_TRUE(test::MakeFifo(fifo));
    EXPECT_EQ(WriteWholeFile(fifo, "x"), QStringLiteral("Nikt nie czyta z tego potoku."));
    // A reader, so that the write goes through.
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_EQ(WriteWholeFile(fifo, "through the pipe"), QString());
    char got[32] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 16);
    EXPECT_STREQ(got, "through the pipe");
    ::close(reader);
    EXPECT_FALSE(IsRegular(fifo));

    const QString full = WriteWholeFile(QStringLiteral("/dev/full"), Big());
    EXPECT_TRUE(full.contains(qt_error_string(ENOSPC))) << full.toStdString();

    const QString captured = dir.filePath(QStringLiteral("stdout"));
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int into = ::open(QFile::encodeName(captured).constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_TRUE(saved >= 0 && into >= 0);
    ::dup2(into, STDOUT_FILENO);
    const QString reason = WriteWholeFile(QStringLiteral("-"), "to standard output");
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(into);
    EXPECT_EQ(reason, QString());
    EXPECT_EQ(test::ReadAll(captured), "to standard output");
}

}  // namespace
}  // namespace vardel

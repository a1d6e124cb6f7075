#include "state/file_write.h"

#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vardel {
namespace {

// Smaller than the write buffer, so that the failure shows only when the buffer is flushed.
QByteArray Big() {
    return QByteArray(1000, 'x');
}

TEST(WriteWholeFile, ReplacesOnlyWhenEveryByteIsWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VARDELOK.wyd"));
    ASSERT_EQ(WriteWholeFile(path, QByteArrayLiteral("old\r\n")), QString());
    ASSERT_EQ(test::ReadAll(path), QByteArrayLiteral("old\r\n"));

    QString reason;
    {
        test::FileSizeLimit limit(64);
        ASSERT_TRUE(limit.ok());
        reason = WriteWholeFile(path, Big());
    }
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(test::ReadAll(path), QByteArrayLiteral("old\r\n"));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("VARDELOK.wyd")});

    ASSERT_EQ(WriteWholeFile(path, Big()), QString());
    EXPECT_EQ(test::ReadAll(path), Big());
}

TEST(WriteWholeFile, PathsThatCannotBeWritten) {
    QTemporaryDir dir;
    for (const QString& path :
         {QString(), dir.path(), dir.filePath(QStringLiteral("no/such.txt"))}) {
        EXPECT_FALSE(WriteWholeFile(path, QByteArrayLiteral("x")).isEmpty()) << path.toStdString();
    }
}

}  // namespace
}  // namespace vardel

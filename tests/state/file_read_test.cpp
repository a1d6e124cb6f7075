#include "state/file_read.h"

#include "tests/test_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vardel {
namespace {

// Only a regular file of at most the bound is read; nothing else is waited on or read whole.
TEST(ReadWholeFile, RefusesWhatIsNoRegularFileOfABoundedSize) {
    QTemporaryDir dir;
    const QString small = dir.filePath(QStringLiteral("small"));
    test::WriteBytes(small, "12345");
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_TRUE(test::MakeFifo(fifo));  // no writer: opening it to read would wait
    const struct {
        QString path;
        qint64 max;
        ReadFailure failure;
    } rows[] = {
        {small, 5, ReadFailure::None},
        {small, 4, ReadFailure::TooLarge},
        {dir.filePath(QStringLiteral("none")), 5, ReadFailure::Missing},
        {small + QStringLiteral("/none"), 5, ReadFailure::Missing},  // through a file
        {dir.path(), 5, ReadFailure::NotAFile},
        {fifo, 5, ReadFailure::NotAFile},
        {QStringLiteral("/dev/zero"), 5, ReadFailure::NotAFile},
        // Says it is empty and is not: the bound holds for what is read.
        {QStringLiteral("/proc/self/status"), 16, ReadFailure::TooLarge},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.path.toStdString());
        const WholeFile file = ReadWholeFile(r.path, r.max);
        EXPECT_EQ(file.failure, r.failure);
        EXPECT_EQ(file.bytes, r.failure == ReadFailure::None ? "12345" : "");
        EXPECT_EQ(file.Reason().isEmpty(), r.failure == ReadFailure::None);
    }
}

}  // namespace
}  // namespace vardel

#include "tests/test_support.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>

namespace vardel::test {

QString DataPath(const QString& relative) {
    return QStringLiteral(VARDEL_TEST_DATA_DIR) + u'/' + relative;
}

QString ProgramDir() {
    return QStringLiteral(VARDEL_PROGRAM_DIR);
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                f.write(bytes) == bytes.size())
        << path.toStdString();
}

bool MakeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

QString CompareGolden(const QString& relative, const QByteArray& actual) {
    const QString golden = DataPath(relative);
    const QString actualPath = golden + QStringLiteral(".actual");
    QFile g(golden);
    if (g.open(QIODevice::ReadOnly) && g.readAll() == actual) {
        QFile::remove(actualPath);
        return {};
    }
    QFile out(actualPath);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        out.write(actual);
    }
    return QStringLiteral("output differs from %1; the new output is at %2")
        .arg(golden, actualPath);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit lowered = previous_;
    lowered.rlim_cur = bytes;
    ok_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
}

}  // namespace vardel::test

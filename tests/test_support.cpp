#include "tests/test_support.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <clocale>
#include <csignal>

namespace vardel::test {

Desktop::Desktop(const char* locale)
    : cLocale_(std::setlocale(LC_ALL, nullptr)), lang_(qgetenv("LANG")), lcAll_(qgetenv("LC_ALL")) {
    ok_ = std::setlocale(LC_ALL, locale) != nullptr;
    QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
    qputenv("LANG", locale);
    qunsetenv("LC_ALL");
}

Desktop::~Desktop() {
    std::setlocale(LC_ALL, cLocale_.constData());
    QLocale::setDefault(qtLocale_);
    lang_.isNull() ? qunsetenv("LANG") : qputenv("LANG", lang_);
    lcAll_.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", lcAll_);
}

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

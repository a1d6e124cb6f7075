// Helpers shared by the tests: locales, files beside the tests, golden-file comparison.
#pragma once

#include <sys/resource.h>

#include <QByteArray>
#include <QLocale>
#include <QString>

namespace vardel::test {

// A decimal-comma locale (Polish) and a decimal-point one (C).
inline QLocale Polish() {
    return QLocale(QLocale::Polish, QLocale::Poland);
}
inline QLocale DecimalPoint() {
    return QLocale::c();
}

// Path of a file kept beside the tests, relative to tests/.
QString DataPath(const QString& relative);
// Path of the assembled program directory of this build.
QString ProgramDir();

QByteArray ReadAll(const QString& path);
// Writes `bytes` to `path`, replacing it; fails the calling test when it cannot.
void WriteBytes(const QString& path, const QByteArray& bytes);

// Makes a named pipe at `path`: an input that a careless reader would wait on for ever.
bool MakeFifo(const QString& path);

// Compares `actual` with the golden file tests/<relative>. On a mismatch the new output is left
// beside the golden one as <relative>.actual so that a person can read the difference and accept
// it with scripts/accept-golden.sh. Returns an empty string when equal, else a description.
QString CompareGolden(const QString& relative, const QByteArray& actual);

// Lowers the file-size limit of this process while it lives, so that a write fails half-way
// whatever the user's rights (the tests run as root in CI).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return ok_; }

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool ok_ = false;
};

}  // namespace vardel::test

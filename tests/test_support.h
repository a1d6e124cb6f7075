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

// The process on a desktop of the given locale ("pl_PL.UTF-8", "C") while it lives: the C
// library's locale, Qt's default locale and LANG for the programs it starts (LC_ALL unset); the
// previous ones come back at the end. ok() is false when the machine lacks the locale
// (scripts/install-deps.sh generates the ones the tests use).
class Desktop {
  public:
    explicit Desktop(const char* locale);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;
    bool ok() const { return ok_; }

  private:
    QByteArray cLocale_, lang_, lcAll_;
    QLocale qtLocale_;
    bool ok_ = false;
};

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

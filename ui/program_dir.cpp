#include "ui/program_dir.h"

#include "print/print_job.h"
#include "state/file_write.h"
#include "texts/settings_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace vardel {
namespace {

bool IsProgram(const QFileInfo& f) {
    return f.isExecutable();
}

QString Seed(const QString& exeDir, const QString& userDir) {
    const QFileInfoList shipped =
        QDir(exeDir).entryInfoList(QDir::Files | QDir::Readable | QDir::NoDotAndDotDot);
    for (const QFileInfo& from : shipped) {
        if (IsProgram(from)) {
            continue;
        }
        const QFileInfo to(QDir(userDir).filePath(from.fileName()));
        const bool keepUsers = from.fileName() == SettingsFileName();
        if (to.exists() && (keepUsers || to.lastModified() >= from.lastModified())) {
            continue;
        }
        QFile in(from.filePath());
        if (!in.open(QIODevice::ReadOnly)) {
            return QStringLiteral("Nie można odczytać pliku %1.").arg(from.filePath());
        }
        if (const QString why = WriteWholeFile(to.filePath(), in.readAll()); !why.isEmpty()) {
            return QStringLiteral("Nie można zapisać pliku %1: %2").arg(to.filePath(), why);
        }
    }
    const QString printProgram = PrintProgramPath(exeDir);
    const QString link = PrintProgramPath(userDir);
    if (QFileInfo(link).symLinkTarget() != printProgram) {
        QFile::remove(link);
        if (!QFile::link(printProgram, link)) {
            return QStringLiteral("Nie można utworzyć odnośnika %1 do programu drukującego.")
                .arg(link);
        }
    }
    return {};
}

}  // namespace

bool IsWritableDir(const QString& dir) {
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".vardel-probe-XXXXXX")));
    return probe.open();
}

ProgramDirChoice ChooseProgramDir(const QString& exeDir, const QString& userDir,
                                  bool exeDirWritable) {
    if (exeDirWritable) {
        return {exeDir, {}};
    }
    if (userDir.isEmpty() || !QDir().mkpath(userDir)) {
        return {{},
                QStringLiteral("Katalog programu %1 jest tylko do odczytu, a katalogu danych "
                               "użytkownika %2 nie można utworzyć.")
                    .arg(exeDir, userDir)};
    }
    if (QString why = Seed(exeDir, userDir); !why.isEmpty()) {
        return {{}, why};
    }
    return {userDir, {}};
}

ProgramDirChoice ProgramDirForThisRun() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    return ChooseProgramDir(exeDir,
                            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                            IsWritableDir(exeDir));
}

}  // namespace vardel

#include "print/run_folder.h"

#include "sketches/bitmap_file.h"
#include "state/file_read.h"
#include "state/file_write.h"
#include "texts/print_status.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace vardel {

RunFolder::RunFolder() : dir_(QDir(QDir::tempPath()).filePath(QStringLiteral("vardel-XXXXXX"))) {}

QString RunFolder::error() const {
    return QStringLiteral("Nie można utworzyć katalogu roboczego w %1: %2")
        .arg(QDir::tempPath(), dir_.errorString());
}

PrintResult KeepInProgramDir(const PageSource& src, std::optional<PrintMode> job) {
    if (src.runDir.isEmpty() ||
        QDir(src.runDir).canonicalPath() == QDir(src.programDir).canonicalPath()) {
        return {};
    }
    std::vector<FileOutput> kept;
    QStringList names = {QStringLiteral("Piersc.bmp"), QStringLiteral("Szkick.bmp"),
                         NmDiagramFileName()};
    for (int c = 1; c <= kMaxCases; ++c) {
        names << QStringLiteral("SzkicOK%1.bmp").arg(c);
    }
    if (job) {
        names << PrintStatusFileName();
    }
    for (const QString& name : names) {
        const QString from = JoinPath(src.runDir, name);
        if (!QFileInfo::exists(from)) {
            continue;
        }
        const WholeFile file = ReadWholeFile(from, kMaxPictureFileBytes);
        if (!file.ok()) {
            return PrintResult::Failure(
                QStringLiteral("Nie można odczytać pliku %1: %2").arg(from, file.Reason()));
        }
        kept.push_back({JoinPath(src.programDir, name), file.bytes});
    }
    if (QFileInfo::exists(PageFilePath(src.runDir))) {
        PageSource inProgramDir = src;
        inProgramDir.runDir.clear();
        QStringList header;
        WritePageHeader(header, src.state, src.header);
        QStringList page = header;
        WritePageBody(page, inProgramDir);
        kept.push_back({HeaderPageFilePath(src.programDir), LinesBytes(header)});
        kept.push_back({PageFilePath(src.programDir), LinesBytes(page)});
    }
    if (job) {
        kept.push_back({JobFilePath(src.programDir),
                        LinesBytes(JobFileLines(*job, src.state.Strona, src.programDir))});
    }
    QLockFile lock(JoinPath(src.programDir, QStringLiteral(".Vardel.lock")));
    if (!lock.tryLock(30000)) {
        return PrintResult::Failure(
            QStringLiteral("Katalog programu %1 jest zajęty przez inny przebieg programu.")
                .arg(src.programDir));
    }
    if (const auto failure = WriteWholeFiles(kept)) {
        return PrintResult::Failure(QStringLiteral("Nie można zapisać pliku %1: %2")
                                        .arg(kept[failure->index].path, failure->reason));
    }
    return {};
}

}  // namespace vardel

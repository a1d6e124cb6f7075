#include "texts/settings_start.h"

#include "state/file_read.h"
#include "state/file_write.h"
#include "texts/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vardel {

QByteArray ShippedSettingsBytes() {
    QFile f(QStringLiteral(":/vardel/VardelOK.cfg"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

SettingsAtStart ReadSettingsAtStart(DesignCase& s, const QString& programDir,
                                    const QDateTime& now) {
    const QDir dir(programDir);
    const QString path = dir.filePath(SettingsFileName());
    const WholeFile file = ReadWholeFile(path, kMaxTextFileBytes);
    if (!file.ok()) {
        return {ReadSettings(s, path), {}};  // missing or unreadable: nothing to keep
    }
    const FileResult damaged = ReadSettingsBytes(s, file.bytes, QDir::toNativeSeparators(path));
    if (!damaged) {
        return {};
    }
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString kept;
    for (int k = 1;; ++k) {
        kept = dir.filePath(QStringLiteral("VardelOK-uszkodzony-%1%2.cfg")
                                .arg(stamp, k > 1 ? u'-' + QString::number(k) : QString()));
        if (!QFileInfo::exists(kept)) {
            break;
        }
    }
    if (!QFile::rename(path, kept)) {
        return {FileError{damaged->message +
                          QStringLiteral("\n\nNie można zachować uszkodzonego pliku jako %1, więc "
                                         "program nie może zacząć od ustawień domyślnych.")
                              .arg(QDir::toNativeSeparators(kept))},
                {}};
    }
    const QByteArray shipped = ShippedSettingsBytes();
    if (FileResult e = ReadSettingsBytes(s, shipped, QStringLiteral("(wbudowany)"))) {
        return {e, {}};  // a build without its settings: cannot happen in a sound build
    }
    QString told =
        damaged->message + QStringLiteral(
                               "\n\nUszkodzony plik zachowano jako %1. Program zaczyna od "
                               "ustawień domyślnych.")
                               .arg(QDir::toNativeSeparators(kept));
    const QString reason = WriteWholeFile(path, shipped);
    if (!reason.isEmpty()) {
        told += QStringLiteral("\nNie można zapisać nowego pliku ustawień %1: %2")
                    .arg(QDir::toNativeSeparators(path), reason);
    }
    return {{}, told};
}

}  // namespace vardel

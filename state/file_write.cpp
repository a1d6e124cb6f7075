#include "state/file_write.h"

#include <QFileInfo>
#include <QSaveFile>

namespace vardel {

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty() || QFileInfo(path).isDir()) {
        return QStringLiteral("To nie jest nazwa pliku.");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    // commit() alone takes a file whose buffered bytes could not all be written (a full disk)
    // for a complete one and puts it in place of the old file: flush first and check.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason =
            QStringLiteral("Zapis został przerwany (%1).").arg(file.errorString());
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

}  // namespace vardel

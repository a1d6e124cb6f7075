#include "texts/print_status.h"

#include "state/file_read.h"
#include "state/file_write.h"

#include "texts/codepage.h"
#include "texts/list_io.h"

#include <QDir>

namespace vardel {

std::optional<PrintStatus> ReadPrintStatus(const QString& path) {
    const WholeFile file = ReadWholeFile(path, kMaxTextFileBytes);
    if (!file.ok()) {
        return std::nullopt;
    }
    return ParsePrintStatus(file.bytes);
}

std::optional<PrintStatus> ParsePrintStatus(const QByteArray& bytes) {
    const QString text = DecodeText(bytes, CodePage::Windows1250);
    ListInput in(text);
    PrintStatus st;
    if (in.ReadSingle(st.S) != ListInput::Status::Ok ||
        in.ReadInt16(st.P) != ListInput::Status::Ok) {
        return std::nullopt;
    }
    return st;
}

FileResult WritePrintStatus(const QString& path, float S, Int16 P) {
    const QByteArray bytes =
        (SingleText(S) + QStringLiteral(", ") + QString::number(P) + QStringLiteral("\r\n"))
            .toLatin1();
    const QString reason = WriteWholeFile(path, bytes);
    if (!reason.isEmpty()) {
        return FileError{QStringLiteral("Nie można zapisać pliku stanu wydruku %1: %2")
                             .arg(QDir::toNativeSeparators(path), reason)};
    }
    return std::nullopt;
}

}  // namespace vardel

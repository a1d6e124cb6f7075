#include "texts/load_table.h"

#include "state/numbers.h"
#include "texts/codepage.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringList>

namespace vardel {
namespace {

const char16_t* const kColumnNames[] = {u"N", u"M", u"V"};

QString Unquoted(QString cell) {
    cell = cell.trimmed();
    if (cell.size() >= 2 && cell.startsWith(u'"') && cell.endsWith(u'"')) {
        cell = cell.mid(1, cell.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    }
    return cell;
}

}  // namespace

std::variant<LoadTable, FileError> ParseLoadTable(const QByteArray& bytes,
                                                  const QString& fileName) {
    const QString text = DecodeText(bytes, CodePage::Windows1250);
    const QStringList lines = text.split(u'\n');
    auto fail = [&](int line, const QString& what) {
        return FileError{
            QStringLiteral("Plik obciążeń %1, wiersz %2: %3").arg(fileName).arg(line).arg(what)};
    };

    LoadTable table;
    QChar separator;
    int columns = 0;
    bool decimalComma = false;
    bool seenRow = false;
    for (int k = 0; k < lines.size(); ++k) {
        const int line = k + 1;
        QString raw = lines[k];
        if (raw.endsWith(u'\r')) {
            raw.chop(1);
        }
        if (raw.trimmed().isEmpty()) {
            continue;
        }
        if (separator.isNull()) {
            // The first row decides: a tab, else a semicolon, else a comma. Only where the comma
            // does not separate can it be a decimal comma.
            separator = raw.contains(u'\t')  ? QChar(u'\t')
                        : raw.contains(u';') ? QChar(u';')
                                             : QChar(u',');
            decimalComma = separator != u',';
        }
        const QStringList cells = raw.split(separator);
        if (columns == 0) {
            columns = static_cast<int>(cells.size());
            if (columns != 3 && columns != 4) {
                return fail(line, QStringLiteral("tabela ma %1 kolumn; potrzebne są N, M, V, "
                                                 "z nazwą kombinacji przed nimi lub bez niej.")
                                      .arg(columns));
            }
            table.named = columns == 4;
        } else if (cells.size() != columns) {
            return fail(line,
                        QStringLiteral("%1 kolumn zamiast %2.").arg(cells.size()).arg(columns));
        }
        const int first = columns - 3;
        LoadRow row;
        if (table.named) {
            row.name = Unquoted(cells[0]);
        }
        float* values[] = {&row.N_kN, &row.M_kNm, &row.V_kN};
        QString* texts[] = {&row.N_text, &row.M_text, &row.V_text};
        int unread = 0;
        int firstUnread = 0;
        for (int c = 0; c < 3; ++c) {
            QString cell = Unquoted(cells[first + c]);
            if (decimalComma) {
                cell.replace(u',', u'.');
            }
            const SingleResult r = ToSingle(cell, QLocale::c());
            if (r.status == Convert::Overflow) {
                return fail(line, QStringLiteral("kolumna %1 (%2): liczba „%3” jest za duża.")
                                      .arg(first + c + 1)
                                      .arg(QString::fromUtf16(kColumnNames[c]), cell));
            }
            if (r.status == Convert::NotANumber) {
                if (unread++ == 0) {
                    firstUnread = c;
                }
                continue;
            }
            *values[c] = r.value;
            *texts[c] = cell;
        }
        const bool firstRow = !seenRow;
        seenRow = true;
        if (unread == 3 && firstRow) {
            continue;  // a header: no number where the numbers go
        }
        if (unread > 0) {
            return fail(line, QStringLiteral("kolumna %1 (%2): „%3” nie jest liczbą.")
                                  .arg(first + firstUnread + 1)
                                  .arg(QString::fromUtf16(kColumnNames[firstUnread]),
                                       Unquoted(cells[first + firstUnread])));
        }
        if (static_cast<int>(table.rows.size()) == kMaxLoadRows) {
            return fail(line, QStringLiteral("więcej niż %1 wierszy obciążeń.").arg(kMaxLoadRows));
        }
        table.rows.push_back(row);
    }
    if (table.rows.empty()) {
        return FileError{
            QStringLiteral("Plik obciążeń %1 nie zawiera żadnego wiersza obciążeń.").arg(fileName)};
    }
    return table;
}

std::variant<LoadTable, FileError> ReadLoadTable(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    QFile f(path);
    if (!f.exists()) {
        return FileError{QStringLiteral("Brak pliku obciążeń %1.").arg(shown)};
    }
    if (!f.open(QIODevice::ReadOnly)) {
        return FileError{QStringLiteral("Nie można otworzyć pliku obciążeń %1.").arg(shown)};
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        return FileError{QStringLiteral("Nie można odczytać pliku obciążeń %1.").arg(shown)};
    }
    return ParseLoadTable(bytes, shown);
}

}  // namespace vardel

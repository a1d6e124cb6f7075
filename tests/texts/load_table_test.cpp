#include "texts/load_table.h"

#include "tests/test_support.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

namespace vardel {
namespace {

TEST(LoadTable, FilesThatCannotBeRead) {
    const struct {
        const char* what;
        QByteArray bytes;
        const char* message;  // after "Plik obciążeń t.csv"
    } cases[] = {
        {"empty", "", " nie zawiera żadnego wiersza obciążeń."},
        {"header only", "N;M;V\r\n\r\n", " nie zawiera żadnego wiersza obciążeń."},
        {"text in a number", "500;150;0\n300;abc;10\n",
         ", wiersz 2: kolumna 2 (M): „abc” nie jest liczbą."},
        {"half a header", "N;150;V\n", ", wiersz 1: kolumna 1 (N): „N” nie jest liczbą."},
        {"two numbers", "500,150\n",
         ", wiersz 1: tabela ma 2 kolumn; potrzebne są N, M, V, z nazwą "
         "kombinacji przed nimi lub bez niej."},
        {"a named table with a row of 3 columns", "K1;500;150;0\nK2;300;10\n",
         ", wiersz 2: 3 kolumn zamiast 4."},
        {"5 columns", "K1;500;150;0;7\n",
         ", wiersz 1: tabela ma 5 kolumn; potrzebne są N, M, V, z "
         "nazwą kombinacji przed nimi lub bez niej."},
        {"a row with a name only", "K1\t500\t150\t0\nK2\n", ", wiersz 2: 1 kolumn zamiast 4."},
        {"beyond a single", "1e39;0;0\n", ", wiersz 1: kolumna 1 (N): liczba „1e39” jest za duża."},
        {"10 001 rows", "N,M,V\n" + QByteArray("500,150,0\n").repeated(10001),
         ", wiersz 10002: więcej niż 10000 wierszy obciążeń."},
        {"a header repeated further down", "N;M;V\n500;150;0\nN;M;V\n",
         ", wiersz 3: kolumna 1 (N): „N” nie jest liczbą."},
        {"a 2 MB cell, quoted to 40 characters", "1;2;3\r4;" + QByteArray(2 << 20, 'x') + ";6\r",
         ", wiersz 2: kolumna 2 (M): „xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx” nie jest liczbą."},
        {"NUL bytes", QByteArray("1;2;3\n", 6) + QByteArray(1, '\0'),
         ": plik zawiera bajty zerowe, to nie jest tabela tekstowa (zapisz ją jako CSV lub "
         "tekst)."},
        {"a quote never closed", "K1;500;150;0\n\"K2;1;2;3\n",
         ": wiersz 2: cudzysłów nie jest zamknięty."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = ParseLoadTable(c.bytes, QStringLiteral("t.csv"));
        ASSERT_TRUE(std::holds_alternative<FileError>(r));
        EXPECT_EQ(std::get<FileError>(r).message,
                  QStringLiteral("Plik obciążeń t.csv") + QString::fromUtf8(c.message));
    }
}

// Only a regular file within the bound is read: a pipe without a writer or an endless device
// would hold the program up.
TEST(LoadTable, OnlyBoundedRegularFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(test::MakeFifo(dir.filePath("fifo")));
    QFile large(dir.filePath("large.csv"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(kMaxLoadTableBytes + 1));
    const std::pair<QString, const char*> cases[] = {
        {dir.filePath("fifo"), ": to nie jest zwykły plik."},
        {"/dev/zero", ": to nie jest zwykły plik."},
        {large.fileName(), ": plik jest większy niż 4 MB."},
    };
    for (const auto& [path, message] : cases) {
        const auto r = ReadLoadTable(path);
        ASSERT_TRUE(std::holds_alternative<FileError>(r));
        EXPECT_EQ(std::get<FileError>(r).message,
                  "Nie można odczytać pliku obciążeń " + path + QString::fromUtf8(message));
    }
}

TEST(LoadTable, SeparatorsDecimalCommaNamesAndSigns) {
    const struct {
        const char* what;
        QByteArray bytes;
        bool named;
        std::vector<std::array<float, 3>> values;
        QStringList names;
    } cases[] = {
        {"commas, no header",
         "500,150,0\n-120.5,-80,-35\n",
         false,
         {{500, 150, 0}, {-120.5f, -80, -35}},
         {QString(), QString()}},
        {"semicolons, decimal comma, header, CRLF, blank line",
         "N [kN];M [kNm];V [kN]\r\n512,5;150,25;-12,5\r\n\r\n0;90;40\r\n",
         false,
         {{512.5f, 150.25f, -12.5f}, {0, 90, 40}},
         {QString(), QString()}},
        {"tabs, names with letters of their own, quoted",
         "Kombinacja\tN\tM\tV\n\"KOMB 1: ciężar + śnieg\"\t700\t150,5\t5\nWiatr "
         "ssanie\t-300\t10\t20\n",
         true,
         {{700, 150.5f, 5}, {-300, 10, 20}},
         {QStringLiteral("KOMB 1: ciężar + śnieg"), QStringLiteral("Wiatr ssanie")}},
        {"CR and mixed line ends, quoted names holding the separator and a quote",
         "Nazwa;N;M;V\r\"K;1\";500;150;0\n\n\"K2 \"\"x\"\"\";300;10;5\r\n",
         true,
         {{500, 150, 0}, {300, 10, 5}},
         {QStringLiteral("K;1"), QStringLiteral("K2 \"x\"")}},
        {"UTF-16 with its byte-order mark",
         QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(u"1\t-2,5\t3\r\n"), 20),
         false,
         {{1, -2.5f, 3}},
         {QString()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = ParseLoadTable(c.bytes, QStringLiteral("t.csv"));
        ASSERT_TRUE(std::holds_alternative<LoadTable>(r))
            << std::get<FileError>(r).message.toStdString();
        const LoadTable& t = std::get<LoadTable>(r);
        EXPECT_EQ(t.named, c.named);
        ASSERT_EQ(t.rows.size(), c.values.size());
        for (std::size_t k = 0; k < t.rows.size(); ++k) {
            EXPECT_EQ(t.rows[k].N_kN, c.values[k][0]);
            EXPECT_EQ(t.rows[k].M_kNm, c.values[k][1]);
            EXPECT_EQ(t.rows[k].V_kN, c.values[k][2]);
            EXPECT_EQ(t.rows[k].name, c.names[k]);
            EXPECT_FALSE(t.rows[k].M_text.contains(u','));  // as a field reads it
        }
    }
}

}  // namespace
}  // namespace vardel

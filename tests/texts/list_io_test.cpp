#include "texts/list_io.h"

#include "tests/texts/qstring_print.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace vardel {
namespace {

using Status = ListInput::Status;

// Reads the next item and checks it.
void ExpectNumber(ListInput& in, double expected) {
    double v = -1;
    ASSERT_EQ(in.ReadNumber(v), Status::Ok);
    EXPECT_EQ(v, expected);
}
void ExpectText(ListInput& in, const QString& expected) {
    QString t;
    ASSERT_EQ(in.ReadText(t), Status::Ok);
    EXPECT_EQ(t, expected);
}

TEST(ListInput, NumbersEndWhereANumberCannotGoOn) {
    const struct {
        const char* text;
        double number;
        const char* rest;  // the text item that follows
    } rows[] = {
        {"300R_zewn", 300, "R_zewn"}, {" 0 Norma", 0, "Norma"}, {"-3 Norma", -3, "Norma"},
        {"\t12.5\tkey", 12.5, "key"}, {".5x", 0.5, "x"},        {"-.25 y", -0.25, "y"},
        {"+7,seven", 7, "seven"},     {"1E3R", 1000, "R"},      {"2.5e-1 q", 0.25, "q"},
        {"12Es_Eb", 12, "Es_Eb"},  // no digit after E: not an exponent
        {"1D3R", 1000, "R"},       // the old Fortran-style exponent
        {"4E+x", 4, "E+x"},           {"5-3", 5, "-3"},         {"6 , text, more", 6, "text"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        ListInput in(QString::fromUtf8(r.text));
        ExpectNumber(in, r.number);
        ExpectText(in, QString::fromUtf8(r.rest));
    }
}

TEST(ListInput, ItemsMissingOnTheirLineComeFromTheNext) {
    ListInput in(QStringLiteral("1 2\r\n3\nname, second\r\n\r\n  whole, line  \r\n 9\r\n"));
    ExpectNumber(in, 1);
    ExpectNumber(in, 2);
    ExpectNumber(in, 3);  // from line 2
    EXPECT_EQ(in.Line(), 2);
    ExpectText(in, QStringLiteral("name"));
    ExpectText(in, QStringLiteral("second"));
    QString line;
    ASSERT_EQ(in.ReadLine(line), Status::Ok);  // the empty line 4, read whole
    EXPECT_EQ(line, QString());
    ASSERT_EQ(in.ReadLine(line), Status::Ok);
    EXPECT_EQ(line, QStringLiteral("  whole, line  "));
    Int16 n = 0;
    ASSERT_EQ(in.ReadInt16(n), Status::Ok);
    EXPECT_EQ(n, 9);
    EXPECT_EQ(in.Line(), 6);
    double v = 0;
    EXPECT_EQ(in.ReadNumber(v), Status::EndOfFile);
    EXPECT_EQ(in.ReadText(line), Status::EndOfFile);
    EXPECT_EQ(in.ReadLine(line), Status::EndOfFile);
}

TEST(ListInput, AfterACommaAnItemIsPresentEvenWhenEmpty) {
    ListInput in(QStringLiteral("a,,b ,\r\n 1,\r\nc"));
    ExpectText(in, QStringLiteral("a"));
    ExpectText(in, QString());
    ExpectText(in, QStringLiteral("b "));
    ExpectText(in, QString());  // empty, not the next line
    ExpectNumber(in, 1);
    double v = 0;
    EXPECT_EQ(in.ReadNumber(v), Status::NotANumber);  // missing after the comma
    EXPECT_EQ(in.Line(), 2);
}

TEST(ListInput, Failures) {
    const struct {
        const char* text;
        Status status;
        const char* offending;
    } rows[] = {
        {"Norma 0", Status::NotANumber, "Norma"}, {" , 5", Status::NotANumber, ""},
        {"-x", Status::NotANumber, "-x"},         {".", Status::NotANumber, "."},
        {"40000", Status::Overflow, "40000"},     {"-32769", Status::Overflow, "-32769"},
        {"1e999", Status::Overflow, "1e999"},     {"   \r\n  \r\n", Status::EndOfFile, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        ListInput in(QString::fromUtf8(r.text));
        Int16 v = 0;
        EXPECT_EQ(in.ReadInt16(v), r.status);
        EXPECT_EQ(in.Offending(), QString::fromUtf8(r.offending));
    }
}

TEST(ListOutput, IntegersAndSingles) {
    EXPECT_EQ(ListInt(0) + ListInt(-3), QStringLiteral(" 0 -3 "));
    EXPECT_EQ(ListSingle(235.0f) + ListSingle(-1.5f), QStringLiteral(" 235 -1.5 "));
    // No leading zero; the exponent starts beyond 7 digits before the point and below 1E-04.
    const std::pair<float, const char*> rows[] = {
        {0.0f, "0"},       {0.5f, ".5"},       {-0.5f, "-.5"},
        {12.25f, "12.25"}, {0.1f, ".1"},       {1234567.0f, "1234567"},
        {1e7f, "1E+07"},   {0.0001f, ".0001"}, {1e-5f, "1E-05"}};
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(SingleText(value), QString::fromLatin1(text)) << text;
    }
}

// Whatever single a record holds, it reads back as the same single.
TEST(ListOutput, EverySingleReadsBackTheSame) {
    std::mt19937 gen(20051);
    std::uniform_int_distribution<std::uint32_t> bits;
    for (int n = 0; n < 20000; ++n) {
        const std::uint32_t b = bits(gen);
        float f;
        std::memcpy(&f, &b, sizeof f);
        if (!std::isfinite(f)) {
            continue;
        }
        const QString text = SingleText(f);
        ListInput in(text);
        float back = 0;
        ASSERT_EQ(in.ReadSingle(back), Status::Ok) << text.toStdString();
        ASSERT_EQ(back, f) << text.toStdString();
    }
}

}  // namespace
}  // namespace vardel

#include "report/header.h"

#include "tests/test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace vardel {
namespace {

using namespace Qt::StringLiterals;

// Asks only what a row expects (the designation, titled as the program, with the one in force
// as the default) and tells nothing.
class ScriptedPrompter : public Prompter {
  public:
    MOCK_METHOD(std::optional<QString>, AskText, (const QString&, const QString&, const QString&),
                (override));
    MOCK_METHOD(void, Tell, (const QString&, const QString&), (override));
    void Expect(const QString& before, const std::optional<QString>& answer) {
        EXPECT_CALL(*this,
                    AskText(u"Podaj oznaczenie stopy (max 32 znaki)"_s, u"Vardel 2005"_s, before))
            .WillOnce(testing::Return(answer));
    }
};

const QDateTime kClock(QDate(2026, 3, 7), QTime(9, 5, 42));

TEST(AskDesignation, StoresTheAnswerCutTo32Characters) {
    const QString forty = QStringLiteral("SF-1/A-ściana osi 12-bis-lewa-krawędźxyz");
    // U+1D6DA (a mathematical omega) takes two UTF-16 units and must not be cut in half.
    const QString wide = QString(31, u'x') + QString::fromUcs4(U"\U0001D6DA") + QStringLiteral("y");
    const struct {
        const char* name;
        std::optional<QString> answer;
        QString stored;
    } rows[] = {
        {"forty characters", forty, forty.left(32)},
        {"short", QStringLiteral("S-3"), QStringLiteral("S-3")},
        {"a character outside the basic plane at 32", wide, wide.left(33)},
        {"cancel keeps the old one", std::nullopt, QStringLiteral("S-old")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DesignCase s;
        s.Oznaczenie_stopy = QStringLiteral("S-old");
        testing::StrictMock<ScriptedPrompter> prompter;
        prompter.Expect(u"S-old"_s, row.answer);
        EXPECT_EQ(AskDesignation(s, prompter), row.stored);
        EXPECT_EQ(s.Oznaczenie_stopy, row.stored);
    }
}

// What the refresh of the header texts and the check for a designation set and ask; every header
// text as set shows in the export goldens, with the Polish, C and German date forms.
TEST(HeaderTexts, DateTimeAndDesignation) {
    const struct {
        const char* what;
        bool ensure;         // EnsureDesignation, else RefreshHeaderTexts
        const char* before;  // the designation given
        QLocale locale;
        QDateTime clock;
        const char* dateTime;  // Teksty_nagl[5]
        const char* answer;    // nullptr: nothing is asked, nothing set
    } rows[] = {
        {"a refresh asks even when given", false, "SF-1", test::Polish(), kClock,
         "07.03.26     09:05", "SF-2"},
        {"Finnish separators", false, "", QLocale(QLocale::Finnish, QLocale::Finland), kClock,
         "07.03.26     09.05", "S"},
        {"Dutch separators", false, "", QLocale(QLocale::Dutch, QLocale::Netherlands), kClock,
         "07-03-26     09:05", "S"},
        {"hours to 23, the year in two digits", false, "", test::Polish(),
         QDateTime(QDate(2009, 12, 31), QTime(23, 59)), "31.12.09     23:59", "S"},
        {"none given: asked once", true, "", QLocale::c(), kClock, "07/03/26     09:05", "SF-7"},
        {"given: nothing asked", true, "SF-7", QLocale::c(), kClock, "", nullptr},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        DesignCase s;
        s.Oznaczenie_stopy = QString::fromUtf8(r.before);
        HeaderTexts header;
        testing::StrictMock<ScriptedPrompter> prompter;
        if (r.answer) {
            prompter.Expect(s.Oznaczenie_stopy, QString::fromUtf8(r.answer));
        }
        if (r.ensure) {
            EXPECT_EQ(EnsureDesignation(s, header, prompter, r.clock, r.locale),
                      r.answer != nullptr);
        } else {
            RefreshHeaderTexts(s, header, prompter, r.clock, r.locale);
        }
        EXPECT_EQ(header.Teksty_nagl[5], QString::fromUtf8(r.dateTime));
        EXPECT_EQ(header.Teksty_nagl[7], QString::fromUtf8(r.answer));
        EXPECT_EQ(s.Oznaczenie_stopy, QString::fromUtf8(r.answer ? r.answer : r.before));
    }
}

}  // namespace
}  // namespace vardel

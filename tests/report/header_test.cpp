#include "report/header.h"

#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace vardel {
namespace {

// Answers input boxes from a script and records each question as "prompt|title|default".
class ScriptedPrompter : public Prompter {
  public:
    explicit ScriptedPrompter(std::vector<std::optional<QString>> answers)
        : answers_(std::move(answers)) {}
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override {
        asked << prompt + u'|' + title + u'|' + defaultText;
        return answers_.at(asked.size() - 1);  // an unexpected question throws
    }
    void Tell(const QString&, const QString&) override { ADD_FAILURE() << "nothing to tell"; }
    QStringList asked;

  private:
    std::vector<std::optional<QString>> answers_;
};

QString Question(const char* defaultText) {
    return QStringLiteral("Podaj oznaczenie stopy (max 32 znaki)|Vardel 2005|") +
           QString::fromUtf8(defaultText);
}

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
        {"exactly 32", forty.left(32), forty.left(32)},
        {"short", QStringLiteral("S-3"), QStringLiteral("S-3")},
        {"a character outside the basic plane at 32", wide, wide.left(33)},
        {"cancel", std::nullopt, QString()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DesignCase s;
        s.Oznaczenie_stopy = QStringLiteral("S-old");
        ScriptedPrompter prompter({row.answer});
        EXPECT_EQ(AskDesignation(s, prompter), row.stored);
        EXPECT_EQ(s.Oznaczenie_stopy, row.stored);
        EXPECT_EQ(prompter.asked, QStringList{Question("S-old")});
    }
}

// The Polish, C and German forms show in the export goldens.
TEST(HeaderDateTime, UsesTheSeparatorsOfTheLocale) {
    const struct {
        QLocale locale;
        const char* expected;
    } rows[] = {
        {QLocale(QLocale::Finnish, QLocale::Finland), "07.03.26     09.05"},
        {QLocale(QLocale::Dutch, QLocale::Netherlands), "07-03-26     09:05"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.locale.name().toStdString());
        EXPECT_EQ(HeaderDateTime(kClock, row.locale), QString::fromUtf8(row.expected));
    }
    // Afternoon hours count to 23 and the year keeps two digits.
    EXPECT_EQ(HeaderDateTime(QDateTime(QDate(2009, 12, 31), QTime(23, 59)), test::Polish()),
              QStringLiteral("31.12.09     23:59"));
}

// Every header text as set shows in the export goldens; here what the refresh adds to it.
TEST(RefreshHeaderTexts, SetsTheTextsAndAsksForTheDesignationEachTime) {
    DesignCase s;
    s.Oznaczenie_stopy = QStringLiteral("SF-1");
    HeaderTexts header;
    // The first refresh accepts the default, the second changes it.
    ScriptedPrompter prompter({QStringLiteral("SF-1"), QStringLiteral("SF-2")});

    RefreshHeaderTexts(s, header, prompter, kClock, test::Polish());
    const auto& t = header.Teksty_nagl;
    EXPECT_EQ(t[5], QStringLiteral("07.03.26     09:05"));
    EXPECT_EQ(t[7], QStringLiteral("SF-1"));

    RefreshHeaderTexts(s, header, prompter, kClock, test::Polish());
    EXPECT_EQ(t[7], QStringLiteral("SF-2"));
    EXPECT_EQ(prompter.asked, (QStringList{Question("SF-1"), Question("SF-1")}));
}

TEST(EnsureDesignation, AsksOnceOnlyWhenNoDesignationIsGiven) {
    DesignCase s;
    HeaderTexts header;
    ScriptedPrompter prompter({QStringLiteral("SF-7")});
    EXPECT_TRUE(EnsureDesignation(s, header, prompter, kClock, QLocale::c()));
    EXPECT_EQ(prompter.asked, QStringList{Question("")});
    EXPECT_EQ(header.Teksty_nagl[7], QStringLiteral("SF-7"));
    EXPECT_EQ(header.Teksty_nagl[5], QStringLiteral("07/03/26     09:05"));

    // Given now: nothing is asked (the scripted prompter has no answer left) and nothing changes.
    EXPECT_FALSE(EnsureDesignation(s, header, prompter, kClock, QLocale::c()));
    EXPECT_EQ(prompter.asked.size(), 1);
    EXPECT_EQ(s.Oznaczenie_stopy, QStringLiteral("SF-7"));
}

}  // namespace
}  // namespace vardel

#include "report/header.h"

#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace vardel {
namespace {

// Answers input boxes from a script and records what was asked.
class ScriptedPrompter : public Prompter {
  public:
    explicit ScriptedPrompter(std::vector<std::optional<QString>> answers)
        : answers_(std::move(answers)) {}

    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override {
        prompts.push_back(prompt);
        titles.push_back(title);
        defaults.push_back(defaultText);
        if (next_ >= answers_.size()) {
            ADD_FAILURE() << "an unexpected question: " << prompt.toStdString();
            return std::nullopt;
        }
        const std::optional<QString>& a = answers_[next_++];
        if (!a) {
            return std::nullopt;
        }
        return *a;
    }
    void Tell(const QString&, const QString&) override { ADD_FAILURE() << "nothing to tell"; }

    QStringList prompts, titles, defaults;

  private:
    std::vector<std::optional<QString>> answers_;
    std::size_t next_ = 0;
};

const QDateTime kClock(QDate(2026, 3, 7), QTime(9, 5, 42));

TEST(AskDesignation, StoresTheAnswerCutTo32Characters) {
    const QString forty = QStringLiteral("SF-1/A-ściana osi 12-bis-lewa-krawędź");
    ASSERT_EQ(forty.size(), 37);
    const QString fortyExact = forty + QStringLiteral("xyz");
    // U+1D6DA (a mathematical omega) takes two UTF-16 units and must not be cut in half.
    const QString wide = QString(31, u'x') + QString::fromUcs4(U"\U0001D6DA") + QStringLiteral("y");
    struct Row {
        const char* name;
        std::optional<QString> answer;
        QString stored;
    };
    const Row rows[] = {
        {"forty characters", fortyExact, fortyExact.left(32)},
        {"exactly 32", fortyExact.left(32), fortyExact.left(32)},
        {"short", QStringLiteral("S-3"), QStringLiteral("S-3")},
        {"a character outside the basic plane at 32", wide, wide.left(33)},
        {"cancel", std::nullopt, QString()},
        {"empty answer", QString(), QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DesignCase s;
        s.Oznaczenie_stopy = QStringLiteral("S-old");
        ScriptedPrompter prompter({row.answer});
        EXPECT_EQ(AskDesignation(s, prompter), row.stored);
        EXPECT_EQ(s.Oznaczenie_stopy, row.stored);
        ASSERT_EQ(prompter.prompts.size(), 1);
        EXPECT_EQ(prompter.prompts[0], QStringLiteral("Podaj oznaczenie stopy (max 32 znaki)"));
        EXPECT_EQ(prompter.titles[0], QStringLiteral("Vardel 2005"));
        EXPECT_EQ(prompter.defaults[0], QStringLiteral("S-old"));
    }
}

TEST(HeaderDateTime, UsesTheSeparatorsOfTheLocale) {
    struct Row {
        QLocale locale;
        const char* expected;
    };
    const Row rows[] = {
        {test::Polish(), "07.03.26     09:05"},
        {test::DecimalPoint(), "07/03/26     09:05"},
        {QLocale(QLocale::Finnish, QLocale::Finland), "07.03.26     09.05"},
        {QLocale(QLocale::Dutch, QLocale::Netherlands), "07-03-26     09:05"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.locale.name().toStdString());
        EXPECT_EQ(HeaderDateTime(kClock, row.locale), QString::fromUtf8(row.expected));
    }
    // Afternoon hours count to 23 and the year keeps two digits.
    EXPECT_EQ(HeaderDateTime(QDateTime(QDate(2009, 12, 31), QTime(23, 59)), test::Polish()),
              QStringLiteral("31.12.09     23:59"));
}

TEST(RefreshHeaderTexts, SetsEveryTextAndAsksForTheDesignationEachTime) {
    DesignCase s;
    s.Naz_proj = QStringLiteral("Hala magazynowa H-2");
    s.Oznaczenie_stopy = QStringLiteral("SF-1");
    HeaderTexts header;
    // The first refresh accepts the default, the second changes it.
    ScriptedPrompter prompter({QStringLiteral("SF-1"), QStringLiteral("SF-2")});

    RefreshHeaderTexts(s, header, prompter, kClock, test::Polish());
    const auto& t = header.Teksty_nagl;
    EXPECT_TRUE(t[1].endsWith(QStringLiteral(" PN-B-03264:2002")));
    EXPECT_TRUE(t[1].contains(QStringLiteral("PN-B-03215:1999")));
    EXPECT_EQ(t[4], QStringLiteral("Hala magazynowa H-2"));
    EXPECT_EQ(t[5], QStringLiteral("07.03.26     09:05"));
    EXPECT_EQ(t[6], QStringLiteral("Strona "));
    EXPECT_EQ(t[7], QStringLiteral("SF-1"));

    RefreshHeaderTexts(s, header, prompter, kClock, test::Polish());
    EXPECT_EQ(t[7], QStringLiteral("SF-2"));
    EXPECT_EQ(prompter.defaults, (QStringList{QStringLiteral("SF-1"), QStringLiteral("SF-1")}));
}

TEST(EnsureDesignation, AsksOnceOnlyWhenNoDesignationIsGiven) {
    DesignCase s;
    HeaderTexts header;
    ScriptedPrompter prompter({QStringLiteral("SF-7")});
    EXPECT_TRUE(EnsureDesignation(s, header, prompter, kClock, QLocale::c()));
    EXPECT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(header.Teksty_nagl[7], QStringLiteral("SF-7"));
    EXPECT_EQ(header.Teksty_nagl[5], QStringLiteral("07/03/26     09:05"));

    // Given now: nothing is asked (the scripted prompter has no answer left) and nothing changes.
    EXPECT_FALSE(EnsureDesignation(s, header, prompter, kClock, QLocale::c()));
    EXPECT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(s.Oznaczenie_stopy, QStringLiteral("SF-7"));
}

}  // namespace
}  // namespace vardel

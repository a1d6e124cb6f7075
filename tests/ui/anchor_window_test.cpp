#include "ui/anchor_window.h"

#include "materials/tables.h"
#include "tests/test_support.h"
#include "texts/language.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace vardel {
namespace {

QLabel* Label(QWidget* w, const char* name, int index) {
    for (QLabel* l : w->findChildren<QLabel*>(name)) {
        if (l->property("Index").toInt() == index) {
            return l;
        }
    }
    return nullptr;
}

// Answers the modal widgets as they come up, without blocking: the input box gets `answer`
// typed and Enter (or Escape when there is no answer), every message box is read and closed,
// and the selection window gets `act`.
class ModalScript {
  public:
    ModalScript(std::optional<QString> answer, std::function<void(QWidget*)> act)
        : answer_(std::move(answer)), act_(std::move(act)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start(10);
    }
    QStringList told;

  private:
    void Tick() {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QInputDialog*>(w)) {
            if (answer_) {
                QTest::keyClicks(box->findChild<QLineEdit*>(), *answer_);
                QTest::keyClick(box->findChild<QLineEdit*>(), Qt::Key_Return);
            } else {
                QTest::keyClick(box, Qt::Key_Escape);
            }
        } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
            told << box->text();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        } else if (w != nullptr && w->objectName() == "DoborVdlOK" && w->isVisible() && act_) {
            auto act = std::move(act_);
            act_ = nullptr;
            act(w);
        }
    }
    std::optional<QString> answer_;
    std::function<void(QWidget*)> act_;
    QTimer timer_;
};

void Click(QWidget* window, const char* name) {
    QTest::mouseClick(window->findChild<QPushButton*>(name), Qt::LeftButton);
}

// The selection window driven as a user drives it: the thickness prompt answered with a number,
// with text, a negative number, cancelled or overflowing; the tab chosen by the steel and the
// diameter, changed with the mouse; confirmed with the button or Enter (the focus is on "O&K"), or
// cancelled.
TEST(AnchorWindow, PromptTabsAndConfirmation) {
    QTemporaryDir dir;
    for (const char* name : {"rys3f.bmp", "rys2pm.bmp", "rys2pd.bmp"}) {
        ASSERT_TRUE(QFile::copy(test::ProgramDir() + "/" + name, dir.filePath(name)));
    }
    const QString notANumber = "Podany ciąg znaków nie tworzy liczby\nPrzyjęto wartość ZERO.";
    const QString negative = "Grubość nie może być ujemna\nPrzyjęto wartość ZERO.";
    enum class Act { Ok, HookTabThenOk, Enter, Anuluj };
    const struct {
        const char* what;
        int d, steel;
        std::optional<QString> answer;
        Act act;
        QString told;
        QString tabs;  // captions, "|" between them, "-" after a disabled one
        int shownTab;  // current when the window opened
        QString L1;    // the rib label, "" when hidden
        bool confirmed;
        QString firstLine, lastLine;
    } rows[] = {
        {"hook by default for St3", 24, 2, "50", Act::Ok, "",
         "Kotwa hakowa|Kotwa z płytką (nie zalecane)", 0, "", true, "Dobrano kotwę: F-24-1600",
         "Łączna grubość blachy czołowej i podlewki: 50 mm"},
        {"text taken as 0, hook chosen against 18G2", 24, 4, "abc", Act::HookTabThenOk, notANumber,
         "Kotwa hakowa (nie zalecane)|Kotwa z płytką", 1, "", true, "Dobrano kotwę: F-24-1550",
         "Łączna grubość blachy czołowej i podlewki: 0 mm"},
        {"negative taken as 0, plate by default for 18G2", 24, 4, "-5", Act::Ok, negative,
         "Kotwa hakowa (nie zalecane)|Kotwa z płytką", 1, "", true, "Dobrano kotwę: P-24-600",
         "Łączna grubość blachy czołowej i podlewki: 0 mm"},
        {"plate with ribs by Enter", 48, 4, "80", Act::Enter, "",
         "Kotwa hakowa (nie zalecane)|Kotwa z płytką", 1, "L1 = 160 mm", true,
         "Dobrano kotwę: P-48-1200", "Łączna grubość blachy czołowej i podlewki: 80 mm"},
        {"no plate at 16 mm, cancelled prompt", 16, 4, std::nullopt, Act::Anuluj, notANumber,
         "Kotwa hakowa (nie zalecane)|Kotwa z płytką-", 0, "", false, "", ""},
        {"overflowing thickness: nothing to confirm", 48, 2, "40000", Act::Ok, "6!!!!",
         "Kotwa hakowa|Kotwa z płytką (nie zalecane)-", 0, "L1 = ", false, "", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        QFile::remove(dir.filePath("Szkick.bmp"));
        DesignCase s;
        ASSERT_FALSE(LoadLanguageTexts(s, test::ProgramDir()));
        s.Fi_sruby = static_cast<Int16>(r.d);
        s.Nrstali = static_cast<Int16>(r.steel);
        s.Nrbetonu = 1;
        ASSERT_TRUE(LookUpBoltArea(s));
        ASSERT_EQ(LookUpSteel(s), SteelLookup::Set);
        ASSERT_TRUE(LookUpConcrete(s));
        s.Dobor_liczba = 9;  // an earlier confirmation, forgotten when the window loads

        QString tabs;
        int shownTab = -1;
        QString plateL1;
        ModalScript script(r.answer, [&](QWidget* w) {
            auto* tab = w->findChild<QTabWidget*>("SSTab1");
            shownTab = tab->currentIndex();
            for (int k = 0; k < 2; ++k) {
                tabs += (k ? "|" : "") + tab->tabText(k) + (tab->isTabEnabled(k) ? "" : "-");
            }
            QLabel* L1 = Label(w, "lblL1", 1);
            plateL1 = L1->isVisibleTo(L1->parentWidget()) ? L1->text() : "";
            switch (r.act) {
                case Act::HookTabThenOk:
                    QTest::mouseClick(tab->tabBar(), Qt::LeftButton, {},
                                      tab->tabBar()->tabRect(0).center());
                    [[fallthrough]];
                case Act::Ok:
                    Click(w, "cmdOK");
                    if (w->isVisible()) {  // OK refused: leave by Anuluj
                        Click(w, "cmdAnuluj");
                    }
                    break;
                case Act::Enter:
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                    break;
                case Act::Anuluj:
                    Click(w, "cmdAnuluj");
                    break;
            }
        });
        const bool confirmed = RunAnchorSelection(s, dir.path(), nullptr);
        EXPECT_EQ(script.told.join("/"), r.told);
        EXPECT_EQ(tabs, r.tabs);
        EXPECT_EQ(shownTab, r.shownTab);
        EXPECT_EQ(plateL1, r.L1);
        EXPECT_EQ(confirmed, r.confirmed);
        EXPECT_EQ(QFile::exists(dir.filePath("Szkick.bmp")), r.confirmed);
        if (r.confirmed) {
            EXPECT_EQ(s.Dobor_teksty[1], r.firstLine);
            EXPECT_EQ(s.Dobor_teksty[s.Dobor_liczba], r.lastLine);
        } else {
            EXPECT_EQ(s.Dobor_liczba, 0);
        }
    }
}

}  // namespace
}  // namespace vardel

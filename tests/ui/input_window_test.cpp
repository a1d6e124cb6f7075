// The input window, its stiffness-ratio dialog, the anchor selection window and the prompt
// dialogs, driven as a user drives them: keys typed into the fields, clicks on the options and
// buttons, answers given to the boxes that come up.
#include "ui/input_window.h"
#include "calc/calculate.h"
#include "materials/tables.h"
#include "tests/test_support.h"
#include "texts/language.h"
#include "texts/settings_file.h"
#include "ui/anchor_window.h"
#include "ui/program_dir.h"
#include "ui/qt_language.h"
#include "ui/qt_prompter.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

namespace vardel {
namespace {

using namespace Qt::StringLiterals;

// Answers the modal windows as they come up, without blocking: a message box is recorded and
// accepted, each other new modal window gets the next action; one that no action expects is
// closed and counted.
class ModalScript {
  public:
    using Action = std::function<void(QWidget*)>;
    struct Box {
        QString title, text;
        QMessageBox::Icon icon;
    };

    explicit ModalScript(std::vector<Action> actions = {}) : actions_(std::move(actions)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5);
    }

    std::vector<Box> boxes;
    int unexpected = 0;
    bool done() const { return next_ == actions_.size(); }

  private:
    void Poll() {
        QWidget* w = QApplication::activeModalWidget();
        if (w == nullptr) {
            return;
        }
        if (std::find(handled_.begin(), handled_.end(), w) != handled_.end()) {
            return;
        }
        handled_.emplace_back(w);
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            boxes.push_back({box->windowTitle(), box->text(), box->icon()});
            QTimer::singleShot(0, box, [box] { box->accept(); });
            return;
        }
        Action act = next_ < actions_.size() ? actions_[next_++] : Action([this](QWidget* m) {
            ++unexpected;
            static_cast<QDialog*>(m)->reject();
        });
        // Acted on from a fresh timer, so that this one can answer the boxes the action opens.
        QTimer::singleShot(0, w, [w, act] { act(w); });
    }

    QTimer timer_;
    std::vector<Action> actions_;
    std::size_t next_ = 0;
    std::vector<QPointer<QWidget>> handled_;
};

// A script of answers written as words: "=text" gives the text to an input box, "close" closes
// the window, any other word names the button to press.
std::vector<ModalScript::Action> Answers(const QString& words) {
    std::vector<ModalScript::Action> out;
    for (const QString& w : words.split(u' ', Qt::SkipEmptyParts)) {
        out.push_back([w](QWidget* m) {
            if (w == u"close") {
                static_cast<QDialog*>(m)->reject();
            } else if (auto* input = qobject_cast<QInputDialog*>(m); w.startsWith(u'=') && input) {
                input->setTextValue(w.mid(1));
                input->accept();
            } else {
                auto* button = m->findChild<QPushButton*>(w);
                ASSERT_NE(button, nullptr) << w.toStdString();
                QTest::mouseClick(button, Qt::LeftButton);
            }
        });
    }
    return out;
}

// Waits until the script has used every action (the boxes close asynchronously); the callers check.
void Finish(const ModalScript& script) {
    (void)QTest::qWaitFor([&] { return script.done() && !QApplication::activeModalWidget(); },
                          1000);
}

// A program directory prepared from the build's: the shipped files, with the print program
// beside them.
class InputWindowTest : public ::testing::Test {
  public:  // the rows of the tables act through these
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const QDir shipped(test::ProgramDir());
        for (const QFileInfo& f : shipped.entryInfoList(QDir::Files)) {
            if (!f.isExecutable()) {
                QFile::copy(f.filePath(), dir_.filePath(f.fileName()));
            }
        }
        QFile::link(shipped.filePath(QStringLiteral("Lumdruk")),
                    dir_.filePath(QStringLiteral("Lumdruk")));
    }
    void TearDown() override {
        // Deleting a results window deletes the top-level dialogs it owns: looked up afresh.
        while (QWidget* w = OpenResults()) {
            delete w;
        }
    }

    static QWidget* OpenResults() {
        const QWidgetList all = QApplication::topLevelWidgets();
        const auto it = std::ranges::find(all, u"VardelWynOK"_s, &QWidget::objectName);
        return it == all.end() ? nullptr : *it;
    }
    // The window after its start-up on the shipped settings, shown and active.
    InputWindow& Start() {
        s_ = DesignCase();
        window_ = std::make_unique<InputWindow>(s_, dir_.path());
        EXPECT_FALSE(window_->Load().has_value());
        window_->show();
        QApplication::setActiveWindow(window_.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        return *window_;
    }
    template <typename T>
    T* Find(const QString& name) {
        T* w = window_->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QLineEdit* Field(const QString& name) { return Find<QLineEdit>(name); }
    // Brings the tab of `w` to the front, as the user does before using it.
    void Bring(QWidget* w) {
        auto* tabs = Find<QTabWidget>(QStringLiteral("SSTab1"));
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(w) && tabs->currentIndex() != i) {
                tabs->setCurrentIndex(i);
                QApplication::processEvents();  // lays the page out
            }
        }
    }
    void Type(const QString& field, const QString& text) {
        QLineEdit* e = Field(field);
        Bring(e);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    void Click(const QString& name) {
        auto* b = Find<QAbstractButton>(name);
        Bring(b);
        // On the option's mark: a wide option button takes clicks only on its mark and text.
        QTest::mouseClick(b, Qt::LeftButton, {},
                          QPoint(std::min(8, b->width() / 2), b->height() / 2));
    }
    void Leave() { Find<QPushButton>(QStringLiteral("cmdKoniec"))->setFocus(); }
    // Chooses an entry of a list box as the user does.
    void Choose(const QString& name, int index) {
        auto* box = Find<QComboBox>(name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    int VisibleRows() {
        int n = 0;
        for (int i = 0; i < kMaxCases; ++i) {
            n += Field(QStringLiteral("Text6(%1)").arg(i))->isHidden() ? 0 : 1;
        }
        return n;
    }

    QTemporaryDir dir_;
    DesignCase s_;
    std::unique_ptr<InputWindow> window_;
};

// The shipped settings: "Hala magazynowa, słup S1", B20, the second steel, n computed, three
// load cases of which only the first is shown, 300/100 mm ring, eight M24 on 250 mm. On the bolts
// tab the bolt fields go into the state as they are typed.
TEST_F(InputWindowTest, StartsOnTheGeneralTabWithTheFieldsFormatted) {
    Start();
    EXPECT_EQ(Find<QTabWidget>(QStringLiteral("SSTab1"))->currentIndex(), 1);
    EXPECT_TRUE(Field(QStringLiteral("Text1"))->hasFocus());
    EXPECT_EQ(VisibleRows(), 1);
    QStringList shown;
    for (const QString& name :
         u"txtNaz_proj txtNr_strony Text1 Text2 Text3 Text4 Text11 Text12 "
         u"Text6(0) Text7(1) Text5(2) Text6(5)"_s.split(u' ')) {
        shown << Field(name)->text();
    }
    EXPECT_EQ(shown.join(u'|'),
              u"Hala magazynowa, słup S1|1|1|7.07|300|100|250|8|500.0|120.0|20.0|0.0");
    EXPECT_EQ(Find<QComboBox>(QStringLiteral("cmbFi"))->currentText(), u"24");
    EXPECT_EQ(Find<QComboBox>(QStringLiteral("cmbBeton"))->currentText(), u"B20");
    EXPECT_EQ(Find<QComboBox>(QStringLiteral("cmbStal"))->currentIndex(), 1);
    EXPECT_TRUE(Find<QRadioButton>(QStringLiteral("Jezyk(0)"))->isChecked());
    EXPECT_TRUE(Find<QRadioButton>(QStringLiteral("Wsp_n(0)"))->isChecked());
    EXPECT_FALSE(Find<QLabel>(QStringLiteral("Image1(0)"))->pixmap().isNull());
    EXPECT_TRUE(s_.Oznaczenie_stopy.isEmpty());

    Find<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(3);
    Type(QStringLiteral("Text12"), QStringLiteral("12"));
    Type(QStringLiteral("Text11"), QStringLiteral("x"));
    EXPECT_EQ(s_.Liczba_srub, 12);
    EXPECT_EQ(s_.R_srub, 250);
    EXPECT_FALSE(Find<QLabel>(QStringLiteral("Picture1"))->pixmap().isNull());
}

// On a Polish desktop (C library and Qt alike) the fields show decimal commas, the shipped design
// calculates, and the exit command writes the very bytes it writes under C, which read back as
// the same design.
TEST_F(InputWindowTest, OnAPolishDesktopAsUnderC) {
    QByteArray written[2];
    for (const int polish : {0, 1}) {
        SCOPED_TRACE(polish ? "pl_PL.UTF-8" : "C");
        test::Desktop desktop(polish ? "pl_PL.UTF-8" : "C");
        ASSERT_TRUE(desktop.ok()) << "locale missing: run scripts/install-deps.sh";
        QFile::remove(dir_.filePath(SettingsFileName()));
        ASSERT_TRUE(QFile::copy(test::ProgramDir() + u"/VardelOK.cfg"_s,
                                dir_.filePath(SettingsFileName())));
        Start();
        QStringList shown;
        for (const char* name : {"Text2", "Text3", "Text4", "Text11", "Text6(0)", "Text7(1)"}) {
            shown << Field(QString::fromLatin1(name))->text();
        }
        EXPECT_EQ(shown.join(u'|'),
                  polish ? u"7,07|300|100|250|500,0|120,0"_s : u"7.07|300|100|250|500.0|120.0"_s);
        ModalScript script;
        Click(u"cmdKoniec"_s);
        Finish(script);
        EXPECT_TRUE(script.boxes.empty());
        const QString path = dir_.filePath(SettingsFileName());
        written[polish] = test::ReadAll(path);
        DesignCase back;
        ASSERT_FALSE(ReadSettings(back, path).has_value());
        CompleteLoadedCase(back);  // n computed from the concrete, as the start does
        EXPECT_EQ(SettingsFileBytes(back), written[polish]);

        Start();
        ModalScript results;  // a designation asked for is not given
        Click(u"cmdOblicz"_s);
        Finish(results);
        EXPECT_TRUE(results.boxes.empty());
        EXPECT_TRUE(OpenResults() && OpenResults()->isVisible());
        EXPECT_NEAR(s_.A_pierscienia, 2513.27, 0.01);
        delete OpenResults();
    }
    EXPECT_EQ(written[1], written[0]);
}

// The case count takes effect when its field is left or the tab changes; the field then shows the
// count in force, and says so when that is not what was typed; the rows shown keep their stored
// values.
TEST_F(InputWindowTest, TheCaseCountShowsItsRows) {
    const struct {
        const char* what;
        std::vector<const char*> typed;
        bool byTab;
        int rows;
        int told = 1;  // message boxes
    } rows[] = {
        {"nine become six", {"9"}, false, 6},
        {"seven become six", {"7"}, false, 6},
        {"a count that is no number keeps the previous one", {"2", "dwa"}, false, 2},
        {"a count below one becomes one", {"0"}, false, 1},
        {"a fraction is rounded", {"2.5"}, false, 2},
        {"the load tab brought to the front", {"4"}, true, 4, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        Start();
        ModalScript script;
        for (const char* text : r.typed) {
            if (r.byTab) {
                Field(QStringLiteral("Text1"))->setText(QString::fromLatin1(text));
                Find<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(2);
            } else {
                Type(QStringLiteral("Text1"), QString::fromLatin1(text));
                Leave();
            }
        }
        Finish(script);
        EXPECT_EQ(VisibleRows(), r.rows);
        EXPECT_EQ(s_.Liczba_przyp, r.rows);
        EXPECT_EQ(Field(QStringLiteral("Text1"))->text(), QString::number(r.rows));
        ASSERT_EQ(static_cast<int>(script.boxes.size()), r.told);
        if (r.told) {
            EXPECT_TRUE(script.boxes[0].text.contains(
                u"od 1 do 6: zamiast „%1” przyjęto %2"_s.arg(r.typed.back()).arg(r.rows)))
                << script.boxes[0].text.toStdString();
        }
    }
    EXPECT_TRUE(Field(QStringLiteral("Text6(0)"))->hasFocus());
    EXPECT_EQ(Field(QStringLiteral("Text6(2)"))->text(), u"300.0");
}

// The stiffness ratio n: computed from the concrete, or given through the dialog that its option
// opens, the boxes that come up answered by the row's script.
TEST_F(InputWindowTest, TheStiffnessRatio) {
    const struct {
        const char* what;
        const char* steps;    // the options clicked, "B25" for the fourth concrete chosen
        const char* answers;  // see Answers()
        double n;
        const char* shown;
        int boxes = 0;  // message boxes expected
    } rows[] = {
        {"a new concrete with n computed shows its n at once", "B25", "", 205000.0 / 31000, "6.61"},
        {"clicking the computed option again does nothing", "Wsp_n(0)", "", 205000.0 / 29000,
         "7.07"},
        {"n given: the concrete's value", "Wsp_n(1)", "cmdn(1)", 7.07, "7.07"},
        {"n given: the recommended 6", "Wsp_n(1)", "cmdn(0)", 6, "6."},
        {"a typed n passes through single precision", "Wsp_n(1)", "cmdn(2) =7.3", 7.3f, "7.3"},
        {"a typed n that is no number is refused and asked again", "Wsp_n(1)", "cmdn(2) =siedem =8",
         8, "8.", 1},
        {"a typed n out of range is refused; Cancel then gives 6", "Wsp_n(1)", "cmdn(2) =400 close",
         6, "6.", 1},
        {"the dialog's close box keeps n", "Wsp_n(1)", "close", 205000.0 / 29000, "7.07"},
        {"a new concrete with n given opens the dialog for it", "Wsp_n(1) B25", "cmdn(0) cmdn(1)",
         6.61, "6.61"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        Start();
        ModalScript script(Answers(r.answers));
        const QStringList steps = QString::fromLatin1(r.steps).split(u' ');
        for (const QString& step : steps) {
            step == u"B25" ? Choose(QStringLiteral("cmbBeton"), 3) : Click(step);
        }
        Finish(script);
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
        EXPECT_EQ(static_cast<int>(script.boxes.size()), r.boxes);
        EXPECT_DOUBLE_EQ(s_.Es_Eb, r.n);
        EXPECT_EQ(Field(QStringLiteral("Text2"))->text().toStdString(), r.shown);
        EXPECT_EQ(s_.Tryb_n, steps.front() == u"Wsp_n(1)" ? 1 : 0);
    }
}

// The results language and the RTF choice; a language whose files are missing keeps the one in
// force.
TEST_F(InputWindowTest, TheResultsLanguage) {
    Start();
    ModalScript script;
    Click(QStringLiteral("Jezyk(2)"));
    Click(QStringLiteral("optRTF(2)"));
    EXPECT_EQ(s_.Tryb_RTF, 2);
    QFile::remove(dir_.filePath(QStringLiteral("Vdlfrok.txt")));
    Click(QStringLiteral("Jezyk(3)"));
    Finish(script);
    EXPECT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(s_.Jezyk, 2);
    EXPECT_TRUE(Find<QRadioButton>(QStringLiteral("Jezyk(2)"))->isChecked());
    EXPECT_TRUE(s_.Teksty[33].contains(u"concrete", Qt::CaseInsensitive))
        << s_.Teksty[33].toStdString();
}

// Every stop of the calculate command reaches its message box, and no results window opens;
// a run without a stop opens the results window and hides this one.
TEST_F(InputWindowTest, CalculateShowsEachStopOrOpensTheResults) {
    const QString kTitle = QStringLiteral("Vardel 2005");
    struct Row {
        const char* what;
        std::vector<std::pair<const char*, const char*>> typed;  // field, text; list, entry
        QString title;
        const char* message;  // its beginning
        QMessageBox::Icon icon;
        const char* field = "";  // brought to the front with its text selected
    };
    // clang-format off
    const Row rows[] = {
        {"bolts too close", {{"Text4", "50"}, {"Text11", "100"}, {"Text12", "16"}, {"cmbFi", "2"}},
         u"UWAGA:"_s, "Za mały rozstaw śrub!", QMessageBox::Critical},
        {"steel and diameter not in the standard", {{"cmbStal", "0"}, {"cmbFi", "6"}}, kTitle,
         "Norma nie przewiduje takich śrub", QMessageBox::Critical},
        {"a field that is no number", {{"Text7(0)", "abc"}}, kTitle,
         "Podany ciąg znaków nie tworzy liczby: „abc” w polu „M [kNm]” przypadku 1",
         QMessageBox::Warning, "Text7(0)"},
        {"a load beyond the range", {{"Text6(0)", "1e400"}}, kTitle,
         "Liczba „1e400” w polu „N [kN]” przypadku 1 (Obciążenia) jest poza zakresem: program "
         "liczy wartości od -3.4E+38 do 3.4E+38.", QMessageBox::Warning, "Text6(0)"},
        {"51 bolts", {{"Text12", "51"}}, kTitle,
         "Liczba śrub na obwodzie może wynosić od 1 do 50 (podano 51).", QMessageBox::Warning,
         "Text12"},
        {"a diameter typed that the table lacks", {{"cmbFi", "=25"}}, kTitle,
         "Średnicy śrub 25 mm nie ma w tablicy śrub; najbliższe średnice w tablicy: M24 lub M30.",
         QMessageBox::Critical, "cmbFi"},
        {"a bolt across the plate's edge", {{"Text11", "299"}}, kTitle,
         "Śruba M24 na promieniu 299 mm wychodzi poza zewnętrzną krawędź blachy (300 mm)",
         QMessageBox::Critical, "Text11"},
        {"a sound design", {}, {}, nullptr, QMessageBox::NoIcon},
        // The PN-EN inputs: their tab appears with the code, a field is refused by its name.
        {"PN-EN: a field that is no number", {{"cmbNorma", "1"}, {"txtH_ef", "abc"}}, kTitle,
         "Eurokod: Głębokość zakotwienia h_ef", QMessageBox::Warning},
        {"PN-EN: a tube wider than the plate", {{"cmbNorma", "1"}, {"txtD_rury", "700"}}, kTitle,
         "Rura słupa (D) jest szersza od blachy.", QMessageBox::Warning},
        {"PN-EN: a sound design", {{"cmbNorma", "1"}}, {}, nullptr, QMessageBox::NoIcon},
    };
    // clang-format on
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Start();
        for (auto [field, text] : r.typed) {
            const QString name = QString::fromUtf8(field);
            if (text[0] == '=') {  // typed into the list box's own field
                Find<QComboBox>(name)->setEditText(QString::fromUtf8(text + 1));
            } else {
                name.startsWith(u"cmb") ? Choose(name, QByteArray(text).toInt())
                                        : Type(name, QString::fromUtf8(text));
            }
            Leave();
        }
        // A real results window may ask for the designation: that box is closed.
        ModalScript script;
        Click(QStringLiteral("cmdOblicz"));
        Finish(script);
        EXPECT_EQ(OpenResults() && OpenResults()->isVisible(), r.message == nullptr);
        EXPECT_EQ(window_->isVisible(), r.message != nullptr);
        if (r.message == nullptr) {
            EXPECT_EQ(s_.Wyniki_EN.valid, UsesEurocode(s_));
            continue;
        }
        ASSERT_EQ(script.boxes.size(), 1u);
        EXPECT_EQ(script.boxes[0].title, r.title);
        EXPECT_TRUE(script.boxes[0].text.startsWith(QString::fromUtf8(r.message)))
            << script.boxes[0].text.toStdString();
        EXPECT_EQ(script.boxes[0].icon, r.icon);
        if (*r.field != '\0') {
            QWidget* field = Find<QWidget>(QString::fromLatin1(r.field));
            QWidget* focus = window_->focusWidget();
            EXPECT_TRUE(focus == field || field->isAncestorOf(focus))
                << (focus ? focus->objectName().toStdString() : "none");
            auto* box = qobject_cast<QComboBox*>(focus);
            auto* edit = box ? box->lineEdit() : qobject_cast<QLineEdit*>(focus);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->selectedText(), edit->text());
        }
    }
}

// The exit command writes what the fields hold, calculated or not; a field that cannot be read is
// named and the window stays open at it; a printout that ended badly is told and the page number
// stays.
TEST_F(InputWindowTest, ExitWritesTheSettingsFromTheFields) {
    Start();
    Type(QStringLiteral("Text1"), QStringLiteral("3"));
    Type(QStringLiteral("Text3"), QStringLiteral("350"));
    Type(QStringLiteral("txtNaz_proj"), QStringLiteral("Wiata W-2"));
    Type(QStringLiteral("Text7(2)"), QStringLiteral("abc"));
    Find<QComboBox>(QStringLiteral("cmbFi"))->setCurrentIndex(2);
    Click(QStringLiteral("optHsruby(1)"));
    {
        const QByteArray before = test::ReadAll(dir_.filePath(SettingsFileName()));
        ModalScript script;
        Click(QStringLiteral("cmdKoniec"));
        Finish(script);
        ASSERT_EQ(script.boxes.size(), 1u);
        EXPECT_TRUE(script.boxes[0].text.contains(u"„abc” w polu „M [kNm]” przypadku 3"_s));
        EXPECT_TRUE(window_->isVisible());
        EXPECT_EQ(window_->focusWidget(), Field(QStringLiteral("Text7(2)")));
        EXPECT_EQ(test::ReadAll(dir_.filePath(SettingsFileName())), before);
    }
    Type(QStringLiteral("Text7(2)"), QStringLiteral("-40.5"));
    Type(QStringLiteral("Text6(2)"), QStringLiteral("612.5"));
    test::WriteBytes(dir_.filePath(QStringLiteral("W_X.txt")), "0, 5\r\n");
    QSignalSpy ended(window_.get(), &InputWindow::programEnded);
    ModalScript script;
    Click(QStringLiteral("cmdKoniec"));
    Finish(script);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(window_->isVisible());
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0].text, u"Złe zakonczenie wydruku");
    DesignCase back;
    ASSERT_FALSE(ReadSettings(back, dir_.filePath(SettingsFileName())).has_value());
    EXPECT_EQ(back.R_zewn, 350);
    EXPECT_EQ(back.Numer_sruby, 3);
    EXPECT_EQ(back.Strona, 1);
    EXPECT_EQ(
        std::tuple(back.Naz_proj, back.Liczba_przyp, back.N_kN[3], back.M_kNm[3], back.Tryb_sru),
        std::tuple(u"Wiata W-2"_s, 3, 612.5f, -40.5f, 1));
}

// A damaged settings file ends nothing and loses nothing: the start says which line and why, keeps
// the file beside under a new name and opens on the shipped settings, which take its place.
TEST_F(InputWindowTest, ADamagedSettingsFileIsKeptAndTheShippedOnesTaken) {
    const QString path = dir_.filePath(SettingsFileName());
    QByteArray damaged = test::ReadAll(path);
    damaged.replace("100R_wewn", "R_wewn");
    test::WriteBytes(path, damaged);
    ModalScript script;
    Start();
    Finish(script);
    ASSERT_EQ(script.boxes.size(), 1u);
    const QString told = script.boxes[0].text;
    EXPECT_TRUE(
        told.contains(u"wiersz 15: „R_wewn” nie jest liczbą. Wiersz 15 to promień "
                      u"wewnętrzny pierścienia Rw"_s))
        << told.toStdString();
    const QStringList kept = QDir(dir_.path()).entryList({u"VardelOK-uszkodzony-*.cfg"_s});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(told.contains(kept[0]));
    EXPECT_EQ(test::ReadAll(dir_.filePath(kept[0])), damaged);
    EXPECT_EQ(test::ReadAll(path), test::ReadAll(test::ProgramDir() + u"/VardelOK.cfg"_s));
    EXPECT_EQ(Field(QStringLiteral("Text4"))->text(), u"100");
}

// Installed where the user cannot write, the program works in a per-user directory seeded from
// the shipped files; the user's settings survive the next start, the print program is found.
TEST_F(InputWindowTest, AReadOnlyProgramDirectoryGivesWayToThePerUserOne) {
    QTemporaryDir home;
    const QString user = home.filePath(QStringLiteral("data/vardel"));
    const ProgramDirChoice first = ChooseProgramDir(test::ProgramDir(), user, false);
    ASSERT_EQ(first.dir, user) << first.error.toStdString();
    for (const char* name : {"VardelOK.cfg", "Vdlpl.txt", "Vdlgeok.txt", "Sily.bmp"}) {
        EXPECT_TRUE(QFile::exists(QDir(user).filePath(QString::fromLatin1(name)))) << name;
    }
    EXPECT_FALSE(QFile::exists(QDir(user).filePath(QStringLiteral("vardel-calc"))));
    EXPECT_EQ(QFileInfo(QDir(user).filePath(QStringLiteral("Lumdruk"))).symLinkTarget(),
              QDir(test::ProgramDir()).filePath(QStringLiteral("Lumdruk")));
    DesignCase s;
    EXPECT_FALSE(InputWindow(s, user).Load().has_value());

    QFile mine(QDir(user).filePath(SettingsFileName()));
    ASSERT_TRUE(mine.open(QIODevice::Append));
    mine.write("the user's\r\n");
    mine.close();
    const QByteArray kept = test::ReadAll(mine.fileName());
    EXPECT_EQ(ChooseProgramDir(test::ProgramDir(), user, false).dir, user);
    EXPECT_EQ(test::ReadAll(mine.fileName()), kept);

    EXPECT_EQ(ChooseProgramDir(test::ProgramDir(), QString(), false).dir, QString());
    EXPECT_FALSE(IsWritableDir(home.filePath(QStringLiteral("none"))));
}

// The selection window driven as a user drives it: the thickness prompt answered with a number,
// with text, a negative number, cancelled or overflowing; the tab chosen by the steel and the
// diameter, changed with the mouse; confirmed with the button or Enter (the focus is on "O&K"), or
// cancelled.
TEST_F(InputWindowTest, TheAnchorSelectionWindow) {
    const QString notANumber = "Podany ciąg znaków nie tworzy liczby\nPrzyjęto wartość ZERO.";
    const QString negative = "Grubość nie może być ujemna\nPrzyjęto wartość ZERO.";
    enum class Act { Ok, HookTabThenOk, Enter, Anuluj };
    const struct {
        const char* what;
        int d, steel;
        const char* answer;  // see Answers()
        Act act;
        QString told;
        QString tabs;  // captions, "|" between them, "-" after a disabled one
        int shownTab;  // current when the window opened
        QString L1;    // the rib label, "" when hidden
        bool confirmed;
        QString designation;  // ends the first line of the block
    } rows[] = {
        {"hook by default for St3", 24, 2, "=50", Act::Ok, "",
         "Kotwa hakowa|Kotwa z płytką (nie zalecane)", 0, "", true, "F-24-1600"},
        {"text taken as 0, hook chosen against 18G2", 24, 4, "=abc", Act::HookTabThenOk, notANumber,
         "Kotwa hakowa (nie zalecane)|Kotwa z płytką", 1, "", true, "F-24-1550"},
        {"negative taken as 0, plate by default for 18G2", 24, 4, "=-5", Act::Ok, negative,
         "Kotwa hakowa (nie zalecane)|Kotwa z płytką", 1, "", true, "P-24-600"},
        {"plate with ribs by Enter", 48, 4, "=80", Act::Enter, "",
         "Kotwa hakowa (nie zalecane)|Kotwa z płytką", 1, "L1 = 160 mm", true, "P-48-1200"},
        {"no plate at 16 mm, cancelled prompt", 16, 4, "close", Act::Anuluj, notANumber,
         "Kotwa hakowa (nie zalecane)|Kotwa z płytką-", 0, "", false, ""},
        {"overflowing thickness: nothing to confirm", 48, 2, "=40000", Act::Ok, "6!!!!",
         "Kotwa hakowa|Kotwa z płytką (nie zalecane)-", 0, "L1 = ", false, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        QFile::remove(dir_.filePath("Szkick.bmp"));
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
        const auto click = [](QWidget* w, const char* name) {
            QTest::mouseClick(w->findChild<QPushButton*>(name), Qt::LeftButton);
        };
        std::vector<ModalScript::Action> actions = Answers(QString::fromUtf8(r.answer));
        actions.push_back([&](QWidget* w) {
            auto* tab = w->findChild<QTabWidget*>("SSTab1");
            shownTab = tab->currentIndex();
            for (int k = 0; k < 2; ++k) {
                tabs += (k ? "|" : "") + tab->tabText(k) + (tab->isTabEnabled(k) ? "" : "-");
            }
            const QList<QLabel*> labels = w->findChildren<QLabel*>("lblL1");
            QLabel* L1 = *std::ranges::find(labels, 1,
                                            [](QLabel* l) { return l->property("Index").toInt(); });
            plateL1 = L1->isVisibleTo(L1->parentWidget()) ? L1->text() : "";
            switch (r.act) {
                case Act::HookTabThenOk:
                    QTest::mouseClick(tab->tabBar(), Qt::LeftButton, {},
                                      tab->tabBar()->tabRect(0).center());
                    [[fallthrough]];
                case Act::Ok:
                    click(w, "cmdOK");
                    if (w->isVisible()) {  // OK refused: leave by Anuluj
                        click(w, "cmdAnuluj");
                    }
                    break;
                case Act::Enter:
                    // The window's own focus: under load it may not be the active one yet.
                    ASSERT_NE(w->focusWidget(), nullptr);
                    QTest::keyClick(w->focusWidget(), Qt::Key_Return);
                    break;
                case Act::Anuluj:
                    click(w, "cmdAnuluj");
                    break;
            }
        });
        ModalScript script(std::move(actions));
        const bool confirmed = RunAnchorSelection(s, dir_.path(), nullptr);
        Finish(script);
        EXPECT_TRUE(script.done());
        QStringList told;
        for (const ModalScript::Box& box : script.boxes) {
            told << box.text;
        }
        EXPECT_EQ(told.join("/"), r.told);
        EXPECT_EQ(tabs, r.tabs);
        EXPECT_EQ(shownTab, r.shownTab);
        EXPECT_EQ(plateL1, r.L1);
        EXPECT_EQ(confirmed, r.confirmed);
        EXPECT_EQ(QFile::exists(dir_.filePath("Szkick.bmp")), r.confirmed);
        if (r.confirmed) {
            EXPECT_EQ(s.Dobor_teksty[1], "Dobrano kotwę: " + r.designation);
        } else {
            EXPECT_EQ(s.Dobor_liczba, 0);
        }
    }
}

// Load tables read into the load tab (the shipped design under them), and the bolt layouts that
// "Dobierz śruby" offers.
TEST_F(InputWindowTest, ALoadTableBecomesTheLoadCasesOrTellsWhyNot) {
    Start();
    const auto loadFields = [this] {
        QStringList texts{Field("Text1")->text()};
        for (int i = 0; i < kMaxCases; ++i) {
            for (const char* f : {"Text6(%1)", "Text7(%1)", "Text5(%1)"}) {
                texts << Field(QString::fromLatin1(f).arg(i))->text();
            }
        }
        return texts;
    };
    const QByteArray kShearTable =
        "K1,100,1,0\nK2,100,1,0\nK3,150,60,0\nK4,100,1,0\nK5,100,1,10\nK6,100,1,0\n"
        "K7,100,1,0\nK8,100,1,0\n";
    const struct {
        const char* what;
        QByteArray file;
        QStringList fields;  // Text1, then N, M, V from the first row; none: nothing taken
        const char* box;     // part of the one message box, "" for none
        int code = 0;        // cmbNorma: the PN-B or the PN-EN checks choose the rows
    } rows[] = {
        {"a header, a decimal comma, signs kept",
         "N;M;V\n100;20,5;5\n-50;10;0\n",
         {"2", "100", "20.5", "5", "-50", "10", "0"},
         ""},
        {"the governing rows of a longer table, named",
         "K1,100,1,0\nK2,100,1,0\nK3,150,60,0\nK4,100,1,0\nK5,100,1,0\nK6,100,1,0\n"
         "K7,100,1,80\nK8,100,1,0\n",
         {"2", "150", "60", "0", "100", "1", "80"},
         "Wierszy w tabeli: 8. Przypadkami obciążenia są wiersze decydujące: 3 (K3), 7 (K7)."},
        {"text in a number", "100;abc;5\n", {}, "abc"},
        // Friction carries the small shear of K5, so that no PN-B check uses it; the PN-EN shear
        // and pry-out checks do.
        {"by the PN-B checks", kShearTable, {"1", "150", "60", "0"}, "decydujące: 3 (K3)."},
        {"by the PN-EN checks",
         kShearTable,
         {"2", "150", "60", "0", "100", "1", "10"},
         "decydujące: 3 (K3), 5 (K5).",
         1},
    };
    const QString path = dir_.filePath("tabela.csv");
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        test::WriteBytes(path, r.file);
        Choose(QStringLiteral("cmbNorma"), r.code);
        const QStringList before = loadFields();
        ModalScript script;
        EXPECT_EQ(window_->LoadTableFile(path), !r.fields.isEmpty());
        Finish(script);
        EXPECT_EQ(loadFields().mid(0, r.fields.isEmpty() ? before.size() : r.fields.size()),
                  r.fields.isEmpty() ? before : r.fields);
        ASSERT_EQ(script.boxes.size(), *r.box != '\0' ? 1u : 0u);
        if (*r.box != '\0') {
            EXPECT_TRUE(script.boxes[0].text.contains(QString::fromUtf8(r.box)))
                << script.boxes[0].text.toStdString();
        }
    }
}

// Under the PN-EN checks a confirmed anchor gives them its embedment (the M24 hook's base length,
// 1080 mm in the catalogue), and the Eurocode tab shows it once the results window returns.
TEST_F(InputWindowTest, AConfirmedAnchorGivesThePnEnChecksItsEmbedment) {
    Start();
    Choose(u"cmbNorma"_s, 1);
    Type(u"Text6(0)"_s, u"200"_s);
    Type(u"Text7(0)"_s, u"40"_s);
    {
        ModalScript designation;
        Click(u"cmdOblicz"_s);
        Finish(designation);
    }
    QWidget* results = OpenResults();
    ASSERT_TRUE(results && results->isVisible());
    ModalScript anchor(Answers(u"=50 cmdOK"_s));
    results->findChild<QAction*>(u"mnuDobor"_s)->trigger();
    Finish(anchor);
    const std::vector<CheckResult>& checks = s_.Wyniki_EN.checks[1];
    const auto hook = std::ranges::find(checks, std::string_view("anchorage"), &CheckResult::check);
    ASSERT_NE(hook, checks.end());
    EXPECT_EQ(hook->Rd, 1080);
    results->findChild<QAction*>(u"mnuPowrot"_s)->trigger();
    EXPECT_EQ(Field(u"txtH_ef"_s)->text(), u"1080"_s);
}

// "Zastosuj" takes the chosen layout into the bolt fields; a loaded table is sized whole, not only
// the rows the load tab shows (that such a layout passes every row is the search's tests').
TEST_F(InputWindowTest, TheChosenBoltLayoutIsSizedForTheWholeTable) {
    Start();
    QByteArray file;
    for (int k = 0; k < 40; ++k) {
        file += QByteArray::number(300 - 15 * k) + ',' + QByteArray::number(2 * k) +
                (k % 7 == 3 ? ",60\n" : ",5\n");
    }
    const QString table = dir_.filePath("tabela.csv");
    test::WriteBytes(table, file);
    {
        ModalScript script;
        ASSERT_TRUE(window_->LoadTableFile(table));
        Finish(script);
    }
    QString column, diameter;
    int count = 0, governing = 0;
    const auto sizeBolts = [&](std::vector<ModalScript::Action> actions) {
        ModalScript script(std::move(actions));
        Click("cmdDobierz");
        Finish(script);
        return script.boxes;
    };
    EXPECT_TRUE(sizeBolts({[&](QWidget* d) {
                    auto* table = d->findChild<QTableWidget*>("tblUklady");
                    ASSERT_GE(table->rowCount(), 2);
                    column = table->horizontalHeaderItem(5)->text();
                    table->selectRow(1);  // not the lightest: the choice is what counts
                    count = table->item(1, 0)->text().toInt();
                    diameter = table->item(1, 1)->text();
                    governing = table->item(1, 5)->text().toInt();
                    Answers("cmdZastosuj").front()(d);
                }}).empty());
    EXPECT_EQ(column, "Wiersz");
    EXPECT_GT(governing, kMaxCases);  // a row beyond those the load tab holds
    EXPECT_EQ(Field("Text12")->text().toInt(), count);
    EXPECT_TRUE(Find<QComboBox>("cmbFi")->currentText().contains(diameter));

    // Once the load fields are edited the table is no longer what is sized; closing changes
    // nothing.
    Field("Text6(0)")->setText("301");
    sizeBolts({[&](QWidget* d) {
        column = d->findChild<QTableWidget*>()->horizontalHeaderItem(5)->text();
        Answers("close").front()(d);
    }});
    EXPECT_EQ(column, "Przypadek");
    EXPECT_EQ(Field("Text12")->text().toInt(), count);
    Field("Text6(0)")->setText("90000");
    const auto boxes = sizeBolts({});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith("Żaden układ od 4 do 50 śrub"));
}

// The dialogs behind the prompt interface: what is typed comes back, Cancel gives nothing; a
// message shows in a message box.
TEST(QtPrompter, InputBoxAndMessageBox) {
    QtPrompter prompter(nullptr);
    for (const char* answer : {"=12", "close"}) {
        SCOPED_TRACE(answer);
        QString asked;
        ModalScript script({[&](QWidget* w) {
            auto* box = qobject_cast<QInputDialog*>(w);
            asked = box->windowTitle() + u'|' + box->labelText() + u'|' + box->textValue();
            Answers(QString::fromLatin1(answer)).front()(w);
        }});
        const auto typed = prompter.AskText(u"Podaj nr strony"_s, u"Vardel 2005"_s, u"3"_s);
        EXPECT_EQ(asked, u"Vardel 2005|Podaj nr strony|3");
        EXPECT_EQ(typed, answer[0] == '=' ? std::optional(u"12"_s) : std::nullopt);
    }
    ModalScript script;
    prompter.Tell(u"Vardel Ok"_s, u"Problem z wyborem drukarki"_s);
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0].title + u'|' + script.boxes[0].text,
              u"Vardel Ok|Problem z wyborem drukarki");
}

// Qt's own buttons follow the user's language: "Anuluj" on a Polish desktop.
TEST(QtLanguage, PolishButtons) {
    QTranslator* polish = InstallQtTranslations(test::Polish());
    ASSERT_NE(polish, nullptr) << "Qt's translations missing: run scripts/install-deps.sh";
    QMessageBox box(QMessageBox::Question, u"Vardel"_s, u"?"_s,
                    QMessageBox::Ok | QMessageBox::Cancel);
    const QString cancel = box.button(QMessageBox::Cancel)->text();
    QCoreApplication::removeTranslator(polish);
    delete polish;
    EXPECT_EQ(cancel, u"Anuluj"_s);
}

}  // namespace
}  // namespace vardel

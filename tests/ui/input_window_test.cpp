// The input window and its stiffness-ratio dialog, driven as a user drives them: keys typed into
// the fields, clicks on the options and buttons, answers given to the boxes that come up.
#include "ui/input_window.h"
#include "tests/test_support.h"
#include "texts/settings_file.h"
#include "ui/program_dir.h"

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
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace vardel {
namespace {

// Answers the modal boxes as they come up, without blocking: each new modal window gets the
// next action; one that no action expects is closed and counted. Message boxes are recorded.
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
        for (const QPointer<QWidget>& h : handled_) {
            if (h == w) {
                return;
            }
        }
        handled_.emplace_back(w);
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            boxes.push_back({box->windowTitle(), box->text(), box->icon()});
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

ModalScript::Action Ok() {
    return [](QWidget* w) { static_cast<QDialog*>(w)->accept(); };
}
ModalScript::Action Cancel() {
    return [](QWidget* w) { static_cast<QDialog*>(w)->reject(); };
}
ModalScript::Action Answer(const QString& text) {
    return [text](QWidget* w) {
        auto* box = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(box, nullptr);
        box->setTextValue(text);
        box->accept();
    };
}
ModalScript::Action Press(const QString& button) {
    return [button](QWidget* w) {
        auto* b = w->findChild<QPushButton*>(button);
        ASSERT_NE(b, nullptr) << button.toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    };
}

// Waits until the script has used every action (the boxes close asynchronously).
void Finish(const ModalScript& script) {
    for (int i = 0; i < 200 && (!script.done() || QApplication::activeModalWidget()); ++i) {
        QTest::qWait(5);
    }
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
        // Deleting a results window deletes the top-level dialogs it owns: hold them guarded.
        std::vector<QPointer<QWidget>> windows;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == u"VardelWynOK") {
                windows.emplace_back(w);
            }
        }
        for (const QPointer<QWidget>& w : windows) {
            delete w.data();
        }
    }

    // The window after its start-up, shown and active.
    InputWindow& Start() {
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
    void ChooseConcrete(int index) {
        auto* box = Find<QComboBox>(QStringLiteral("cmbBeton"));
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
// load cases of which only the first is shown, 300/100 mm ring, eight M24 on 250 mm.
TEST_F(InputWindowTest, StartsOnTheGeneralTabWithTheFieldsFormatted) {
    Start();
    EXPECT_EQ(Find<QTabWidget>(QStringLiteral("SSTab1"))->currentIndex(), 1);
    EXPECT_TRUE(Field(QStringLiteral("Text1"))->hasFocus());
    EXPECT_EQ(VisibleRows(), 1);
    const std::pair<const char*, const char*> shown[] = {
        {"txtNaz_proj", "Hala magazynowa, słup S1"},
        {"txtNr_strony", "1"},
        {"Text1", "1"},
        {"Text2", "7.07"},
        {"Text3", "300"},
        {"Text4", "100"},
        {"Text11", "250"},
        {"Text12", "8"},
        {"Text6(0)", "500.0"},
        {"Text7(1)", "120.0"},
        {"Text5(2)", "20.0"},
        {"Text6(5)", "0.0"},
    };
    for (auto [name, text] : shown) {
        EXPECT_EQ(Field(QString::fromUtf8(name))->text().toStdString(), text) << name;
    }
    EXPECT_EQ(Find<QComboBox>(QStringLiteral("cmbFi"))->currentText(), u"24");
    EXPECT_EQ(Find<QComboBox>(QStringLiteral("cmbBeton"))->currentText(), u"B20");
    EXPECT_EQ(Find<QComboBox>(QStringLiteral("cmbStal"))->currentIndex(), 1);
    EXPECT_TRUE(Find<QRadioButton>(QStringLiteral("Jezyk(0)"))->isChecked());
    EXPECT_TRUE(Find<QRadioButton>(QStringLiteral("Wsp_n(0)"))->isChecked());
    EXPECT_FALSE(Find<QLabel>(QStringLiteral("Image1(0)"))->pixmap().isNull());
    EXPECT_TRUE(s_.Oznaczenie_stopy.isEmpty());
}

// Each row is something the user does and what the window and the state show afterwards;
// the boxes that come up are answered by the row's script.
TEST_F(InputWindowTest, FieldsOptionsAndTheStiffnessDialog) {
    struct Row {
        const char* what;
        std::vector<ModalScript::Action> answers;
        std::function<void(InputWindowTest&)> act;
        std::function<void(InputWindowTest&)> check;
        int boxes = 0;  // message boxes expected
    };
    using T = InputWindowTest;
    const auto ratio = [](double n, const char* shown) {
        return [n, shown](T& t) {
            EXPECT_DOUBLE_EQ(t.s_.Es_Eb, n);
            EXPECT_EQ(t.Field(QStringLiteral("Text2"))->text().toStdString(), shown);
        };
    };
    const Row rows[] = {
        {"three cases show three rows with the stored values",
         {},
         [](T& t) { t.Type(QStringLiteral("Text1"), QStringLiteral("3")), t.Leave(); },
         [](T& t) {
             EXPECT_EQ(t.VisibleRows(), 3);
             EXPECT_EQ(t.s_.Liczba_przyp, 3);
             EXPECT_EQ(t.Field(QStringLiteral("Text6(2)"))->text(), u"300.0");
         }},
        {"nine cases become six",
         {},
         [](T& t) { t.Type(QStringLiteral("Text1"), QStringLiteral("9")), t.Leave(); },
         [](T& t) {
             EXPECT_EQ(t.VisibleRows(), 6);
             EXPECT_EQ(t.Field(QStringLiteral("Text1"))->text(), u"6");
         }},
        {"a count that is no number keeps the previous one",
         {},
         [](T& t) {
             t.Type(QStringLiteral("Text1"), QStringLiteral("2")), t.Leave();
             t.Type(QStringLiteral("Text1"), QStringLiteral("dwa")), t.Leave();
         },
         [](T& t) {
             EXPECT_EQ(t.s_.Liczba_przyp, 2);
             EXPECT_EQ(t.Field(QStringLiteral("Text1"))->text(), u"2");
         }},
        {"a count below one becomes one",
         {},
         [](T& t) { t.Type(QStringLiteral("Text1"), QStringLiteral("0")), t.Leave(); },
         [](T& t) {
             EXPECT_EQ(t.VisibleRows(), 1);
             EXPECT_EQ(t.Field(QStringLiteral("Text1"))->text(), u"1");
         }},
        {"the count takes effect on a tab change too",
         {},
         [](T& t) {
             t.Field(QStringLiteral("Text1"))->setText(QStringLiteral("4"));
             t.Find<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(2);
         },
         [](T& t) {
             EXPECT_EQ(t.VisibleRows(), 4);
             EXPECT_TRUE(t.Field(QStringLiteral("Text6(0)"))->hasFocus());
         }},
        {"the bolts tab takes the bolt fields into the state as they are typed",
         {},
         [](T& t) {
             t.Find<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(3);
             t.Type(QStringLiteral("Text12"), QStringLiteral("12"));
             t.Type(QStringLiteral("Text11"), QStringLiteral("x"));
         },
         [](T& t) {
             EXPECT_EQ(t.s_.Liczba_srub, 12);
             EXPECT_EQ(t.s_.R_srub, 250);
             EXPECT_FALSE(t.Find<QLabel>(QStringLiteral("Picture1"))->pixmap().isNull());
         }},
        {"a new concrete with n computed shows its n at once",
         {},
         [](T& t) { t.ChooseConcrete(3); },
         ratio(205000.0 / 31000, "6.61")},
        {"clicking the computed option again does nothing",
         {},
         [](T& t) { t.Click(QStringLiteral("Wsp_n(0)")); },
         ratio(205000.0 / 29000, "7.07")},
        {"n given by the user: the concrete's value",
         {Press(QStringLiteral("cmdn(1)"))},
         [](T& t) { t.Click(QStringLiteral("Wsp_n(1)")); },
         [&](T& t) {
             ratio(7.07, "7.07")(t);
             EXPECT_EQ(t.s_.Tryb_n, 1);
         }},
        {"n given by the user: the recommended 6",
         {Press(QStringLiteral("cmdn(0)"))},
         [](T& t) { t.Click(QStringLiteral("Wsp_n(1)")); },
         ratio(6, "6.")},
        {"a typed n passes through single precision",
         {Press(QStringLiteral("cmdn(2)")), Answer(QStringLiteral("7.3"))},
         [](T& t) { t.Click(QStringLiteral("Wsp_n(1)")); },
         ratio(7.3f, "7.3")},
        {"a typed n that is no number is refused and asked again",
         {Press(QStringLiteral("cmdn(2)")), Answer(QStringLiteral("siedem")), Ok(),
          Answer(QStringLiteral("8"))},
         [](T& t) { t.Click(QStringLiteral("Wsp_n(1)")); },
         ratio(8, "8."),
         1},
        {"a typed n out of range is refused; Cancel then gives 6",
         {Press(QStringLiteral("cmdn(2)")), Answer(QStringLiteral("400")), Ok(), Cancel()},
         [](T& t) { t.Click(QStringLiteral("Wsp_n(1)")); },
         ratio(6, "6."),
         1},
        {"the dialog's close box keeps n",
         {Cancel()},
         [](T& t) { t.Click(QStringLiteral("Wsp_n(1)")); },
         [&](T& t) {
             ratio(205000.0 / 29000, "7.07")(t);
             EXPECT_EQ(t.s_.Tryb_n, 1);
         }},
        {"a new concrete with n given opens the dialog for it",
         {Press(QStringLiteral("cmdn(0)")), Press(QStringLiteral("cmdn(1)"))},
         [](T& t) {
             t.Click(QStringLiteral("Wsp_n(1)"));
             t.ChooseConcrete(3);
         },
         ratio(6.61, "6.61")},
        {"the results language and the RTF choice",
         {},
         [](T& t) {
             t.Click(QStringLiteral("Jezyk(2)"));
             t.Click(QStringLiteral("optRTF(2)"));
         },
         [](T& t) {
             EXPECT_EQ(t.s_.Jezyk, 2);
             EXPECT_EQ(t.s_.Tryb_RTF, 2);
             EXPECT_TRUE(t.s_.Teksty[33].contains(u"concrete", Qt::CaseInsensitive))
                 << t.s_.Teksty[33].toStdString();
         }},
        {"a language whose files are missing keeps the one in force",
         {Ok()},
         [](T& t) {
             QFile::remove(t.dir_.filePath(QStringLiteral("Vdlfrok.txt")));
             t.Click(QStringLiteral("Jezyk(3)"));
         },
         [](T& t) {
             EXPECT_EQ(t.s_.Jezyk, 0);
             EXPECT_TRUE(t.Find<QRadioButton>(QStringLiteral("Jezyk(0)"))->isChecked());
             EXPECT_TRUE(t.s_.Teksty[33].contains(u"betonow", Qt::CaseInsensitive));
         },
         1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        s_ = DesignCase();
        Start();
        ModalScript script(r.answers);
        r.act(*this);
        Finish(script);
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
        EXPECT_EQ(static_cast<int>(script.boxes.size()), r.boxes);
        r.check(*this);
    }
}

// Every stop of the calculate command reaches its message box, and no results window opens;
// a run without a stop opens the results window and hides this one.
TEST_F(InputWindowTest, CalculateShowsEachStopOrOpensTheResults) {
    struct Row {
        const char* what;
        std::vector<std::pair<const char*, const char*>> typed;  // field, text
        int steel, diameter;                                     // entries to choose, -1 none
        const char* title;
        const char* message;  // its beginning
        QMessageBox::Icon icon;
    };
    const Row rows[] = {
        {"ring without a wall",
         {{"Text4", "300"}},
         -1,
         -1,
         "Vardel 2005",
         "Promień zewnętrzny pierścienia musi być większy",
         QMessageBox::Critical},
        {"bolts too close",
         {{"Text4", "50"}, {"Text11", "100"}, {"Text12", "16"}},
         -1,
         2,
         "UWAGA:",
         "Za mały rozstaw śrub!",
         QMessageBox::Critical},
        {"steel and diameter the standard does not allow",
         {},
         0,
         6,
         "Vardel 2005",
         "Norma nie przewiduje takich śrub",
         QMessageBox::Critical},
        {"the bolt circle off the plate",
         {{"Text11", "300"}},
         -1,
         -1,
         "Vardel 2005",
         "Okrąg śrub musi leżeć na blasze",
         QMessageBox::Critical},
        {"a field that is no number",
         {{"Text7(0)", "abc"}},
         -1,
         -1,
         "Vardel 2005",
         "Podany ciąg znaków nie tworzy liczby",
         QMessageBox::Warning},
        {"no bolts",
         {{"Text12", "0"}},
         -1,
         -1,
         "Vardel 2005",
         "Liczba śrub musi być większa od zera!",
         QMessageBox::Critical},
        {"a field beyond 16 bits",
         {{"Text12", "40000"}},
         -1,
         -1,
         "Vardel 2005",
         "K3(oblicz)!!",
         QMessageBox::Warning},
        {"a sound design", {}, -1, -1, nullptr, nullptr, QMessageBox::NoIcon},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        s_ = DesignCase();
        Start();
        for (auto [field, text] : r.typed) {
            Type(QString::fromUtf8(field), QString::fromUtf8(text));
            Leave();
        }
        if (r.steel >= 0) {
            auto* box = Find<QComboBox>(QStringLiteral("cmbStal"));
            box->setCurrentIndex(r.steel);
            emit box->activated(r.steel);
        }
        if (r.diameter >= 0) {
            Find<QComboBox>(QStringLiteral("cmbFi"))->setCurrentIndex(r.diameter);
        }
        // A real results window may ask for the designation: any box it opens is closed.
        ModalScript script(r.title ? std::vector{Ok()} : std::vector<ModalScript::Action>{});
        Click(QStringLiteral("cmdOblicz"));
        Finish(script);
        QWidget* results = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == u"VardelWynOK" && w->isVisible()) {
                results = w;
            }
        }
        if (r.title == nullptr) {
            EXPECT_NE(results, nullptr);
            EXPECT_FALSE(window_->isVisible());
            continue;
        }
        EXPECT_EQ(results, nullptr);
        ASSERT_EQ(script.boxes.size(), 1u);
        EXPECT_EQ(script.boxes[0].title.toStdString(), r.title);
        EXPECT_TRUE(script.boxes[0].text.startsWith(QString::fromUtf8(r.message)))
            << script.boxes[0].text.toStdString();
        EXPECT_EQ(script.boxes[0].icon, r.icon);
    }
}

// The exit command writes the ring, the diameter and the bolts as the window shows them (the rest
// as the last run left it); a printout that ended badly is told and the page number stays.
TEST_F(InputWindowTest, ExitWritesTheSettingsFromTheFields) {
    Start();
    Type(QStringLiteral("Text3"), QStringLiteral("350"));
    Find<QComboBox>(QStringLiteral("cmbFi"))->setCurrentIndex(2);
    QFile status(dir_.filePath(QStringLiteral("W_X.txt")));
    ASSERT_TRUE(status.open(QIODevice::WriteOnly));
    status.write("0, 5\r\n");
    status.close();
    QSignalSpy ended(window_.get(), &InputWindow::programEnded);
    ModalScript script({Ok()});
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
    EXPECT_EQ(back.Naz_proj, u"Hala magazynowa, słup S1");
    EXPECT_EQ(back.Strona, 1);
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

}  // namespace
}  // namespace vardel

// Load tables read into the load tab and the bolt layouts the design assistant offers, driven
// through the input window as a user drives them.
#include "tests/test_support.h"
#include "ui/input_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace vardel {
namespace {

class SizingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const QDir shipped(test::ProgramDir());
        for (const QFileInfo& f : shipped.entryInfoList(QDir::Files)) {
            QFile::copy(f.filePath(), dir_.filePath(f.fileName()));
        }
        window_ = std::make_unique<InputWindow>(s_, dir_.path());
        ASSERT_FALSE(window_->Load().has_value());
    }

    QString Text(const QString& name) {
        auto* e = window_->findChild<QLineEdit*>(name);
        return e != nullptr ? e->text() : QStringLiteral("(no field %1)").arg(name);
    }
    QStringList LoadFields() {
        QStringList texts{Text(QStringLiteral("Text1"))};
        for (int i = 0; i < kMaxCases; ++i) {
            for (const char* f : {"Text6(%1)", "Text7(%1)", "Text5(%1)"}) {
                texts << Text(QString::fromLatin1(f).arg(i));
            }
        }
        return texts;
    }
    QString WriteTable(const QByteArray& bytes) {
        const QString path = dir_.filePath(QStringLiteral("tabela.csv"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }
    // Runs `command`, handing every modal window that comes up to `answer`, which must close it;
    // returns the texts of the message boxes.
    QStringList Answering(const std::function<void()>& command,
                          const std::function<void(QDialog*)>& answer = {}) {
        QStringList boxes;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (w == nullptr) {
                return;
            }
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                boxes << box->text();
                box->accept();
            } else if (answer) {
                answer(w);
            } else {
                w->reject();
            }
        });
        timer.start(5);
        command();
        return boxes;
    }
    void SizeBolts(const std::function<void(QDialog*)>& answer) {
        auto* b = window_->findChild<QPushButton*>(QStringLiteral("cmdDobierz"));
        ASSERT_NE(b, nullptr);
        boxes_ = Answering([b] { b->click(); }, answer);
    }

    QTemporaryDir dir_;
    DesignCase s_;
    std::unique_ptr<InputWindow> window_;
    QStringList boxes_;
};

// The shipped design (eight M24 on 250 mm, a 300/100 mm ring, B20) under tables of loads.
TEST_F(SizingTest, ATableBecomesTheLoadCasesOrTellsWhyNot) {
    struct Row {
        const char* name;
        QByteArray file;
        bool taken;
        QStringList fields;  // Text1, then N, M, V of the rows from the first
        const char* box;     // what the one message box says, "" for none
    } rows[] = {
        {"a header, a decimal comma, signs kept",
         "N;M;V\n100;20,5;5\n-50;10;0\n",
         true,
         {"2", "100", "20.5", "5", "-50", "10", "0"},
         ""},
        {"the governing rows of a longer table, named",
         "K1,100,1,0\nK2,100,1,0\nK3,150,60,0\nK4,100,1,0\nK5,100,1,0\nK6,100,1,0\nK7,100,1,"
         "80\nK8,100,1,0\n",
         true,
         {"2", "150", "60", "0", "100", "1", "80"},
         "Wierszy w tabeli: 8. Przypadkami obciążenia są wiersze decydujące: 3 (K3), 7 (K7)."},
        {"text in a number", "100;abc;5\n", false, {}, "abc"},
        {"an empty file", "", false, {}, "tabela.csv"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const QStringList before = LoadFields();
        bool taken = false;
        const QStringList boxes =
            Answering([&] { taken = window_->LoadTableFile(WriteTable(r.file)); });
        EXPECT_EQ(taken, r.taken);
        const QStringList after = LoadFields();
        if (r.taken) {
            EXPECT_EQ(after.mid(0, r.fields.size()), r.fields);
        } else {
            EXPECT_EQ(after, before);
        }
        ASSERT_EQ(boxes.size(), *r.box != '\0' ? 1 : 0) << boxes.join(u'|').toStdString();
        if (!boxes.isEmpty()) {
            EXPECT_TRUE(boxes[0].contains(QString::fromUtf8(r.box))) << boxes[0].toStdString();
        }
    }
}

// "Zastosuj" takes the chosen layout into the bolt fields, and that layout passes every row of
// the table it was sized for, not only the rows the load tab shows.
TEST_F(SizingTest, TheChosenLayoutPassesEveryRowOfTheTable) {
    QByteArray file;
    std::vector<RowLoads> loads;
    for (int k = 0; k < 40; ++k) {
        const RowLoads row{300.0f - 15 * k, 2.0f * k, k % 7 == 3 ? 60.0f : 5.0f};
        loads.push_back(row);
        file += QByteArray::number(row.N_kN) + ',' + QByteArray::number(row.M_kNm) + ',' +
                QByteArray::number(row.V_kN) + '\n';
    }
    Answering([&] { ASSERT_TRUE(window_->LoadTableFile(WriteTable(file))); });

    QString column;
    int chosenCount = 0;
    int governingRow = 0;
    QString chosenDiameter;
    SizeBolts([&](QDialog* d) {
        auto* table = d->findChild<QTableWidget*>(QStringLiteral("tblUklady"));
        ASSERT_NE(table, nullptr);
        ASSERT_GE(table->rowCount(), 2);
        column = table->horizontalHeaderItem(5)->text();
        table->selectRow(1);  // not the lightest: the choice is what counts
        chosenCount = table->item(1, 0)->text().toInt();
        chosenDiameter = table->item(1, 1)->text();
        governingRow = table->item(1, 5)->text().toInt();
        d->findChild<QPushButton*>(QStringLiteral("cmdZastosuj"))->click();
    });
    EXPECT_TRUE(boxes_.isEmpty()) << boxes_.join(u'|').toStdString();
    EXPECT_EQ(column, QStringLiteral("Wiersz"));
    EXPECT_GT(governingRow, kMaxCases);  // a row beyond those the load tab holds
    EXPECT_EQ(Text(QStringLiteral("Text12")).toInt(), chosenCount);
    EXPECT_TRUE(window_->findChild<QComboBox*>(QStringLiteral("cmbFi"))
                    ->currentText()
                    .contains(chosenDiameter));

    auto all = CalculateTable(window_->Fields(), s_, loads, QLocale());
    ASSERT_TRUE(std::holds_alternative<TableResults>(all));
    for (const RowResult& r : std::get<TableResults>(all).rows) {
        EXPECT_LE(r.utilisation.bolt, 1.0);
        EXPECT_LE(r.utilisation.concrete, 1.0);
        EXPECT_LE(r.utilisation.shear, 1.0);
    }

    // Once the load fields are edited the table is no longer what is sized.
    window_->findChild<QLineEdit*>(QStringLiteral("Text6(0)"))->setText(QStringLiteral("301"));
    SizeBolts([&](QDialog* d) {
        column = d->findChild<QTableWidget*>()->horizontalHeaderItem(5)->text();
        d->reject();
    });
    EXPECT_EQ(column, QStringLiteral("Przypadek"));
    EXPECT_EQ(Text(QStringLiteral("Text12")).toInt(), chosenCount);  // closing changes nothing

    window_->findChild<QLineEdit*>(QStringLiteral("Text6(0)"))->setText(QStringLiteral("90000"));
    SizeBolts({});
    ASSERT_EQ(boxes_.size(), 1);
    EXPECT_TRUE(boxes_[0].startsWith(QStringLiteral("Żaden układ od 4 do 50 śrub")));
}

}  // namespace
}  // namespace vardel

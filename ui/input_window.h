// The main input window: every input of a design case on four tabs, the start-up of the program
// and the calculate and exit commands.
#pragma once

#include "calc/calculate.h"
#include "calc/load_rows.h"
#include "state/design_case.h"
#include "texts/file_error.h"

#include <QLocale>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace vardel {

class EurocodeTab;
class ResultsWindow;

class InputWindow : public QWidget {  // object name "Vardel3OK"
    Q_OBJECT

  public:
    // `s` is the program's one design case; `programDir` the directory its files are read from
    // and written to.
    InputWindow(DesignCase& s, QString programDir, QWidget* parent = nullptr);
    ~InputWindow() override;

    // The start-up: fills the choice lists, reads the settings file and the language texts and
    // fills the fields. A missing or damaged file is returned; the program cannot start then.
    [[nodiscard]] FileResult Load();

    // The texts and selections the calculate command reads.
    InputFields Fields() const;

    // The exit command: writes the settings file from the fields, hides the window and ends the
    // program (emits programEnded). A failed write is told; the old file stays intact.
    void EndProgram();

    // The load tab's "Wczytaj z pliku…" once a file is chosen: a table of six rows or fewer
    // becomes the load cases; of a longer one the governing rows do, and the whole table is what
    // the bolt sizing passes for as long as the load fields keep those rows. A file that cannot
    // be read, or a longer table on fields that cannot be calculated, is told and changes
    // nothing. True when the rows were taken.
    bool LoadTableFile(const QString& path);

  signals:
    void programEnded();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildTabs();
    void ApplyCaseCount();
    void ShowCaseRows();
    void OnTabChanged(int index);
    void FocusFirstField(int tab);
    void ShowStopAtField(const Stop& stop);
    void RedrawSketch();
    void OnConcreteChosen(int index);
    void OnStiffnessModeClicked(int k);
    void OnLanguageClicked(int k);
    void ShowRatio();
    void OpenStiffnessDialog();
    void Calculate();
    void ChooseTableFile();
    void SizeBolts();
    QStringList LoadTexts() const;
    // The code choice of the configuration tab and its "Eurocode" tab (eurocode_hooks).
    void BuildEurocode(QWidget* configurationTab, QGridLayout* grid, int row);
    void ShowCode();
    void RedrawEurocodeSketch();
    bool TakeEurocodeInputs();

    DesignCase& s_;
    QString programDir_;
    QLocale locale_;
    int loadedLanguage_ = -1;
    bool loaded_ = false;

    QTabWidget* tabs_ = nullptr;
    QLineEdit* txtNaz_proj_ = nullptr;
    QLineEdit* txtNr_strony_ = nullptr;
    std::array<QRadioButton*, 5> jezyk_{};
    std::array<QRadioButton*, 2> wspN_{};
    std::array<QRadioButton*, 2> optHsruby_{};
    std::array<QRadioButton*, 3> optRTF_{};
    std::array<QRadioButton*, 2> option1_{};
    std::array<QLineEdit*, 13> text_{};  // Text1..Text12 at their numbers; 5, 6, 7 unused
    std::array<QLineEdit*, kMaxCases> text6_{};
    std::array<QLineEdit*, kMaxCases> text7_{};
    std::array<QLineEdit*, kMaxCases> text5_{};
    QComboBox* cmbBeton_ = nullptr;
    QComboBox* cmbStal_ = nullptr;
    QComboBox* cmbFi_ = nullptr;
    QLabel* picture1_ = nullptr;
    std::array<QLabel*, 2> image1_{};
    QPointer<ResultsWindow> results_;
    std::vector<RowLoads> tableLoads_;  // every row of the last table longer than six
    QStringList tableTexts_;            // the load fields as that table left them
    QComboBox* cmbNorma_ = nullptr;
    EurocodeTab* eurokod_ = nullptr;
};

}  // namespace vardel

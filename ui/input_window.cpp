#include "ui/input_window.h"

#include "calc/design_search.h"
#include "calc/stiffness_ratio.h"
#include "materials/tables.h"
#include "sketches/bitmap_file.h"
#include "sketches/input_sketch.h"
#include "state/numbers.h"
#include "state/prompter.h"
#include "texts/language.h"
#include "texts/load_table.h"
#include "texts/settings_file.h"
#include "texts/settings_start.h"
#include "ui/eurocode_tab.h"
#include "ui/input_helpers.h"
#include "ui/installed_picture.h"
#include "ui/results_window.h"
#include "ui/sizing_dialog.h"
#include "ui/stiffness_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vardel {
namespace {

constexpr int kSketchSide = 260;  // Picture1, logical pixels: as tall as the pictures beside it

// Answers the settings writer's questions with the program's dialogs.
class DialogPrompter : public Prompter {
  public:
    explicit DialogPrompter(QWidget* parent) : parent_(parent) {}
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override {
        bool ok = false;
        QString text = QInputDialog::getText(parent_, title.isEmpty() ? ProgramTitle() : title,
                                             prompt, QLineEdit::Normal, defaultText, &ok);
        return ok ? std::optional<QString>(text) : std::nullopt;
    }
    void Tell(const QString& title, const QString& message) override {
        input_ui::ShowStop(parent_, Stop{title, message, StopIcon::None});
    }

  private:
    QWidget* parent_;
};

// The entry of a combo box the user has chosen: -1 when the text shown was typed instead.
int ChosenEntry(const QComboBox* box) {
    const int i = box->currentIndex();
    return i >= 0 && box->currentText() == box->itemText(i) ? i : -1;
}

QLabel* NewLabel(const char* name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QLineEdit* NewField(const QString& name, int chars, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (chars > 0) {
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 12);
    }
    return e;
}

template <std::size_t N>
QGroupBox* NewOptions(const char* frame, const QString& caption, const char* name,
                      const QStringList& captions, std::array<QRadioButton*, N>& buttons,
                      QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(frame));
    auto* layout = new QVBoxLayout(box);
    for (std::size_t k = 0; k < N; ++k) {
        buttons[k] = new QRadioButton(captions[static_cast<int>(k)], box);
        buttons[k]->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(k));
        layout->addWidget(buttons[k]);
    }
    return box;
}

QLabel* NewPicture(const char* name, const QString& path, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFixedSize(203, 260);
    l->setPixmap(InstalledPicture(path, qApp->devicePixelRatio()));  // missing: left empty
    return l;
}

}  // namespace

InputWindow::InputWindow(DesignCase& s, QString programDir, QWidget* parent)
    : QWidget(parent), s_(s), programDir_(std::move(programDir)) {
    setObjectName(QStringLiteral("Vardel3OK"));
    setWindowTitle(QStringLiteral("Vardel"));
    BuildTabs();

    auto* cmdOblicz = new QPushButton(QStringLiteral("&Oblicz"), this);
    cmdOblicz->setObjectName(QStringLiteral("cmdOblicz"));
    cmdOblicz->setToolTip(QStringLiteral("Obliczenie sił i naprężeń"));
    auto* cmdKoniec = new QPushButton(QStringLiteral("&Koniec"), this);
    cmdKoniec->setObjectName(QStringLiteral("cmdKoniec"));
    cmdKoniec->setToolTip(QStringLiteral("Koniec pracy z programem"));
    connect(cmdOblicz, &QPushButton::clicked, this, &InputWindow::Calculate);
    connect(cmdKoniec, &QPushButton::clicked, this, &InputWindow::EndProgram);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOblicz);
    buttons->addWidget(cmdKoniec);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed-size form
}

InputWindow::~InputWindow() {
    delete results_;
}

void InputWindow::BuildTabs() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));

    // Tab 0: the project and the choices that shape the report.
    auto* tab0 = new QWidget;
    txtNaz_proj_ = NewField(QStringLiteral("txtNaz_proj"), 0, tab0);
    txtNr_strony_ = NewField(QStringLiteral("txtNr_strony"), 6, tab0);
    auto* g0 = new QGridLayout(tab0);
    g0->addWidget(NewLabel("Label11", QStringLiteral("Nazwa projektu"), tab0), 0, 0);
    g0->addWidget(txtNaz_proj_, 0, 1, 1, 2);
    g0->addWidget(NewLabel("Label12", QStringLiteral("Numer pierwszej strony obliczeń"), tab0), 1,
                  0);
    g0->addWidget(txtNr_strony_, 1, 1, Qt::AlignLeft);
    g0->addWidget(NewOptions("Frame2", QStringLiteral("Język wyników"), "Jezyk",
                             {QStringLiteral("Polski"), QStringLiteral("Polski bez ogonków"),
                              QStringLiteral("Angielski"), QStringLiteral("Francuski"),
                              QStringLiteral("Niemiecki")},
                             jezyk_, tab0),
                  2, 0, 2, 1);
    g0->addWidget(NewOptions("Frame4", QStringLiteral("Współczynnik n=Es/Ebet"), "Wsp_n",
                             {QStringLiteral("Obliczony przez program"),
                              QStringLiteral("Podany przez użytkownika")},
                             wspN_, tab0),
                  2, 1, 1, 2);
    g0->addWidget(NewOptions("Frame5", QStringLiteral("Przenoszenie sił poziomych"), "optHsruby",
                             {QStringLiteral("Przez wszystkie kotwy"),
                              QStringLiteral("Przez kotwy strefy ściskanej")},
                             optHsruby_, tab0),
                  3, 1, 1, 2);
    g0->addWidget(NewOptions("Frame6", QStringLiteral("Opcja wyników w formacie RTF"), "optRTF",
                             {QStringLiteral("Nie potrzebuję wyników w formacie *.RTF"),
                              QStringLiteral("Generacja wyników typu A (np. dla MS Word)"),
                              QStringLiteral("Generacja wyników typu B (np. dla Star Office)")},
                             optRTF_, tab0),
                  4, 0, 1, 3);
    BuildEurocode(tab0, g0, 5);
    g0->setRowStretch(6, 1);
    tabs_->addTab(tab0, QStringLiteral("Konfiguracja"));

    // Tab 1: the number of load cases, the ring and the materials.
    auto* tab1 = new QWidget;
    for (int i : {1, 2, 3, 4}) {
        text_[i] = NewField(QStringLiteral("Text%1").arg(i), 8, tab1);
    }
    text_[1]->setText(QStringLiteral("1"));
    text_[1]->setToolTip(QStringLiteral("max. 6 przypadków (schematów) obciążenia"));
    // n is shown here; it is set through the option of the first tab and its dialog.
    text_[2]->setReadOnly(true);
    cmbBeton_ = new QComboBox(tab1);
    cmbBeton_->setObjectName(QStringLiteral("cmbBeton"));
    cmbBeton_->setToolTip(QStringLiteral("Wybierz z list klasę betonu"));
    cmbStal_ = new QComboBox(tab1);
    cmbStal_->setObjectName(QStringLiteral("cmbStal"));
    cmbStal_->setEditable(true);
    cmbStal_->setInsertPolicy(QComboBox::NoInsert);
    cmbStal_->setEditText(QStringLiteral("Wybierz stal śrub"));
    cmbStal_->setToolTip(QStringLiteral("Wybierz z listy stal dla śrub"));
    auto* frmTyp_stopy =
        NewOptions("frmTyp_stopy", QStringLiteral("Typ stopy"), "Option1",
                   {QStringLiteral("Betonowa"), QStringLiteral("Żelbetowa")}, option1_, tab1);
    frmTyp_stopy->setToolTip(QStringLiteral("Decyduje o noności betonu"));
    auto* form1 = new QGridLayout;
    const std::pair<const char*, QString> labels1[] = {
        {"Label2", QStringLiteral("Liczba przypadków obciążenia")},
        {"Label3", QStringLiteral("Es/Eb:")},
        {"Label4", QStringLiteral("Promień zewnętrzny pierścienia  (Rz) mm")},
        {"Label5", QStringLiteral("Promień wewnętrzny pierścienia  (Rw) mm")},
        {"Label8", QStringLiteral("Beton:")},
        {"Label9", QStringLiteral("Stal śrub:")}};
    QWidget* fields1[] = {text_[1], text_[2], text_[3], text_[4], cmbBeton_, cmbStal_};
    for (int r = 0; r < 6; ++r) {
        form1->addWidget(NewLabel(labels1[r].first, labels1[r].second, tab1), r, 0);
        form1->addWidget(fields1[r], r, 1, r < 4 ? Qt::AlignLeft : Qt::Alignment());
    }
    form1->addWidget(frmTyp_stopy, 6, 0, 1, 2);
    form1->setRowStretch(7, 1);
    auto* h1 = new QHBoxLayout(tab1);
    h1->addLayout(form1);
    h1->addWidget(image1_[0] = NewPicture(
                      "Image1(0)", JoinPath(programDir_, QStringLiteral("Pierscien.bmp")), tab1),
                  0, Qt::AlignTop);
    tabs_->addTab(tab1, QStringLiteral("Dane ogólne"));

    // Tab 2: the six load cases, of which the first Liczba_przyp rows are shown.
    auto* tab2 = new QWidget;
    auto* g2 = new QGridLayout;
    g2->addWidget(NewLabel("Label1", QStringLiteral("N [kN]"), tab2), 0, 1, Qt::AlignHCenter);
    g2->addWidget(NewLabel("Label6", QStringLiteral("M [kNm]"), tab2), 0, 2, Qt::AlignHCenter);
    g2->addWidget(NewLabel("Label13", QStringLiteral("V [kN]"), tab2), 0, 3, Qt::AlignHCenter);
    for (int i = 0; i < kMaxCases; ++i) {
        auto* rowLabel = new QLabel(QStringLiteral("%1.").arg(i + 1), tab2);
        rowLabel->setObjectName(QStringLiteral("Label7(%1)").arg(i));
        g2->addWidget(rowLabel, i + 1, 0);
        text6_[i] = NewField(QStringLiteral("Text6(%1)").arg(i), 9, tab2);
        text7_[i] = NewField(QStringLiteral("Text7(%1)").arg(i), 9, tab2);
        text5_[i] = NewField(QStringLiteral("Text5(%1)").arg(i), 9, tab2);
        g2->addWidget(text6_[i], i + 1, 1);
        g2->addWidget(text7_[i], i + 1, 2);
        g2->addWidget(text5_[i], i + 1, 3);
        // A hidden row keeps its height, so the rows shown never move.
        for (QLineEdit* e : {text6_[i], text7_[i], text5_[i]}) {
            QSizePolicy p = e->sizePolicy();
            p.setRetainSizeWhenHidden(true);
            e->setSizePolicy(p);
        }
    }
    auto* cmdWczytaj = new QPushButton(QStringLiteral("Wczytaj z pliku…"), tab2);
    cmdWczytaj->setObjectName(QStringLiteral("cmdWczytaj"));
    cmdWczytaj->setToolTip(
        QStringLiteral("Przypadki obciążenia z tabeli kombinacji: N [kN], M [kNm], V [kN]"));
    connect(cmdWczytaj, &QPushButton::clicked, this, &InputWindow::ChooseTableFile);
    g2->addWidget(cmdWczytaj, kMaxCases + 1, 1, 1, 3, Qt::AlignLeft);
    g2->setRowStretch(kMaxCases + 2, 1);
    auto* h2 = new QHBoxLayout(tab2);
    h2->addLayout(g2);
    h2->addStretch();
    h2->addWidget(image1_[1] = NewPicture(
                      "Image1(1)", JoinPath(programDir_, QStringLiteral("Obciazenia.bmp")), tab2),
                  0, Qt::AlignTop);
    tabs_->addTab(tab2, QStringLiteral("Obciążenia"));

    // Tab 3: the bolts and the sketch of the plan.
    auto* tab3 = new QWidget;
    text_[11] = NewField(QStringLiteral("Text11"), 8, tab3);
    text_[12] = NewField(QStringLiteral("Text12"), 8, tab3);
    cmbFi_ = new QComboBox(tab3);
    cmbFi_->setObjectName(QStringLiteral("cmbFi"));
    cmbFi_->setEditable(true);
    cmbFi_->setInsertPolicy(QComboBox::NoInsert);
    picture1_ = new QLabel(tab3);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setFixedSize(kSketchSide, kSketchSide);
    picture1_->setFrameShape(QFrame::Box);
    picture1_->setFrameShadow(QFrame::Plain);
    auto* form3 = new QGridLayout;
    form3->addWidget(NewLabel("Label15", QStringLiteral("Promień rozmieszczenia śrub [mm]"), tab3),
                     0, 0);
    form3->addWidget(text_[11], 0, 1, Qt::AlignLeft);
    form3->addWidget(NewLabel("Label10", QStringLiteral("Średnice śrub"), tab3), 1, 0);
    form3->addWidget(cmbFi_, 1, 1, Qt::AlignLeft);
    form3->addWidget(NewLabel("Label16", QStringLiteral("Liczba śrub na obwodzie"), tab3), 2, 0);
    form3->addWidget(text_[12], 2, 1, Qt::AlignLeft);
    auto* cmdDobierz = new QPushButton(QStringLiteral("Dobierz śruby"), tab3);
    cmdDobierz->setObjectName(QStringLiteral("cmdDobierz"));
    cmdDobierz->setToolTip(
        QStringLiteral("Najlżejszy układ śrub, który przenosi wszystkie przypadki obciążenia"));
    connect(cmdDobierz, &QPushButton::clicked, this, &InputWindow::SizeBolts);
    form3->addWidget(cmdDobierz, 3, 0, 1, 2, Qt::AlignLeft);
    form3->setRowStretch(4, 1);
    auto* h3 = new QHBoxLayout(tab3);
    h3->addLayout(form3);
    h3->addWidget(picture1_, 0, Qt::AlignTop);
    tabs_->addTab(tab3, QStringLiteral("Śruby (kotwy)"));
    tabs_->addTab(eurokod_, QStringLiteral("Eurocode"));

    connect(tabs_, &QTabWidget::currentChanged, this, &InputWindow::OnTabChanged);
    text_[1]->installEventFilter(this);
    for (int i : {11, 12}) {
        connect(text_[i], &QLineEdit::textChanged, this, &InputWindow::RedrawSketch);
    }
    connect(cmbStal_, &QComboBox::activated, this,
            [this](int i) { s_.Nrstali = static_cast<Int16>(i + 1); });
    connect(cmbBeton_, &QComboBox::activated, this, &InputWindow::OnConcreteChosen);
    for (int k = 0; k < 2; ++k) {
        connect(wspN_[k], &QRadioButton::clicked, this, [this, k] { OnStiffnessModeClicked(k); });
    }
    for (int k = 0; k < 5; ++k) {
        connect(jezyk_[k], &QRadioButton::clicked, this, [this, k] { OnLanguageClicked(k); });
    }
    for (int k = 0; k < 3; ++k) {
        connect(optRTF_[k], &QRadioButton::clicked, this,
                [this, k] { s_.Tryb_RTF = static_cast<Int16>(k); });
    }
}

FileResult InputWindow::Load() {
    input_ui::CentreOnScreen(*this);
    cmbStal_->addItems(SteelGradeNames());
    cmbStal_->setCurrentIndex(-1);
    cmbStal_->setEditText(QStringLiteral("Wybierz stal śrub"));
    input_ui::CentreOnScreen(*this);
    cmbFi_->clear();
    cmbFi_->addItems(BoltDiameterNames());
    const SettingsAtStart settings =
        ReadSettingsAtStart(s_, programDir_, QDateTime::currentDateTime());
    if (settings.fatal) {
        return settings.fatal;
    }
    if (!settings.told.isEmpty()) {
        input_ui::ShowStop(this, Stop{ProgramTitle(), settings.told, StopIcon::Exclamation});
    }
    jezyk_[EffectiveLanguage(s_.Jezyk)]->setChecked(true);
    if (s_.Tryb_RTF >= 0 && s_.Tryb_RTF < 3) {
        optRTF_[s_.Tryb_RTF]->setChecked(true);
    }
    if (FileResult r = LoadLanguageTexts(s_, programDir_)) {
        return r;
    }
    loadedLanguage_ = EffectiveLanguage(s_.Jezyk);

    CompleteLoadedCase(s_);
    const InputFields f = FieldsFromState(s_, locale_);
    cmbFi_->setCurrentIndex(f.cmbFi);
    cmbFi_->setEditText(f.cmbFiText);
    if (f.cmbStal >= 0) {
        cmbStal_->setCurrentIndex(f.cmbStal);
    }
    cmbBeton_->addItems(ConcreteClassNames());
    optHsruby_[f.optHsruby]->setChecked(true);
    cmbBeton_->setCurrentIndex(s_.Nrbetonu - 1);  // none for a class outside the list
    txtNaz_proj_->setText(f.txtNaz_proj);
    txtNr_strony_->setText(f.txtNr_strony);
    text_[1]->setText(QString::number(s_.Liczba_przyp));
    wspN_[s_.Tryb_n == 1 ? 1 : 0]->setChecked(true);
    ShowRatio();
    for (int i = 0; i < kMaxCases; ++i) {
        text6_[i]->setText(f.Text6[i]);
        text7_[i]->setText(f.Text7[i]);
        text5_[i]->setText(f.Text5[i]);
    }
    text_[3]->setText(f.Text3);
    text_[4]->setText(f.Text4);
    text_[11]->setText(f.Text11);
    text_[12]->setText(f.Text12);
    option1_[f.Option1]->setChecked(true);
    loaded_ = true;
    ShowCode();
    return std::nullopt;
}

InputFields InputWindow::Fields() const {
    InputFields f;
    f.txtNaz_proj = txtNaz_proj_->text();
    f.txtNr_strony = txtNr_strony_->text();
    f.Text3 = text_[3]->text();
    f.Text4 = text_[4]->text();
    f.Text11 = text_[11]->text();
    f.Text12 = text_[12]->text();
    f.cmbFi = ChosenEntry(cmbFi_);
    f.cmbFiText = cmbFi_->currentText();
    f.cmbStal = ChosenEntry(cmbStal_);
    f.Option1 = option1_[0]->isChecked() ? 0 : 1;
    f.optHsruby = optHsruby_[0]->isChecked() ? 0 : 1;
    for (int i = 0; i < kMaxCases; ++i) {
        f.Text6[i] = text6_[i]->text();
        f.Text7[i] = text7_[i]->text();
        f.Text5[i] = text5_[i]->text();
    }
    return f;
}

void InputWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || !loaded_) {
        return;
    }
    // Back from the results window: an anchor confirmed there brought its embedment and head.
    eurokod_->Show(s_.Eurokod, locale_);
    // Activation: the general tab, whose change handler sets the visible rows and the focus.
    if (tabs_->currentIndex() == 1) {
        OnTabChanged(1);
    } else {
        tabs_->setCurrentIndex(1);
    }
}

bool InputWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_[1] && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        // Another window coming up (a message box) is not the user leaving the field.
        if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason) {
            ApplyCaseCount();
            ShowCaseRows();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void InputWindow::ApplyCaseCount() {
    // A text that is not a whole number keeps the previous count; a count outside 1..6 is
    // brought to the nearer end. The field always shows the count in force.
    const QString text = text_[1]->text();
    const Int16Result r = ToInt16(text, locale_);
    const int typed = r.status == Convert::Ok ? r.value : s_.Liczba_przyp;
    const int count = std::clamp(typed, 1, kMaxCases);
    s_.Liczba_przyp = static_cast<Int16>(count);
    // What was typed and is not what is taken (7, 0, 2.5, "dwa") is told, not changed silently.
    const std::optional<double> number = ParseNumber(text, locale_);
    if (!number || *number != count) {
        text_[1]->setText(QString::number(count));
        input_ui::ShowStop(this, Stop{ProgramTitle(),
                                      QStringLiteral("Liczba przypadków obciążenia to liczba "
                                                     "całkowita od 1 do %1: zamiast „%2” "
                                                     "przyjęto %3.")
                                          .arg(kMaxCases)
                                          .arg(text.trimmed().left(40))
                                          .arg(count),
                                      StopIcon::Information});
    }
}

void InputWindow::ShowCaseRows() {
    for (int i = 0; i < kMaxCases; ++i) {
        const bool shown = i < s_.Liczba_przyp;
        text6_[i]->setVisible(shown);
        text7_[i]->setVisible(shown);
        text5_[i]->setVisible(shown);
    }
}

void InputWindow::OnTabChanged(int index) {
    ApplyCaseCount();
    ShowCaseRows();
    if (index == 3) {
        RedrawSketch();
    }
    FocusFirstField(index);
}

void InputWindow::FocusFirstField(int tab) {
    QWidget* first[] = {txtNaz_proj_, text_[1], text6_[0], text_[11]};
    if (tab >= 0 && tab < 4) {
        first[tab]->setFocus(Qt::TabFocusReason);
    }
}

void InputWindow::ShowStopAtField(const Stop& stop) {
    input_ui::ShowStop(this, stop);
    auto* field = stop.field.isEmpty() ? nullptr : findChild<QWidget*>(stop.field);
    if (field == nullptr) {
        return;
    }
    // The field's tab to the front (its change handler focuses the tab's first field), then the
    // field itself with its text selected, ready to be typed over.
    for (int i = 0; i < tabs_->count(); ++i) {
        if (tabs_->widget(i)->isAncestorOf(field)) {
            tabs_->setCurrentIndex(i);
        }
    }
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->selectAll();
    } else if (auto* box = qobject_cast<QComboBox*>(field); box && box->lineEdit()) {
        box->lineEdit()->selectAll();
    }
}

void InputWindow::RedrawSketch() {
    if (!loaded_) {
        return;
    }
    const qreal dpr = picture1_->devicePixelRatioF();
    const QSize logical = picture1_->contentsRect().size();
    QImage picture(logical * dpr, QImage::Format_RGB32);
    picture.setDevicePixelRatio(dpr);
    Rysuj_P1(s_, {text_[3]->text(), text_[4]->text(), text_[11]->text(), text_[12]->text()},
             picture, locale_);
    picture1_->setPixmap(QPixmap::fromImage(picture));
}

void InputWindow::ShowRatio() {
    text_[2]->setText(Format(s_.Es_Eb, u"###.##", locale_));
}

void InputWindow::OpenStiffnessDialog() {
    StiffnessDialog dialog(s_, locale_, this);
    dialog.exec();
    ShowRatio();
}

void InputWindow::OnConcreteChosen(int index) {
    if (index < 0 || index + 1 == s_.Nrbetonu) {
        return;  // the class in force: n stays as it is
    }
    s_.Nrbetonu = static_cast<Int16>(index + 1);
    LookUpModulus(s_);
    if (wspN_[0]->isChecked()) {
        s_.Es_Eb = ComputedRatio(s_.Eb).value_or(s_.Es_Eb);
        ShowRatio();
    } else {
        OpenStiffnessDialog();
    }
}

void InputWindow::OnStiffnessModeClicked(int k) {
    if (k == s_.Tryb_n) {
        return;
    }
    if (k == 0) {
        s_.Es_Eb = ComputedRatio(s_.Eb).value_or(s_.Es_Eb);
        ShowRatio();
    } else {
        OpenStiffnessDialog();
    }
    s_.Tryb_n = static_cast<Int16>(k);
}

void InputWindow::OnLanguageClicked(int k) {
    s_.Jezyk = static_cast<Int16>(k);
    if (k == loadedLanguage_) {
        return;
    }
    if (FileResult r = LoadLanguageTexts(s_, programDir_)) {
        // The texts of the language in force stay, and so does its choice.
        input_ui::ShowStop(this, Stop{ProgramTitle(), r->message, StopIcon::Critical});
        s_.Jezyk = static_cast<Int16>(loadedLanguage_);
        jezyk_[loadedLanguage_]->setChecked(true);
        return;
    }
    loadedLanguage_ = k;
}

void InputWindow::Calculate() {
    if (!TakeEurocodeInputs()) {
        return;
    }
    if (const std::optional<Stop> stop = vardel::Calculate(Fields(), s_, locale_)) {
        ShowStopAtField(*stop);
        return;
    }
    if (results_ && results_->isVisible()) {
        results_->raise();
        results_->activateWindow();
        return;
    }
    delete results_;  // one left hidden by its return command
    results_ = new ResultsWindow(s_, programDir_, this, [this] { EndProgram(); });
    results_->Start();
}

QStringList InputWindow::LoadTexts() const {
    QStringList texts{text_[1]->text()};
    for (int i = 0; i < s_.Liczba_przyp; ++i) {
        texts << text6_[i]->text() << text7_[i]->text() << text5_[i]->text();
    }
    return texts;
}

void InputWindow::ChooseTableFile() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Wczytaj przypadki obciążenia"), programDir_,
        QStringLiteral("Tabele obciążeń (*.csv *.txt *.tsv);;Wszystkie pliki (*)"));
    if (!path.isEmpty()) {
        LoadTableFile(path);
    }
}

bool InputWindow::LoadTableFile(const QString& path) {
    auto read = ReadLoadTable(path);
    if (const FileError* e = std::get_if<FileError>(&read)) {
        input_ui::ShowStop(this, Stop{ProgramTitle(), e->message, StopIcon::Critical});
        return false;
    }
    const LoadTable& table = std::get<LoadTable>(read);
    std::vector<RowLoads> loads;
    for (const LoadRow& r : table.rows) {
        loads.push_back({r.N_kN, r.M_kNm, r.V_kN});
    }
    std::vector<int> taken;
    if (loads.size() <= static_cast<std::size_t>(kMaxCases)) {
        for (std::size_t k = 1; k <= loads.size(); ++k) {
            taken.push_back(static_cast<int>(k));
        }
    } else {
        // Which rows govern depends on the ring, the bolts and the materials entered, and on the
        // checks of the chosen code.
        if (!TakeEurocodeInputs()) {
            return false;
        }
        ApplyCaseCount();
        auto calculated = CalculateTable(Fields(), s_, loads, locale_);
        if (const Stop* stop = std::get_if<Stop>(&calculated)) {
            input_ui::ShowStop(this, *stop);
            return false;
        }
        taken = std::get<TableResults>(calculated).stateRows;
    }

    // The file's numbers with the decimal separator the user types.
    const auto local = [this](QString text) {
        return text.replace(QLatin1Char('.'), locale_.decimalPoint());
    };
    for (std::size_t k = 0; k < taken.size(); ++k) {
        const LoadRow& r = table.rows[taken[k] - 1];
        text6_[k]->setText(local(r.N_text));
        text7_[k]->setText(local(r.M_text));
        text5_[k]->setText(local(r.V_text));
    }
    text_[1]->setText(QString::number(taken.size()));
    ApplyCaseCount();
    ShowCaseRows();
    tableLoads_.clear();
    tableTexts_.clear();
    if (taken.size() == loads.size()) {
        return true;
    }
    tableLoads_ = std::move(loads);
    tableTexts_ = LoadTexts();
    QStringList named;
    for (const int row : taken) {
        const QString& name = table.rows[row - 1].name;
        named << (name.isEmpty() ? QString::number(row)
                                 : QStringLiteral("%1 (%2)").arg(row).arg(name));
    }
    QMessageBox box(QMessageBox::Information, ProgramTitle(),
                    QStringLiteral("Wierszy w tabeli: %1. Przypadkami obciążenia są wiersze "
                                   "decydujące: %2. „Dobierz śruby” sprawdza wszystkie wiersze "
                                   "tabeli.")
                        .arg(tableLoads_.size())
                        .arg(named.join(QStringLiteral(", "))),
                    QMessageBox::Ok, this);
    box.exec();
    return true;
}

void InputWindow::SizeBolts() {
    if (!TakeEurocodeInputs()) {
        return;
    }
    ApplyCaseCount();
    ShowCaseRows();
    // A table longer than six is sized whole while the fields still hold the rows it gave.
    const bool wholeTable = !tableLoads_.empty() && LoadTexts() == tableTexts_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto found = SearchBoltLayouts(Fields(), s_, locale_,
                                   wholeTable ? tableLoads_ : std::vector<RowLoads>{});
    QApplication::restoreOverrideCursor();
    if (const Stop* stop = std::get_if<Stop>(&found)) {
        input_ui::ShowStop(this, *stop);
        return;
    }
    DesignSearch& search = std::get<DesignSearch>(found);
    if (search.best.empty()) {
        input_ui::ShowStop(this, Stop{ProgramTitle(),
                                      QStringLiteral("Żaden układ od %1 do %2 śrub na obwodzie nie "
                                                     "przenosi wszystkich przypadków obciążenia.")
                                          .arg(kFewestSearchedBolts)
                                          .arg(kMaxBolts),
                                      StopIcon::Exclamation});
        return;
    }
    BoltSizingDialog dialog(std::move(search), wholeTable, locale_, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const BoltLayout& chosen = dialog.Chosen();
    cmbFi_->setCurrentIndex(chosen.diameterIndex);
    text_[12]->setText(QString::number(chosen.Liczba_srub));
    RedrawSketch();
}

void InputWindow::EndProgram() {
    // What the fields hold now is saved, calculated or not; a field that cannot be read keeps the
    // window open at it.
    ApplyCaseCount();
    DesignCase next = s_;
    if (const std::optional<Stop> stop = TakeFields(Fields(), next, locale_)) {
        if (!isVisible()) {
            show();  // left from the results window
        }
        ShowStopAtField(*stop);
        return;
    }
    // A PN-EN field that holds no number keeps its stored value.
    if (eurokod_) {
        eurokod_->Read(next.Eurokod, locale_);
    }
    DialogPrompter prompter(this);
    if (FileResult r = WriteSettings(next, programDir_, SettingsWindowValues::FromState(next),
                                     QLocale::c(), prompter)) {
        input_ui::ShowStop(this, Stop{ProgramTitle(), r->message, StopIcon::Critical});
    }
    s_ = std::move(next);
    hide();
    emit programEnded();
}

}  // namespace vardel

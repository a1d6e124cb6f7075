#include "ui/anchor_window.h"

#include "anchors/confirm.h"
#include "sketches/bitmap_file.h"
#include "ui/installed_picture.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vardel {
namespace {

const char kIndex[] =
    "Index";  // the index of a control array, 0 on the hook tab, 1 on the plate tab

// The input box and the message box of the program, for the core's questions.
class DialogPrompter : public Prompter {
  public:
    explicit DialogPrompter(QWidget* parent) : parent_(parent) {}
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override {
        QInputDialog box(parent_);
        box.setWindowTitle(title);
        box.setLabelText(prompt);
        box.setTextValue(defaultText);
        if (box.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return box.textValue();
    }
    void Tell(const QString& title, const QString& message) override {
        QMessageBox box(QMessageBox::NoIcon, title, message, QMessageBox::Ok, parent_);
        box.exec();
    }

  private:
    QWidget* parent_;
};

QLabel* MakeLabel(QWidget* page, const char* name, int index, const QString& designed,
                  const QString& tooltip) {
    auto* label = new QLabel(designed, page);
    label->setObjectName(QLatin1String(name));
    label->setProperty(kIndex, index);
    label->setToolTip(tooltip);
    return label;
}

QLabel* Find(const QWidget* dialog, const char* name, int index) {
    for (QLabel* label : dialog->findChildren<QLabel*>(QLatin1String(name))) {
        if (label->property(kIndex).toInt() == index) {
            return label;
        }
    }
    return nullptr;
}

QLabel* MakePicture(QWidget* page, const char* name, const QString& path) {
    auto* picture = new QLabel(page);
    picture->setObjectName(QLatin1String(name));
    picture->setPixmap(InstalledPicture(path, qApp->devicePixelRatio()));
    picture->setAlignment(Qt::AlignCenter);
    return picture;
}

// One tab: the designation above, the dimensions in two columns, the sketch below.
QWidget* MakeTab(int index, const QList<std::pair<QLabel*, QLabel*>>& rows, QLabel* name,
                 QLabel* picture) {
    auto* page = qobject_cast<QWidget*>(name->parent());
    auto* layout = new QVBoxLayout(page);
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.25);
    name->setFont(bold);
    name->setMinimumHeight(name->fontMetrics().height());
    layout->addWidget(name);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    for (int r = 0; r < rows.size(); ++r) {
        grid->addWidget(rows[r].first, r, 0);
        if (rows[r].second != nullptr) {
            grid->addWidget(rows[r].second, r, 1);
        }
    }
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(picture);
    page->setProperty(kIndex, index);
    return page;
}

}  // namespace

DoborVdlOK::DoborVdlOK(DesignCase& s, const QString& programDir, QWidget* parent,
                       const QString& runDir)
    : QDialog(parent), s_(s), programDir_(programDir), runDir_(runDir) {
    setObjectName(QStringLiteral("DoborVdlOK"));
    setWindowTitle(QStringLiteral("Dobór kotwy"));
    setModal(true);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    auto* hook = new QWidget(SSTab1);
    auto* plate = new QWidget(SSTab1);
    for (int k = 0; k < 2; ++k) {
        QWidget* page = k == 0 ? hook : plate;
        MakeLabel(page, "lblNazwa", k, QString(), QStringLiteral("Oznaczenie kotwy"));
        MakeLabel(page, "lbldia", k, caption::dia,
                  k == 0 ? QStringLiteral("Średnica nominalna") : QStringLiteral("Średnica kotwy"));
        MakeLabel(page, "lblNosnosc", k, caption::Nosnosc,
                  QStringLiteral("Nośność kotwy dla danej stali i średnicy"));
        MakeLabel(page, "lblLo", k, caption::Lo,
                  k == 0 ? QStringLiteral("Długość odcinka prostego")
                         : QStringLiteral("Długość odcinka Lo (wg rysunku)"));
        MakeLabel(page, "lblLd", k, caption::Ld, QStringLiteral("Długość części gwintowanej"));
        MakeLabel(page, "lblLcalk", k, caption::Lcalk,
                  QStringLiteral("Długość całkowita kotwy (wg rysunku)"));
    }
    QLabel* lblLh = MakeLabel(hook, "lblLh", 0, caption::Lh, QStringLiteral("Długość haka"));
    QLabel* lblD = MakeLabel(hook, "lblD", 0, caption::D, QStringLiteral("Średnica odgięcia haka"));
    QLabel* lbla = MakeLabel(plate, "lbla", 1, caption::a,
                             QStringLiteral("Wymiar płytki (długość=szerokość)"));
    QLabel* lblt = MakeLabel(plate, "lblt", 1, caption::t, QStringLiteral("Grubość płytki"));
    QLabel* lblL1 = MakeLabel(plate, "lblL1", 1, caption::L1, QStringLiteral("Długośc żeberka"));
    Picture2 = MakePicture(hook, "Picture2", JoinPath(programDir, SketchFileName(1)));
    Picture1 = MakePicture(plate, "Picture1", JoinPath(programDir, SketchFileName(2)));

    auto at = [this](const char* name, int k) { return Find(this, name, k); };
    MakeTab(0,
            {{at("lbldia", 0), at("lblNosnosc", 0)},
             {lblLh, lblD},
             {at("lblLo", 0), at("lblLd", 0)},
             {at("lblLcalk", 0), nullptr}},
            at("lblNazwa", 0), Picture2);
    MakeTab(1,
            {{at("lbldia", 1), at("lblNosnosc", 1)},
             {lbla, lblt},
             {at("lblLo", 1), at("lblLd", 1)},
             {at("lblLcalk", 1), lblL1}},
            at("lblNazwa", 1), Picture1);
    SSTab1->addTab(hook, QStringLiteral("Kotwa hakowa"));
    SSTab1->addTab(plate, QStringLiteral("Kotwa z płytką"));

    cmdOK = new QPushButton(QStringLiteral("O&K - dopisz do wyników"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Powrót do okna wyników z dopisaniem pokazanej kotwy"));
    cmdAnuluj = new QPushButton(QStringLiteral("Anuluj"), this);
    cmdAnuluj->setObjectName(QStringLiteral("cmdAnuluj"));
    cmdAnuluj->setToolTip(QStringLiteral("Powrót do poprzedniego okna"));
    connect(cmdOK, &QPushButton::clicked, this, &DoborVdlOK::cmdOK_Click);
    connect(cmdAnuluj, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdAnuluj);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);
}

void DoborVdlOK::Load(Prompter& prompter, const QLocale& locale) {
    locale_ = locale;
    // Only a new confirmation puts an anchor back into the report.
    s_.Dobor_liczba = 0;
    anchors_.reset();
    const QString title = QStringLiteral("Vardel 2005");

    const auto thickness = AskThickness(prompter, locale);
    const auto derived = std::holds_alternative<Int16>(thickness)
                             ? ComputeAnchors(s_, std::get<Int16>(thickness))
                             : std::variant<Anchors, AnchorError>(std::get<AnchorError>(thickness));
    if (const AnchorError* e = std::get_if<AnchorError>(&derived)) {
        // Without every dimension there is nothing to confirm: only "Anuluj" remains.
        prompter.Tell(title, AnchorErrorMessage(*e));
        cmdOK->setEnabled(false);
    } else {
        anchors_ = std::get<Anchors>(derived);
        const AnchorCaptions c = Captions(*anchors_, locale);
        for (int k = 0; k < 2; ++k) {
            Find(this, "lblNazwa", k)->setText(c.Nazwa[k]);
            Find(this, "lbldia", k)->setText(c.dia[k]);
            Find(this, "lblNosnosc", k)->setText(c.Nosnosc[k]);
            Find(this, "lblLo", k)->setText(c.Lo[k]);
            Find(this, "lblLd", k)->setText(c.Ld[k]);
            Find(this, "lblLcalk", k)->setText(c.Lcalk[k]);
        }
        Find(this, "lblLh", 0)->setText(c.Lh);
        Find(this, "lblD", 0)->setText(c.D);
        Find(this, "lbla", 1)->setText(c.a);
        Find(this, "lblt", 1)->setText(c.t);
        QLabel* lblL1 = Find(this, "lblL1", 1);
        lblL1->setText(c.L1);
        lblL1->setVisible(c.L1Visible);
        const int sketch = SketchNumber(AnchorKind::Plate, s_.Fi_sruby);
        if (sketch != 2) {
            Picture1->setPixmap(InstalledPicture(JoinPath(programDir_, SketchFileName(sketch)),
                                                 qApp->devicePixelRatio()));
        }
    }

    const QString notRecommended = QStringLiteral(" (nie zalecane)");
    const int marked = HookRecommended(s_.Nrstali) ? 1 : 0;
    SSTab1->setTabText(marked, SSTab1->tabText(marked) + notRecommended);
    SSTab1->setCurrentIndex(1 - marked);
    if (!anchors_ || !anchors_->plate) {
        SSTab1->setCurrentIndex(0);
        SSTab1->setTabEnabled(1, false);
    }
}

void DoborVdlOK::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    (cmdOK->isEnabled() ? cmdOK : cmdAnuluj)->setFocus();
}

void DoborVdlOK::cmdOK_Click() {
    if (!anchors_) {
        return;
    }
    const auto kind = static_cast<AnchorKind>(SSTab1->currentIndex());
    const QString failure = ConfirmAnchor(s_, *anchors_, kind, programDir_, locale_, runDir_);
    if (!failure.isEmpty()) {
        // The window stays open: the user may cancel or try again once the file can be written.
        QMessageBox::critical(this, QStringLiteral("Vardel 2005"), failure);
        return;
    }
    accept();
}

bool RunAnchorSelection(DesignCase& s, const QString& programDir, QWidget* parent,
                        const QString& runDir) {
    DoborVdlOK window(s, programDir, parent, runDir);
    DialogPrompter prompter(parent);
    window.Load(prompter);
    return window.exec() == QDialog::Accepted;
}

}  // namespace vardel

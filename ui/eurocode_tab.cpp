#include "ui/eurocode_tab.h"

#include "codes/en/checks.h"
#include "codes/en/rules.h"
#include "state/numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace vardel {
namespace {

constexpr int kSketchSide = 260;

QString Text(std::string_view v) {
    return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
}

QLineEdit* Field(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaximumWidth(90);
    return e;
}

QComboBox* Choice(const char* name, const QStringList& items, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    return c;
}

}  // namespace

EurocodeTab::EurocodeTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabEurokod"));
    t_blachy_ = Field("txtT_blachy", this);
    QStringList steels;
    for (int k = 0; k < en::kPlateSteels; ++k) {
        steels << Text(en::PlateSteelName(k));
    }
    stal_blachy_ = Choice("cmbStal_blachy", steels, this);
    d_rury_ = Field("txtD_rury", this);
    t_rury_ = Field("txtT_rury", this);
    b_bloku_ = Field("txtB_bloku", this);
    h_bloku_ = Field("txtH_bloku", this);
    QStringList classes{QStringLiteral("Wg klasy betonu PN-B")};
    for (int k = 0; k < en::kConcreteClasses; ++k) {
        classes << Text(en::ConcreteClassName(k));
    }
    klasa_c_ = Choice("cmbKlasa_C", classes, this);
    zarysowany_ = new QCheckBox(QStringLiteral("Beton zarysowany"), this);
    zarysowany_->setObjectName(QStringLiteral("chkZarysowany"));
    QStringList bolts;
    for (int k = 0; k < en::kBoltClasses; ++k) {
        bolts << Text(en::BoltClassName(k));
    }
    bolts << QStringLiteral("Stal śrub (jak PN-B)");  // kBoltClassGradeSteel
    klasa_sruby_ = Choice("cmbKlasa_sruby", bolts, this);
    h_ef_ = Field("txtH_ef", this);
    d_glowy_ = Field("txtD_glowy", this);
    d_glowy_->setToolTip(QStringLiteral("0: kotwa z hakiem"));
    zalacznik_ =
        Choice("cmbZalacznik",
               {QStringLiteral("Załącznik krajowy PL"), QStringLiteral("Zalecane CEN")}, this);
    sketch_ = new QLabel(this);
    sketch_->setObjectName(QStringLiteral("picEurokod"));
    sketch_->setFixedSize(kSketchSide, kSketchSide);
    sketch_->setFrameShape(QFrame::Box);

    auto* form = new QGridLayout;
    const std::pair<QString, QWidget*> rows[] = {
        {QStringLiteral("Grubość blachy t_p [mm]"), t_blachy_},
        {QStringLiteral("Stal blachy"), stal_blachy_},
        {QStringLiteral("Średnica rury słupa D [mm] (0: bez rury)"), d_rury_},
        {QStringLiteral("Grubość ścianki rury t_w [mm]"), t_rury_},
        {QStringLiteral("Bok bloku fundamentu B [mm] (0: jak blacha)"), b_bloku_},
        {QStringLiteral("Wysokość bloku H [mm]"), h_bloku_},
        {QStringLiteral("Klasa betonu"), klasa_c_},
        {QString(), zarysowany_},
        {QStringLiteral("Klasa śrub"), klasa_sruby_},
        {QStringLiteral("Głębokość zakotwienia h_ef [mm]"), h_ef_},
        {QStringLiteral("Średnica łba (płytki) kotwy [mm]"), d_glowy_},
        {QStringLiteral("Współczynniki częściowe"), zalacznik_},
    };
    int r = 0;
    for (const auto& [label, field] : rows) {
        if (!label.isEmpty()) {
            form->addWidget(new QLabel(label, this), r, 0);
        }
        form->addWidget(field, r, 1, Qt::AlignLeft);
        ++r;
    }
    form->setRowStretch(r, 1);
    auto* h = new QHBoxLayout(this);
    h->addLayout(form);
    h->addWidget(sketch_, 0, Qt::AlignTop);

    for (QLineEdit* e : {t_blachy_, d_rury_, t_rury_, b_bloku_, h_bloku_, h_ef_, d_glowy_}) {
        connect(e, &QLineEdit::textChanged, this, &EurocodeTab::inputsEdited);
    }
    for (QComboBox* c : {stal_blachy_, klasa_c_, klasa_sruby_, zalacznik_}) {
        connect(c, &QComboBox::currentIndexChanged, this, &EurocodeTab::inputsEdited);
    }
    connect(zarysowany_, &QCheckBox::toggled, this, &EurocodeTab::inputsEdited);
}

void EurocodeTab::Show(const EurocodeInputs& e, const QLocale& locale) {
    // As typed: no group separator, no decimals a whole number does not have.
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const auto mm = [&](float v) { return plain.toString(static_cast<double>(v), 'g', 7); };
    t_blachy_->setText(mm(e.t_blachy));
    stal_blachy_->setCurrentIndex(std::clamp<int>(e.Stal_blachy, 0, en::kPlateSteels - 1));
    d_rury_->setText(mm(e.D_rury));
    t_rury_->setText(mm(e.t_rury));
    b_bloku_->setText(mm(e.B_bloku));
    h_bloku_->setText(mm(e.H_bloku));
    klasa_c_->setCurrentIndex(std::clamp<int>(e.Klasa_C, 0, en::kConcreteClasses));
    zarysowany_->setChecked(e.Zarysowany != 0);
    klasa_sruby_->setCurrentIndex(std::clamp<int>(e.Klasa_sruby, 0, kBoltClassGradeSteel));
    h_ef_->setText(mm(e.h_ef));
    d_glowy_->setText(mm(e.d_glowy));
    zalacznik_->setCurrentIndex(e.Zalacznik == 1 ? 1 : 0);
}

std::optional<QString> EurocodeTab::Read(EurocodeInputs& out, const QLocale& locale) const {
    EurocodeInputs e = out;
    const std::pair<QLineEdit*, float*> numbers[] = {
        {t_blachy_, &e.t_blachy}, {d_rury_, &e.D_rury},   {t_rury_, &e.t_rury},
        {b_bloku_, &e.B_bloku},   {h_bloku_, &e.H_bloku}, {h_ef_, &e.h_ef},
        {d_glowy_, &e.d_glowy}};
    const QString names[] = {
        QStringLiteral("Grubość blachy t_p"),       QStringLiteral("Średnica rury D"),
        QStringLiteral("Grubość ścianki rury t_w"), QStringLiteral("Bok bloku B"),
        QStringLiteral("Wysokość bloku H"),         QStringLiteral("Głębokość zakotwienia h_ef"),
        QStringLiteral("Średnica łba kotwy")};
    for (std::size_t k = 0; k < std::size(numbers); ++k) {
        const SingleResult r = ToSingle(numbers[k].first->text(), locale);
        if (r.status != Convert::Ok) {
            return QStringLiteral("Eurokod: %1 — „%2” nie jest liczbą.")
                .arg(names[k], numbers[k].first->text());
        }
        *numbers[k].second = r.value;
    }
    e.Stal_blachy = static_cast<Int16>(stal_blachy_->currentIndex());
    e.Klasa_C = static_cast<Int16>(klasa_c_->currentIndex());
    e.Zarysowany = zarysowany_->isChecked() ? 1 : 0;
    e.Klasa_sruby = static_cast<Int16>(klasa_sruby_->currentIndex());
    e.Zalacznik = static_cast<Int16>(zalacznik_->currentIndex());
    out = e;
    return std::nullopt;
}

void EurocodeTab::Redraw(const DesignCase& s, const QLocale& locale) {
    DesignCase d = s;
    if (Read(d.Eurokod, locale) || en::InputProblem(d) || !(d.R_zewn > 0)) {
        return;
    }
    const en::Parameters p = en::ParametersOf(d);
    QPixmap pixmap(kSketchSide, kSketchSide);
    pixmap.fill(Qt::white);
    QPainter g(&pixmap);
    g.setRenderHint(QPainter::Antialiasing);
    const double extent = std::max(p.B, 2.0 * p.Rz) * 1.08;
    const double k = kSketchSide / extent;
    g.translate(kSketchSide / 2.0, kSketchSide / 2.0);
    const auto circle = [&](double r) { g.drawEllipse(QPointF(0, 0), r * k, r * k); };
    // The block, the plate, the effective ring (hatched), the tube, the anchors.
    g.setPen(QPen(Qt::darkGray, 1));
    g.setBrush(QColor(0xE0, 0xE0, 0xE0));
    g.drawRect(QRectF(-p.B / 2 * k, -p.B / 2 * k, p.B * k, p.B * k));
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(Qt::white);
    circle(p.Rz);
    g.setBrush(QBrush(Qt::red, Qt::BDiagPattern));
    g.setPen(Qt::NoPen);
    QPainterPath ring;
    ring.addEllipse(QPointF(0, 0), p.r_o * k, p.r_o * k);
    ring.addEllipse(QPointF(0, 0), p.r_i * k, p.r_i * k);
    g.drawPath(ring);
    g.setBrush(QColor(0xE0, 0xE0, 0xE0));
    g.setPen(QPen(Qt::black, 1));
    if (p.Rw > 0) {
        circle(p.Rw);
    }
    g.setBrush(Qt::NoBrush);
    if (p.D > 0) {
        g.setPen(QPen(Qt::blue, 2));
        circle(p.D / 2);
        circle(p.D / 2 - p.t_w);
    }
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(Qt::black);
    for (int j = 0; j < p.anchors && j < kMaxBolts; ++j) {
        const double t = j * p.angle;
        g.drawEllipse(QPointF(p.Rs * std::cos(t) * k, -p.Rs * std::sin(t) * k),
                      std::max(2.0, p.d / 2 * k), std::max(2.0, p.d / 2 * k));
    }
    g.end();
    sketch_->setPixmap(pixmap);
}

}  // namespace vardel
